#include "import/ElencoImportazione.h"

#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {
// Why the system refused a write, in the user's words where they matter most.
QString motivoScrittura(int codice)
{
    if (codice == ENOSPC || codice == EDQUOT)
        return QStringLiteral("disco pieno");
    return QString::fromLocal8Bit(std::strerror(codice));
}
} // namespace

QString ElencoImportazione::Crea(const QString& percorso)
{
    const auto errore = [&percorso](const QString& motivo) {
        return QStringLiteral("Impossibile creare l'elenco dei file elaborati %1: %2. "
                              "L'importazione non è stata eseguita.")
            .arg(percorso, motivo);
    };
    file_.setFileName(percorso);
    const QFileInfo esistente(percorso);
    if ((esistente.exists() || esistente.isSymLink()) && !QFile::remove(percorso))
        return errore(QStringLiteral("il file esistente non può essere sostituito"));
    // NewOnly refuses anything that appeared at this name in the meantime,
    // a symbolic link included.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return errore(file_.errorString());
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

QString ElencoImportazione::Salva()
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
    return QStringLiteral("Impossibile scrivere l'elenco dei file elaborati %1: %2. L'elenco è "
                          "incompleto e l'importazione è stata interrotta.")
        .arg(file_.fileName(), codice ? motivoScrittura(codice) : file_.errorString());
}

QString ElencoImportazione::Chiudi()
{
    const QString errore = Salva();
    file_.close();
    return errore;
}
