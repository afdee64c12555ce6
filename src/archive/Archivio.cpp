#include "archive/Archivio.h"

#include "archive/Connessione.h"
#include "archive/MotoreSQLite.h"
#include "archive/SchemaArchivio.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {
const QString prefissoConnessione = QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=");

// SQLite's locks are POSIX record locks, which belong to the whole process:
// closing any descriptor of the file, even one opened only to read its first
// bytes, drops every lock our connections hold on it, and another program
// could then write in the middle of our transaction. So a file held open as
// an archive is never opened again to be recognised; the mutex also keeps a
// header being read from overlapping a connection being opened.
QMutex mutexInUso;
QHash<QString, int> sqliteInUso;

QString chiaveInUso(const QString& percorso)
{
    const QFileInfo info(percorso);
    const QString canonico = info.canonicalFilePath();
    return canonico.isEmpty() ? info.absoluteFilePath() : canonico;
}
} // namespace

QString SegnaSQLiteInUso(const QString& percorso)
{
    const QMutexLocker blocco(&mutexInUso);
    const QString chiave = chiaveInUso(percorso);
    ++sqliteInUso[chiave];
    return chiave;
}

void SegnaSQLiteLibero(const QString& chiave)
{
    const QMutexLocker blocco(&mutexInUso);
    if (--sqliteInUso[chiave] <= 0)
        sqliteInUso.remove(chiave);
}

QString StringaConnessione(const QString& percorsoDatabase, QStringView coda)
{
    // A value that holds the separator, or starts with a quote, is written
    // between double quotes with its own double quotes doubled, as in any
    // OLE DB connection string: the path read back is then the whole path.
    QString valore = percorsoDatabase;
    if (valore.contains(QLatin1Char(';')) || valore.startsWith(QLatin1Char('"'))
        || valore.startsWith(QLatin1Char('\'')))
        valore = QLatin1Char('"') + valore.replace(QLatin1Char('"'), QStringLiteral("\"\""))
            + QLatin1Char('"');
    return prefissoConnessione + valore + coda.toString();
}

QString PercorsoDaConnessione(const QString& stringaConnessione)
{
    static const QString chiave = QStringLiteral("Data Source=");
    const qsizetype inizio = stringaConnessione.indexOf(chiave, 0, Qt::CaseInsensitive);
    if (inizio < 0)
        return {};
    const qsizetype da = inizio + chiave.size();
    const auto carattere = [&stringaConnessione](qsizetype i) {
        return i < stringaConnessione.size() ? stringaConnessione[i] : QChar();
    };
    const QChar apice = carattere(da);
    if (apice == QLatin1Char('"') || apice == QLatin1Char('\'')) {
        QString percorso;
        for (qsizetype i = da + 1; i < stringaConnessione.size(); ++i) {
            if (stringaConnessione[i] == apice) {
                if (carattere(i + 1) != apice)
                    return percorso;
                ++i;
            }
            percorso += stringaConnessione[i];
        }
        return {}; // never closed: no path rather than a wrong one
    }
    const qsizetype fine = stringaConnessione.indexOf(QLatin1Char(';'), da);
    return stringaConnessione.mid(da, fine < 0 ? -1 : fine - da);
}

QString RaddoppiaApici(const QString& valore)
{
    QString doppio = valore;
    return doppio.replace(QLatin1Char('\''), QStringLiteral("''"));
}

QString DataPerIstruzione(const QDate& data)
{
    return data.toString(QStringLiteral("MM/dd/yyyy"));
}

QVariant ValorePerArchivio(const QVariant& valore)
{
    switch (valore.typeId()) {
    case QMetaType::QDate:
        return valore.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return valore.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    default:
        return valore;
    }
}

FormatoArchivio RiconosciFormato(const QString& percorso)
{
    const QFileInfo info(percorso);
    if (percorso.isEmpty() || !info.exists())
        return FormatoArchivio::Mancante;
    if (info.isDir())
        return FormatoArchivio::Cartella;
    const QMutexLocker blocco(&mutexInUso);
    if (sqliteInUso.contains(chiaveInUso(percorso)))
        return FormatoArchivio::SQLite;
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return FormatoArchivio::Illeggibile;
    const QByteArray inizio = file.read(64);
    if (inizio.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return FormatoArchivio::SQLite;
    if (inizio.startsWith(IntestazioneCollegamento))
        return FormatoArchivio::PostgreSQL;
    if (inizio.mid(4, 15) == "Standard Jet DB" || inizio.mid(4, 15) == "Standard ACE DB")
        return FormatoArchivio::Access;
    return FormatoArchivio::Sconosciuto;
}

Errore ControllaNuovoArchivio(const QString& percorso)
{
    const QFileInfo info(percorso);
    if (info.exists())
        return {CodiceErrore::FileEsistente, QStringLiteral("Il file '%1' esiste già: l'archivio non è stato creato, "
                                     "per non sovrascriverlo.").arg(percorso)};
    if (!info.absoluteDir().exists())
        return {CodiceErrore::PercorsoNonValido, QStringLiteral("'%1' non è un percorso valido.").arg(info.absolutePath())};
    return {};
}

Errore CreaArchivio(const QString& percorso)
{
    if (const Errore errore = ControllaNuovoArchivio(percorso); errore.presente())
        return errore;

    // Built under a temporary name and renamed at the end, so that nobody
    // ever opens half an archive.
    const QString provvisorio = percorso + QStringLiteral(".creazione");
    QFile::remove(provvisorio);
    const QString nome = QStringLiteral("velmira-creazione");
    Errore errore;
    {
        QSqlDatabase db;
        errore = MotoreSQLite::Istanza().Apri(db, nome, provvisorio);
        if (!errore.presente()) {
            QSqlQuery query(db);
            query.exec(QStringLiteral("BEGIN"));
            for (const QString& istruzione : SchemaIncorporato()) {
                if (!query.exec(istruzione)) {
                    errore = MotoreSQLite::Istanza().ErroreDa(query.lastError());
                    break;
                }
            }
            if (!errore.presente() && !query.exec(QStringLiteral("COMMIT")))
                errore = MotoreSQLite::Istanza().ErroreDa(query.lastError());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(nome);
    if (!errore.presente() && !QFile::rename(provvisorio, percorso))
        errore = {CodiceErrore::FileEsistente, QStringLiteral("Impossibile creare il file '%1'.").arg(percorso)};
    if (errore.presente())
        QFile::remove(provvisorio);
    return errore;
}

Errore CreaTabelleMancanti(Connessione& connessione, const QStringList& nomi)
{
    const QStringList presenti = connessione.Database().tables();
    const bool server = connessione.Database().driverName() == QLatin1String("QPSQL");
    for (const QString& nome : nomi) {
        const TabellaSchema* tabella = TabellaArchivio(nome);
        if (!tabella || presenti.contains(nome, Qt::CaseInsensitive))
            continue;
        for (const QString& istruzione : SchemaTabella(*tabella, server))
            if (const Errore errore = connessione.EseguiNativa(istruzione); errore.presente())
                return errore;
    }
    return {};
}
