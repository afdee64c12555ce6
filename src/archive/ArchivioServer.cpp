#include "archive/ArchivioServer.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/MotorePostgres.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>

namespace {

// The layout of the embedded archive, said the server's way. Text compares
// without regard to case through a collation that ignores case alone (and
// with it ORDER BY and DISTINCT); the checks carry the same names as on the
// embedded engine, so that a value too long is reported in the same words.
const char* const schema[] = {
    ("CREATE COLLATION IF NOT EXISTS velmira_ci (provider = icu, locale = 'und-u-ks-level2', "
     "deterministic = false)"),
    R"(CREATE TABLE posta (
        id bigserial PRIMARY KEY,
        stampa text COLLATE velmira_ci,
        tipo text COLLATE velmira_ci
            CONSTRAINT "il campo Tipo accetta al massimo 3 caratteri" CHECK (length(tipo) <= 3),
        numdoc text COLLATE velmira_ci
            CONSTRAINT "il campo NumDoc accetta al massimo 15 caratteri" CHECK (length(numdoc) <= 15),
        data date,
        codice text COLLATE velmira_ci
            CONSTRAINT "il campo Codice accetta al massimo 15 caratteri" CHECK (length(codice) <= 15),
        email text COLLATE velmira_ci))",
    // Empty values sort first, as the statements ask of the server (see
    // Dialetto::nulliInFondo): so an index gives the rows in the order wanted.
    "CREATE INDEX posta_data ON posta (data NULLS FIRST, tipo NULLS FIRST)",
    "CREATE INDEX posta_numdoc ON posta (numdoc NULLS FIRST)",
    "CREATE INDEX posta_chiave ON posta (codice NULLS FIRST, data NULLS FIRST, tipo NULLS FIRST, numdoc NULLS FIRST)",
    "CREATE INDEX posta_tipo ON posta (tipo NULLS FIRST)",
    "CREATE INDEX posta_stampa ON posta (stampa)",
    R"(CREATE TABLE emailinviate (
        id bigserial PRIMARY KEY,
        stampa text COLLATE velmira_ci,
        dtinvio timestamp(0),
        emaildest text COLLATE velmira_ci,
        esito text COLLATE velmira_ci))",
    "CREATE INDEX emailinviate_stampa ON emailinviate (stampa)",
    "CREATE INDEX emailinviate_dtinvio ON emailinviate (dtinvio NULLS FIRST)",
    // The lines of mail lists already stored (see RegistraInvii).
    "CREATE TABLE inviiregistrati (impronta varchar(40) PRIMARY KEY, elenco text)",
    R"(CREATE VIEW qryemail AS
        SELECT posta.data AS data, posta.tipo AS tipo, posta.numdoc AS numdoc,
               posta.codice AS codice, emailinviate.dtinvio AS dtinvio,
               emailinviate.stampa AS stampa, emailinviate.emaildest AS emaildest,
               emailinviate.esito AS esito
        FROM emailinviate INNER JOIN posta ON posta.stampa = emailinviate.stampa)",
};

// The two tables and the columns a transfer copies, key first.
struct Tabella
{
    const char* nome;
    const char* colonne;
    int numero;
};
constexpr Tabella tabelle[] = {{"Posta", "Id, Stampa, Tipo, NumDoc, Data, Codice, email", 7},
                               {"EmailInviate", "Id, Stampa, dtinvio, EmailDest, Esito", 5}};
// Rows sent to the server in one statement: one round trip for many rows.
constexpr int righePerInvio = 500;

ErroreArchivio conta(Connessione& c, const QString& istruzione, qint64& quante)
{
    ErroreArchivio errore;
    const auto comando = c.Prepara(istruzione, errore);
    if (!errore.presente())
        errore = comando->Esegui();
    if (!errore.presente() && comando->Successiva(errore))
        quante = comando->Valore(0).toLongLong();
    return errore;
}

ErroreArchivio copiaTabella(Connessione& da, Connessione& a, const Tabella& t, qint64& copiate, qint64 totale,
                            const std::function<void(qint64, qint64)>& avanzamento)
{
    ErroreArchivio errore;
    const auto leggi = da.Prepara(QStringLiteral("select %1 from %2 order by Id").arg(t.colonne, t.nome), errore);
    if (errore.presente())
        return errore;
    const QString riga = QLatin1Char('(') + QStringList(t.numero, QStringLiteral("?")).join(QLatin1Char(',')) + QLatin1Char(')');
    const auto inserimento = [&](int righe) {
        return a.Prepara(QStringLiteral("insert into %1 (%2) values %3")
                             .arg(t.nome, t.colonne, QStringList(righe, riga).join(QLatin1Char(','))),
                         errore);
    };
    const auto pieno = inserimento(righePerInvio);
    if (errore.presente() || (errore = leggi->Esegui()).presente())
        return errore;
    QVariantList valori;
    const auto invia = [&](Comando& comando) {
        errore = comando.Esegui(valori);
        copiate += valori.size() / t.numero;
        valori.clear();
        if (avanzamento)
            avanzamento(copiate, totale);
        return !errore.presente();
    };
    while (leggi->Successiva(errore)) {
        for (int i = 0; i < t.numero; ++i)
            valori.append(leggi->Valore(i));
        if (valori.size() == righePerInvio * t.numero && !invia(*pieno))
            return errore;
    }
    if (errore.presente())
        return errore;
    if (!valori.isEmpty()) {
        const auto resto = inserimento(int(valori.size() / t.numero));
        if (errore.presente() || !invia(*resto))
            return errore;
    }
    // New rows continue after the keys brought over.
    return a.EseguiNativa(QStringLiteral("select setval(pg_get_serial_sequence('%1', 'id'), "
                                   "coalesce(max(id), 0) + 1, false) from %1")
                        .arg(QString::fromLatin1(t.nome).toLower()));
}

} // namespace

