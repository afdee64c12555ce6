#include "mail/ElencoMail.h"

#include "common/CartellaProgramma.h"
#include "common/ErroreSistema.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// On the disk before it gets its name: a crash right after never leaves an empty list.
bool suDisco(QFile& file)
{
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    return file.flush();
#endif
}

const QString separatore = QStringLiteral(" - ");
const QString nomeElenco = QStringLiteral("ElencoMail");

const QRegularExpression controllo(QStringLiteral("\\p{Cc}+"));

// A field never holds the separator or a control character (a line break
// would split the line). The path is the last field and keeps its " - ";
// a control character in it stands as '?'.
QString campo(const QString& testo)
{
    QString pulito = testo;
    pulito.replace(controllo, QStringLiteral(" "));
    return pulito.replace(separatore, QStringLiteral(" -- "));
}

QString percorso(const QString& testo)
{
    QString pulito = testo;
    for (QChar& c : pulito)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    return pulito;
}

// The sender, then the proof that the message went.
QString campoMittente(const VoceElencoMail& v)
{
    if (v.messageId.isEmpty())
        return campo(v.mittente);
    QString prova = v.mittente + QStringLiteral(" <") + v.messageId.mid(1).chopped(1) + QLatin1Char('>');
    if (!v.risposta.isEmpty())
        prova += QLatin1Char(' ') + v.risposta;
    return campo(prova);
}

} // namespace

QString RigaElencoMail(const VoceElencoMail& v)
{
    return QStringList{v.quando.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")), campoMittente(v),
                       campo(v.destinatario), campo(v.esito), percorso(v.percorso)}
        .join(separatore);
}

std::optional<CampiElencoMail> LeggiRigaElencoMail(const QString& riga)
{
    const QStringList campi = riga.split(separatore);
    if (campi.size() < 5)
        return std::nullopt;
    CampiElencoMail letti{campi[0], campi[1], campi[2], campi[3], campi.mid(4).join(separatore)};
    static const QRegularExpression prova(QStringLiteral("^([^<]*) <([^<> ]+)>(?: (.*))?$"));
    if (const QRegularExpressionMatch m = prova.match(letti.mittente); m.hasMatch()) {
        letti.mittente = m.captured(1);
        letti.messageId = QLatin1Char('<') + m.captured(2) + QLatin1Char('>');
        letti.risposta = m.captured(3);
    }
    return letti;
}

QString AvvisoElencoNonScritto(const QString& cartella, const Errore& errore)
{
    return QStringLiteral("Impossibile scrivere l'elenco degli invii nella cartella %1: %2.").arg(cartella, errore.testo());
}

Risultato<QString> ScriviElencoMail(const QString& cartella, const QStringList& righe, const QDateTime& adesso)
{
    const auto nonScritto = [](const QString& motivo) { return Errore{CodiceErrore::FileProgramma, motivo}; };
    QByteArray testo;
    for (const QString& riga : righe)
        testo += riga.toUtf8() + "\r\n";

    QTemporaryFile provvisorio(UnisciPercorso(cartella, QStringLiteral(".velmira-posta-XXXXXX")));
    provvisorio.setAutoRemove(true);
    if (!provvisorio.open() || provvisorio.write(testo) != testo.size() || !provvisorio.flush())
        return nonScritto(TestoErroreFile(provvisorio));
    if (!suDisco(provvisorio))
        return nonScritto(TestoErroreSistema(errno));
    provvisorio.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);

    // A name of its own even when two dispatches end in the same millisecond.
    const QString base = UnisciPercorso(
        cartella, nomeElenco + QLatin1Char('_') + adesso.toString(QStringLiteral("yyyyMMdd_HHmmss_zzz")));
    for (int n = 0; n < 1000; ++n) {
        const QString nome = base + (n ? QStringLiteral("_%1").arg(n) : QString()) + QStringLiteral(".txt");
        // Qt's rename never replaces an existing file: a list is never lost.
        if (provvisorio.rename(nome)) {
            provvisorio.setAutoRemove(false);
            return nome;
        }
        if (!QFile::exists(nome))
            return nonScritto(TestoErroreFile(provvisorio));
    }
    return nonScritto(QStringLiteral("nessun nome libero per l'elenco"));
}

QString TrovaElencoMail(const QString& cartella)
{
    const QFileInfoList file = QDir(cartella).entryInfoList(QDir::Files, QDir::Unsorted);
    for (const QFileInfo& info : file)
        if (info.fileName().contains(nomeElenco, Qt::CaseSensitive))
            return info.filePath();
    return {};
}

QStringList RigheElencoMail(const QByteArray& testo)
{
    QStringList righe;
    for (const QString& riga : QString::fromUtf8(testo).split(QLatin1Char('\n')))
        if (!riga.trimmed().isEmpty())
            righe.append(riga.endsWith(QLatin1Char('\r')) ? riga.chopped(1) : riga);
    return righe;
}

QString NomeAccantonato(const QString& elenco)
{
    const QFileInfo info(elenco);
    return UnisciPercorso(info.path(), info.fileName().replace(nomeElenco, QStringLiteral("ElencoInviiNonRegistrati")));
}
