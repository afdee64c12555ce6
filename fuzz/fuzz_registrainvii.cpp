// The list of messages sent that the mail helper leaves in the program's
// folder, read into EmailInviate. Input: the list file.
//
// What must hold: every line that is not blank is stored, incomplete or
// refused, and the archive gains exactly the rows stored; a list read is gone,
// the lines not stored set aside in a file of their own that holds exactly
// them; a list kept (the archive failed as a whole) stays as it was; no stored
// document name keeps a folder.

#include "SupportoFuzz.h"

#include "archive/Archivio.h"
#include "mail/RegistraInvii.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

QSqlDatabase* archivio = nullptr;
QString fileArchivio;

int RigheNonVuote(const QByteArray& dati)
{
    int quante = 0;
    for (const QString& riga : QString::fromUtf8(dati).split(QLatin1Char('\n')))
        quante += riga.trimmed().isEmpty() ? 0 : 1;
    return quante;
}

int Conta(const QString& istruzione)
{
    QSqlQuery query(istruzione, *archivio);
    return query.next() ? query.value(0).toInt() : -1;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PreparaAmbienteFuzz();
    fileArchivio = QDir(CartellaFuzz()).filePath(QStringLiteral("dati.sqlite"));
    if (CreaArchivio(fileArchivio).presente())
        Violazione("an empty archive can be created", fileArchivio);
    static QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz"));
    db.setDatabaseName(fileArchivio);
    if (!db.open())
        Violazione("the empty archive opens", fileArchivio);
    archivio = &db;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione)
{
    const QByteArray elenco(reinterpret_cast<const char*>(dati), qsizetype(dimensione));
    const QString percorso = ScriviFileFuzz(QStringLiteral("ElencoMail_20140318.txt"), dati, dimensione);
    const int prima = Conta(QStringLiteral("select count(*) from EmailInviate"));

    const EsitoRegistrazione esito = RegistraInvii(fileArchivio);
    const int righe = RigheNonVuote(elenco);
    const int nonRegistrate = esito.incomplete + esito.rifiutate;
    const int aggiunte = Conta(QStringLiteral("select count(*) from EmailInviate")) - prima;
    const QString dettagli = QStringLiteral("righe %1, registrate %2, incomplete %3, rifiutate %4, "
                                            "aggiunte %5, errore «%6»")
                                 .arg(righe)
                                 .arg(esito.registrate)
                                 .arg(esito.incomplete)
                                 .arg(esito.rifiutate)
                                 .arg(aggiunte)
                                 .arg(esito.errore.testo());
    if (esito.file != percorso || aggiunte != esito.registrate)
        Violazione("the archive gains exactly the rows stored", dettagli);
    if (!esito.errore.presente() || nonRegistrate > 0) {
        if (esito.registrate + nonRegistrate != righe)
            Violazione("every line is stored, incomplete or refused", dettagli);
    }
    QFile rimasto(percorso);
    QFile accantonato(esito.accantonato);
    if (!esito.conservato) {
        if (rimasto.exists())
            Violazione("a list read is gone", dettagli);
        if (nonRegistrate > 0 && (!accantonato.open(QIODevice::ReadOnly) || RigheNonVuote(accantonato.readAll()) != nonRegistrate))
            Violazione("the lines not stored are set aside, exactly them", dettagli);
    } else if (!rimasto.open(QIODevice::ReadOnly) || rimasto.readAll() != elenco) {
        Violazione("a list kept stays as it was", dettagli);
    }
    if (Conta(QStringLiteral("select count(*) from EmailInviate where Stampa like '%/%' "
                             "or Stampa like '%\\%'"))
        != 0)
        Violazione("a stored document name has no folder", dettagli);
    // The archive stays small however long the session.
    QSqlQuery(QStringLiteral("delete from EmailInviate"), *archivio);
    QSqlQuery(QStringLiteral("delete from ProveInvio"), *archivio);
    QFile::remove(percorso);
    if (!esito.accantonato.isEmpty())
        QFile::remove(esito.accantonato);
    return 0;
}