ErroreArchivio CreaArchivioServer(const QString& percorso, const QString& parametri)
{
    if (const ErroreArchivio errore = ControllaNuovoArchivio(percorso); errore.presente())
        return errore;
    QList<ParametroCollegamento> coppie;
    if (const ErroreArchivio errore = ControllaParametri(parametri, coppie); errore.presente())
        return errore;

    // Written under a temporary name and renamed once the tables are there,
    // so that no workstation ever finds a connection file without an archive.
    const QString provvisorio = percorso + QStringLiteral(".creazione");
    QFile file(provvisorio);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {3044, QStringLiteral("Impossibile scrivere il file '%1'.").arg(provvisorio)};
    file.write(IntestazioneCollegamento + OpzioniCollegamento(coppie).toUtf8() + '\n');
    file.close();

    ErroreArchivio errore;
    {
        Connessione c;
        errore = c.Apri(StringaConnessione(provvisorio));
        qint64 esistenti = 0;
        if (!errore.presente())
            errore = conta(c, QStringLiteral("select count(*) from pg_class where relname in "
                                             "('posta', 'emailinviate', 'qryemail') and pg_table_is_visible(oid)"),
                           esistenti);
        if (!errore.presente() && esistenti > 0)
            errore = {3010, QStringLiteral("Il database indicato contiene già le tabelle dell'archivio: non è "
                                           "stato modificato.")};
        if (!errore.presente())
            errore = c.Esegui(QStringLiteral("BEGIN"));
        QStringList istruzioni;
        for (const char* istruzione : schema)
            istruzioni.append(QString::fromUtf8(istruzione));
        for (const QString& istruzione : istruzioni + IndiciConfrontoTesti()) {
            if (errore.presente())
                break;
            errore = c.EseguiNativa(istruzione);
        }
        if (!errore.presente())
            errore = c.Conferma();
        else
            c.Annulla();
    }
    if (!errore.presente() && !QFile::rename(provvisorio, percorso))
        errore = {3204, QStringLiteral("Impossibile creare il file '%1'.").arg(percorso)};
    if (errore.presente())
        QFile::remove(provvisorio);
    return errore;
}

ErroreArchivio TrasferisciArchivio(const QString& origine, const QString& destinazione,
                                   const std::function<void(qint64, qint64)>& avanzamento)
{
    if (RiconosciFormato(destinazione) != FormatoArchivio::PostgreSQL)
        return {3343, QStringLiteral("'%1' non è un file di collegamento a un archivio sul server.")
                          .arg(destinazione)};
    Connessione da;
    Connessione a;
    ErroreArchivio errore = da.Apri(StringaConnessione(origine));
    if (!errore.presente())
        errore = a.Apri(StringaConnessione(destinazione));
    if (errore.presente())
        return errore;

    qint64 totale = 0;
    for (const Tabella& t : tabelle) {
        qint64 righe = 0;
        if ((errore = conta(a, QStringLiteral("select count(*) from %1").arg(t.nome), righe)).presente())
            return errore;
        if (righe > 0)
            return {3010, QStringLiteral("L'archivio sul server contiene già %1 righe nella tabella %2: il "
                                         "trasferimento non è stato eseguito, per non mescolare due archivi.")
                              .arg(righe).arg(t.nome)};
        if ((errore = conta(da, QStringLiteral("select count(*) from %1").arg(t.nome), righe)).presente())
            return errore;
        totale += righe;
    }
    // Nobody writes to the new archive until the copy is complete.
    if ((errore = a.IniziaTransazione()).presente())
        return errore;
    qint64 copiate = 0;
    for (const Tabella& t : tabelle) {
        if ((errore = copiaTabella(da, a, t, copiate, totale, avanzamento)).presente()) {
            a.Annulla();
            return errore;
        }
    }
    if ((errore = a.Conferma()).presente())
        return errore;
    a.AggiornaStatistiche();
    return {};
}
