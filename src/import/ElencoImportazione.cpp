#include "import/ElencoImportazione.h"

#include "common/ErroreSistema.h"

#include <QFileInfo>

#include <cerrno>

namespace {
// Why the system refused a write: a quota used up is a full disk to the user.
QString motivoScrittura(int codice)
{
    return TestoErroreSistema(codice == EDQUOT ? ENOSPC : codice);
}
} // namespace

Errore ElencoImportazione::Crea(const QString& percorso)
{
    const auto errore = [&percorso](const QString& motivo) {
        return Errore{CodiceErrore::FileProgramma,
                      QStringLiteral("Impossibile creare l'elenco dei file elaborati %1: %2. "
                                     "L'importazione non è stata eseguita.")
                          .arg(percorso, motivo)};
    };
    file_.setFileName(percorso);
    const QFileInfo esistente(percorso);
    if ((esistente.exists() || esistente.isSymLink()) && !QFile::remove(percorso))
        return errore(QStringLiteral("il file esistente non può essere sostituito"));
    // NewOnly refuses anything that appeared at this name in the meantime,
    // a symbolic link included.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return errore(TestoErroreFile(file_));
    return {};
}

void ElencoImportazione::Riga(const QString& testo)
{
    QString riga = testo;
    for (QChar& c : riga)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    daScrivere_ += riga.toLocal8Bit();
    daScrivere_ += "\r\n";
}

Errore ElencoImportazione::Salva()
{
    if (fallito_ || !file_.isOpen())
        return {};
    const qint64 salvato = file_.size();
    errno = 0;
    const bool scritto = file_.write(daScrivere_) == daScrivere_.size() && file_.flush();
    const int codice = errno;
    daScrivere_.clear();
    if (scritto)
        return {};
    // Whatever part of the lines went in is taken back: the list stays whole
    // up to the last batch and, without its closing line, is plainly cut.
    fallito_ = true;
    file_.resize(salvato);
    return {CodiceErrore::FileProgramma,
            QStringLiteral("Impossibile scrivere l'elenco dei file elaborati %1: %2. L'elenco è "
                           "incompleto e l'importazione è stata interrotta.")
                .arg(file_.fileName(), codice ? motivoScrittura(codice) : TestoErroreFile(file_))};
}

Errore ElencoImportazione::Chiudi()
{
    const Errore errore = Salva();
    file_.close();
    return errore;
}
