#include "archive/MotorePostgres.h"

#include "archive/Archivio.h"
#include "archive/Recordset.h"
#include "archive/SchemaArchivio.h"
#include "archive/TraduttoreJet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>
#include <QSqlDriver>

#include <libpq-fe.h>

#include <cmath>

namespace {

// As on the embedded engine: a colleague's short import must not fail our search.
constexpr int attesaBloccoPredefinita = 2000;

// The driver property holding the relations of the program's layout on this
// connection, by their number on the server: a result names the relation each
// field comes from by that number alone, and no other statement may run on
// the connection while the rows of a result are still arriving.
const char* const proprietaRelazioni = "velmira_relazioni";

void registraRelazioni(QSqlDatabase& db)
{
    QStringList nomi{LetteraleTesto(VistaEmail().nome.toLower())};
    for (const TabellaSchema& t : TabelleArchivio())
        nomi.append(LetteraleTesto(t.nome.toLower()));
    QSqlQuery query(db);
    QVariantHash relazioni;
    if (query.exec(QStringLiteral("select oid, relname from pg_class where relname in (%1) and pg_table_is_visible(oid)")
                       .arg(nomi.join(QStringLiteral(", ")))))
        while (query.next())
            relazioni.insert(query.value(0).toString(), query.value(1).toString());
    db.driver()->setProperty(proprietaRelazioni, relazioni);
}

// The relation a field of the result comes from, empty for an expression.
// Qt's driver hands the result under libpq's struct name.
QString relazioneDi(const QSqlQuery& query, int campo)
{
    const QVariant maniglia = query.result() ? query.result()->handle() : QVariant();
    if (!maniglia.isValid() || qstrcmp(maniglia.typeName(), "pg_result*") != 0 || !query.driver())
        return {};
    const auto* risultato = *static_cast<const PGresult* const*>(maniglia.constData());
    return risultato ? query.driver()->property(proprietaRelazioni).toHash()
                           .value(QString::number(PQftable(risultato, campo))).toString()
                     : QString();
}

QString primoGruppo(const QString& testo, const QString& modello)
{
    const auto m = QRegularExpression(modello).match(testo);
    return m.hasMatch() ? m.captured(1) : QString();
}

// Whatever the server says, worded for the office. A failure to connect
// carries no error code, only libpq's text.
Errore erroreItaliano(const QString& stato, const QString& testo, const QString& parametri)
{
    const QHash<QString, QString> p = ParametriCollegamento(parametri);
    const QString server = p.value(QStringLiteral("host"), QStringLiteral("locale"));
    const QString utente = p.value(QStringLiteral("user"));
    const auto contiene = [&testo](const char* frammento) {
        return testo.contains(QLatin1String(frammento), Qt::CaseInsensitive);
    };

    if (stato == QLatin1String("55P03") || stato == QLatin1String("40P01") || contiene("lock timeout"))
        return {CodiceErrore::Bloccato,
                QStringLiteral("Archivio bloccato da un'altra postazione: l'attesa è stata troppo "
                               "lunga, riprovare tra qualche istante."),
                NaturaErrore::Bloccato};
    if (stato == QLatin1String("3D000") || (contiene("does not exist") && contiene("database")))
        return {CodiceErrore::FileNonTrovato, QStringLiteral("L'archivio '%1' non esiste sul server %2.")
                          .arg(primoGruppo(testo, QStringLiteral("database \"([^\"]*)\"")), server)};
    if (stato.startsWith(QLatin1String("28")) || contiene("password authentication failed")
        || contiene("no password supplied") || contiene("pg_hba.conf") || contiene("authentication failed")
        || (contiene("role") && contiene("does not exist")))
        return {CodiceErrore::CredenzialiRifiutate, QStringLiteral("Accesso all'archivio negato: il server %1 non accetta l'utente '%2'. "
                                     "La password va scritta nel file .pgpass dell'utente.")
                          .arg(server, utente)};
    if (stato.startsWith(QLatin1String("08")) || stato.startsWith(QLatin1String("57P"))
        || contiene("server closed the connection") || contiene("no connection to the server")
        || contiene("terminating connection") || contiene("connection to server was lost"))
        return {CodiceErrore::CollegamentoInterrotto,
                QStringLiteral("Collegamento con il server dell'archivio interrotto: l'operazione "
                               "non è stata completata."),
                NaturaErrore::Grave};
    if (contiene("could not connect") || contiene("connection refused") || contiene("could not translate host")
        || contiene("timeout expired") || contiene("connection to server") || contiene("Network is unreachable"))
        return {CodiceErrore::ServerNonRaggiungibile,
                QStringLiteral("Server dell'archivio %1 non raggiungibile: controllare la rete e che "
                               "il server sia acceso.").arg(server),
                NaturaErrore::Grave};
    if (stato == QLatin1String("23514"))
        return {CodiceErrore::ValoreRifiutato, QStringLiteral("Valore non accettato dall'archivio: %1.")
                        .arg(primoGruppo(testo, QStringLiteral("check constraint \"([^\"]*)\"")))};
    if (stato.startsWith(QLatin1String("23")) || stato.startsWith(QLatin1String("22")))
        return {CodiceErrore::ValoreRifiutato, QStringLiteral("Valore non accettato dall'archivio (%1).").arg(testo.trimmed())};
    if (stato == QLatin1String("42P01"))
        return {CodiceErrore::Istruzione, QStringLiteral("Tabella o query inesistente nell'archivio: %1.")
                       .arg(primoGruppo(testo, QStringLiteral("relation \"([^\"]*)\"")))};
    if (stato == QLatin1String("42703"))
        return {CodiceErrore::Istruzione, QStringLiteral("Campo inesistente nell'archivio: %1.")
                       .arg(primoGruppo(testo, QStringLiteral("column \"?([^\" ]*)\"? does not exist")))};
    if (stato == QLatin1String("42601"))
        return {CodiceErrore::Istruzione, QStringLiteral("Errore di sintassi nell'istruzione vicino a «%1».")
                       .arg(primoGruppo(testo, QStringLiteral("at or near \"(.*)\"")))};
    if (stato == QLatin1String("42501"))
        return {CodiceErrore::AccessoNegato, QStringLiteral("Accesso all'archivio negato.")};
    if (stato == QLatin1String("53100"))
        return {CodiceErrore::DiscoPieno, QStringLiteral("Disco del server pieno: l'archivio non può essere aggiornato."),
                NaturaErrore::Grave};
    return {CodiceErrore::Istruzione, QStringLiteral("Errore dell'archivio: %1").arg(testo.trimmed())};
}

} // namespace

namespace {

// The blanks libpq's own parser skips: the C locale's, nothing wider.
bool BiancoLibpq(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// "keyword = value" pairs read as libpq reads them: a value is either in
// single quotes or runs to the next blank; a backslash takes the next
// character as it is. What libpq would refuse is refused here, in Italian,
// without repeating what was written: it may be a password.
Risultato<QList<ParametroCollegamento>> LeggiCoppie(const QString& testo)
{
    const auto rifiutato = [](const QString& perche) { return Errore{CodiceErrore::ArchivioNonValido, perche}; };
    // Qt's driver turns ";" into a blank before libpq reads the text, and a
    // NUL ends it: either would make libpq read other parameters than these.
    if (testo.contains(u';'))
        return rifiutato(QStringLiteral("il carattere «;» non è ammesso"));
    if (testo.contains(QChar(0)))
        return rifiutato(QStringLiteral("un carattere nullo non è ammesso"));
    QList<ParametroCollegamento> coppie;
    qsizetype i = 0;
    const qsizetype n = testo.size();
    const auto saltaBianchi = [&] {
        while (i < n && BiancoLibpq(testo[i]))
            ++i;
    };
    for (saltaBianchi(); i < n; saltaBianchi()) {
        const qsizetype inizioNome = i;
        while (i < n && testo[i] != u'=' && !BiancoLibpq(testo[i]))
            ++i;
        const QString nome = testo.mid(inizioNome, i - inizioNome);
        saltaBianchi();
        if (i == n || testo[i] != u'=')
            return rifiutato(QStringLiteral("una parola non è nella forma nome=valore"));
        if (nome.isEmpty())
            return rifiutato(QStringLiteral("un «=» senza nome di parametro"));
        ++i;
        saltaBianchi();
        QString valore;
        const bool tra_virgolette = i < n && testo[i] == u'\'';
        if (tra_virgolette)
            ++i;
        for (;;) {
            if (i == n) {
                if (tra_virgolette)
                    return rifiutato(QStringLiteral("virgolette non chiuse in un valore"));
                break;
            }
            const QChar c = testo[i++];
            if (c == u'\\') {
                if (i < n)
                    valore += testo[i++];
            } else if (tra_virgolette ? c == u'\'' : BiancoLibpq(c)) {
                break;
            } else {
                valore += c;
            }
        }
        coppie.append({nome, valore});
    }
    return coppie;
}

// Whether libpq may reach the server over the network, where what it sends
// can be read on the way; a socket path (host=/...) stays on this machine.
bool CollegamentoInRete(const QHash<QString, QString>& p)
{
    if (!p.value(QStringLiteral("hostaddr")).isEmpty())
        return true;
    const QString host = p.contains(QStringLiteral("host")) ? p.value(QStringLiteral("host"))
                                                             : qEnvironmentVariable("PGHOST");
    for (const QString& uno : host.split(u',')) {
#ifdef Q_OS_WIN
        // Without a host libpq goes to localhost over TCP there.
        if (uno.isEmpty())
            return true;
#endif
        if (!uno.isEmpty() && !uno.startsWith(u'/') && !uno.startsWith(u'@'))
            return true;
    }
    return false;
}

// The user's password file when libpq passes it over because others may
// read it (any group or other permission); empty otherwise.
QString FilePasswordIgnorato()
{
    QString file = qEnvironmentVariable("PGPASSFILE");
    if (file.isEmpty())
        file = QDir::homePath() + QStringLiteral("/.pgpass");
    const QFileInfo info(file);
    constexpr auto altri = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
        | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    return info.isFile() && (info.permissions() & altri) ? file : QString();
}

} // namespace

Risultato<QList<ParametroCollegamento>> ControllaParametri(const QString& parametri)
{
    const auto lette = LeggiCoppie(parametri);
    if (!lette)
        return Errore{CodiceErrore::ArchivioNonValido,
                      QStringLiteral("Parametri di collegamento al server non validi: %1.").arg(lette.errore().descrizione)};
    QList<ParametroCollegamento> coppie = *lette;
    QHash<QString, QString> p;
    for (const ParametroCollegamento& c : std::as_const(coppie))
        p.insert(c.nome.toLower(), c.valore);
    if (p.contains(QStringLiteral("password")))
        return Errore{CodiceErrore::CredenzialiRifiutate, QStringLiteral("La password non va data qui: scriverla nel file .pgpass dell'utente.")};
    // libpq sends the password as the server asks for it: in clear when
    // the link is not encrypted. Over the network it must be.
    if (CollegamentoInRete(p)) {
        const QString modo = p.value(QStringLiteral("sslmode"));
        if (modo.isEmpty())
            coppie.append({QStringLiteral("sslmode"), QStringLiteral("require")});
        else if (modo == QLatin1String("disable") || modo == QLatin1String("allow") || modo == QLatin1String("prefer"))
            return Errore{CodiceErrore::ArchivioNonValido, QStringLiteral("sslmode=%1 lascerebbe viaggiare la password in chiaro verso il server %2: "
                                         "il collegamento in rete deve essere cifrato (sslmode=require, o "
                                         "verify-full con il certificato del server)")
                              .arg(modo, p.value(QStringLiteral("host"), p.value(QStringLiteral("hostaddr"))))};
    }
    return coppie;
}

QString OpzioniCollegamento(const QList<ParametroCollegamento>& coppie)
{
    QStringList opzioni;
    for (const ParametroCollegamento& p : coppie) {
        QString valore = p.valore;
        valore.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
        opzioni.append(p.nome + QLatin1String("='") + valore + QLatin1Char('\''));
    }
    return opzioni.join(QLatin1Char(' '));
}

Risultato<QString> LeggiCollegamento(const QString& percorso)
{
    // A few lines name a server: anything much longer is not one of ours.
    constexpr qint64 fileMassimo = 64 * 1024;
    constexpr qsizetype rigaMassima = 1024;
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return Errore{CodiceErrore::FileNonTrovato, QStringLiteral("Impossibile leggere il file di collegamento '%1'.").arg(percorso)};
    const auto nonValido = [&percorso](const QString& perche) {
        return Errore{CodiceErrore::ArchivioNonValido, QStringLiteral("Impossibile aprire l'archivio: file di collegamento non valido "
                                                   "('%1'), %2.").arg(percorso, perche)};
    };
    const QByteArray contenuto = file.read(fileMassimo + 1);
    if (contenuto.size() > fileMassimo)
        return nonValido(QStringLiteral("troppo grande"));
    QStringList righe;
    const QList<QByteArray> tutte = contenuto.split('\n');
    for (qsizetype i = 1; i < tutte.size(); ++i) {
        const QString riga = QString::fromUtf8(tutte.at(i)).trimmed();
        if (riga.isEmpty() || riga.startsWith(QLatin1Char('#')))
            continue;
        // Each line read on its own, to say which one is wrong.
        const QString errore = riga.size() > rigaMassima ? QStringLiteral("troppo lunga")
                                                         : LeggiCoppie(riga).errore().descrizione;
        if (!errore.isEmpty())
            return nonValido(QStringLiteral("riga %1: %2").arg(i + 1).arg(errore));
        righe.append(riga);
    }
    const auto coppie = ControllaParametri(righe.join(QLatin1Char(' ')));
    if (coppie)
        return OpzioniCollegamento(*coppie);
    Errore errore = coppie.errore();
    // The file lies in a folder the whole office reads.
    if (errore.codice == CodiceErrore::CredenzialiRifiutate)
        errore.descrizione = QStringLiteral("Il file di collegamento '%1' contiene una password: toglierla e "
                                            "scriverla nel file .pgpass di ogni utente.").arg(percorso);
    else
        errore.descrizione = QStringLiteral("Nel file di collegamento '%1': %2").arg(percorso, errore.descrizione);
    return errore;
}

QHash<QString, QString> ParametriCollegamento(const QString& parametri)
{
    QHash<QString, QString> valori;
    const auto coppie = LeggiCoppie(parametri);
    for (const ParametroCollegamento& p : coppie ? *coppie : QList<ParametroCollegamento>())
        valori.insert(p.nome.toLower(), p.valore);
    return valori;
}

const MotorePostgres& MotorePostgres::Istanza()
{
    static const MotorePostgres motore;
    return motore;
}

Errore MotorePostgres::Apri(QSqlDatabase& db, const QString& nomeConnessione,
                                    const QString& percorso) const
{
    const auto letti = LeggiCollegamento(percorso);
    if (!letti)
        return letti.errore();
    const QString& parametri = *letti;
    db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nomeConnessione);
    if (!db.isValid())
        return {CodiceErrore::DriverMancante, QStringLiteral("Su questo sistema manca il driver PostgreSQL di Qt (pacchetto "
                                     "libqt6sql6-psql): l'archivio sul server non può essere aperto.")};
    const QHash<QString, QString> p = ParametriCollegamento(parametri);
    QString opzioni = parametri;
    if (!p.contains(QStringLiteral("connect_timeout")))
        opzioni += QStringLiteral(" connect_timeout=5");
    if (!p.contains(QStringLiteral("application_name")))
        opzioni += QStringLiteral(" application_name=ClientVelmira");
    db.setConnectOptions(opzioni);
    if (!db.open()) {
        const Errore errore =
            erroreItaliano({}, db.lastError().databaseText() + db.lastError().driverText(), parametri);
        const QString pgpass = FilePasswordIgnorato();
        if (errore.codice != CodiceErrore::CredenzialiRifiutate || pgpass.isEmpty())
            return errore;
        return {CodiceErrore::CredenzialiRifiutate, QStringLiteral("Accesso all'archivio negato: il file delle password %1 è leggibile da altri "
                                     "utenti e per questo non viene usato. Renderlo leggibile solo dal "
                                     "proprietario (chmod 600 %1).").arg(pgpass)};
    }
    ImpostaAttesaBlocco(db, attesaBloccoPredefinita);
    registraRelazioni(db);
    QSqlQuery indici(db);
    if (indici.exec(QStringLiteral("select count(*) from pg_indexes where tablename = 'posta' and "
                                   "indexname like 'posta\\_%\\_minuscolo'"))
        && indici.next() && indici.value(0).toInt() < IndiciConfrontoTesti().size()) {
        // Another user's archive refuses: its searches are right, only slower.
        for (const QString& indice : IndiciConfrontoTesti())
            indici.exec(indice);
    }
    return {};
}

QStringList IndiciConfrontoTesti()
{
    return {QStringLiteral("CREATE INDEX IF NOT EXISTS posta_codice_minuscolo ON posta "
                           "((lower(codice COLLATE \"und-x-icu\")) COLLATE \"C\", data NULLS FIRST)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS posta_numdoc_minuscolo ON posta "
                           "((lower(numdoc COLLATE \"und-x-icu\")) COLLATE \"C\")")};
}

namespace {

// The values of one column, each once and in order ("select distinct Tipo
// from posta order by tipo", the type list): read the server's way it walks
// the whole table. Said as a walk through the column's index, one step to
// the next value after each, it reads as many index entries as there are
// values. A missing value is listed too, first, as Jet orders it.
QString ValoriDistinti(const QString& istruzione)
{
    static const QRegularExpression forma(
        QStringLiteral(R"(^\s*select\s+distinct\s+(\w+)\s+from\s+(\w+)\s+order\s+by\s+(\w+)(\s+asc)?)"
                       R"((\s+nulls\s+first)?\s*;?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = forma.match(istruzione);
    if (!m.hasMatch() || m.captured(1).compare(m.captured(3), Qt::CaseInsensitive) != 0)
        return istruzione;
    return QStringLiteral("with recursive velmira_valori (v) as (select min(%1) from %2 union all "
                          "select (select min(%1) from %2 where %1 > velmira_valori.v) from velmira_valori "
                          "where v is not null) "
                          "select null as %1 where exists (select 1 from %2 where %1 is null) "
                          "union all select v from velmira_valori where v is not null order by 1 nulls first")
        .arg(m.captured(1), m.captured(2));
}

} // namespace

QString MotorePostgres::Traduci(const QString& istruzioneJet) const
{
    // Text by ICU's lower-case mapping, as ConfrontoTesti on the embedded
    // engine, compared code point by code point ("C"); the layout indexes
    // these very expressions.
    static const auto minuscolo = [](const QString& testo) {
        return QStringLiteral("lower(%1 COLLATE \"und-x-icu\") COLLATE \"C\"").arg(testo);
    };
    static const Dialetto postgres{
        .annoPrima = QStringLiteral("CAST(EXTRACT(YEAR FROM "),
        .annoDopo = QStringLiteral(") AS INTEGER)"),
        .nomiMinuscoli = true,
        .nulliInFondo = true,
        .dataPrima = QStringLiteral("CAST("),
        .dataDopo = QStringLiteral(" AS date)"),
        .confronto =
            [](const QString& colonna, const QString& operatore, const QString& valore) {
                return minuscolo(colonna) + QLatin1Char(' ') + operatore + QLatin1Char(' ')
                    + minuscolo(LetteraleTesto(valore));
            },
        .ordine = minuscolo,
        .spareggio = minuscolo(QStringLiteral("stampa")) + QStringLiteral(" NULLS FIRST, stampa COLLATE \"C\" NULLS FIRST")};
    return ValoriDistinti(TraduciJet(istruzioneJet, postgres));
}

QStringList MotorePostgres::IstruzioniInizioScrittura() const
{
    // Readers are never kept waiting by this lock, only other writers. Then,
    // when the table has grown by a tenth since the server last looked, its
    // statistics are taken again: a large import would otherwise go on with
    // plans made for the small table it began with, scanning it whole for
    // every group, or looking documents up by date alone. Only the columns
    // of the document key, which those plans need: the long texts, slow to
    // sort without regard to case, follow at the end of the import.
    return {QStringLiteral("BEGIN"), QStringLiteral("LOCK TABLE posta IN SHARE ROW EXCLUSIVE MODE"),
            QStringLiteral("DO $$ DECLARE stimate float8; pagine float8; BEGIN "
                           "SELECT relpages, pg_relation_size(oid) / current_setting('block_size')::int "
                           "INTO stimate, pagine FROM pg_class WHERE oid = 'posta'::regclass; "
                           "IF pagine > stimate * 1.1 + 8 THEN ANALYZE posta (codice, data, tipo, numdoc); "
                           "END IF; END $$")};
}

bool MotorePostgres::TransazioneAttiva(const QSqlDatabase& db) const
{
    // Inside a transaction the time of the transaction and that of the
    // statement differ; a lost connection answers nothing.
    QSqlQuery query(db);
    return query.exec(QStringLiteral("select now() <> statement_timestamp()")) && query.next()
        && query.value(0).toBool();
}

void MotorePostgres::ImpostaAttesaBlocco(QSqlDatabase& db, int millisecondi) const
{
    // Zero would mean waiting for ever here.
    QSqlQuery(db).exec(QStringLiteral("SET lock_timeout = %1").arg(qMax(1, millisecondi)));
}

void MotorePostgres::AggiornaStatistiche(QSqlDatabase& db) const
{
    // The server's own housekeeping gets there within a minute or so; after
    // a large import the searches should not wait for it. As on the embedded
    // engine: only when a table has changed in size by more than a tenth.
    for (const QString& tabella : {QStringLiteral("posta"), QStringLiteral("emailinviate")}) {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("select (select reltuples from pg_class where oid = '%1'::regclass), "
                                       "(select count(*) from %1)").arg(tabella))
            || !query.next())
            continue;
        const double stimate = query.value(0).toDouble();
        const double righe = query.value(1).toDouble();
        if (stimate < 0 || std::abs(righe - stimate) * 10 > stimate)
            query.exec(QStringLiteral("ANALYZE ") + tabella);
    }
}

Errore MotorePostgres::ErroreDa(const QSqlError& errore) const
{
    // The server's first line says what went wrong; the rest points into
    // the statement or the server's own code.
    static const QRegularExpression gravita(QStringLiteral("^(ERROR|FATAL|ERRORE):\\s*"));
    QString testo = errore.databaseText().isEmpty() ? errore.driverText() : errore.databaseText();
    testo = testo.section(QLatin1Char('\n'), 0, 0).remove(gravita).trimmed();
    Errore italiano = erroreItaliano(errore.nativeErrorCode(), testo, {});
    italiano.dettaglio = testo;
    return italiano;
}

QList<DescrizioneCampo> MotorePostgres::Campi(const QSqlQuery& query) const
{
    // The server folds unquoted names to lower case; results show the
    // program's columns spelled as it writes them, with the text sizes its
    // checks enforce. Names the statement gave with AS arrive spelled as given.
    const QSqlRecord record = query.record();
    QList<DescrizioneCampo> campi;
    campi.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField campo = record.field(i);
        QString nome = campo.name();
        const ColonnaSchema* colonna = nullptr;
        if (relazioneDi(query, i).compare(VistaEmail().nome, Qt::CaseInsensitive) == 0) {
            for (const ColonnaVista& c : VistaEmail().colonne)
                if (c.nome.compare(nome, Qt::CaseInsensitive) == 0) {
                    colonna = TabellaArchivio(c.tabella)->Colonna(c.colonna);
                    nome = c.nome;
                }
        }
        for (qsizetype t = 0; !colonna && t < TabelleArchivio().size(); ++t)
            if ((colonna = TabelleArchivio()[t].Colonna(nome)))
                nome = colonna->nome;
        const bool minuscolo = campo.name() == campo.name().toLower();
        campi.append({colonna && minuscolo ? nome : campo.name(), TipoDaValore(campo.metaType()),
                      colonna ? colonna->dimensione : 0});
    }
    return campi;
}

QStringList MotorePostgres::SchemaAggiunto() const
{
    return SchemaAggiuntoServer();
}

QString MotorePostgres::CondizioneParole(const QList<FraseCercata>& frasi) const
{
    // A tsquery written out: its words are taken as they are, already in the
    // indexed form, and hold only letters and digits.
    QStringList termini;
    for (const FraseCercata& frase : frasi) {
        QStringList parole;
        for (const QString& parola : frase.parole)
            parole.append(QLatin1Char('\'') + parola + QLatin1Char('\''));
        if (frase.prefisso)
            parole.last() += QStringLiteral(":*");
        termini.append(QLatin1Char('(') + parole.join(QStringLiteral(" <-> ")) + QLatin1Char(')'));
    }
    return QStringLiteral("%1 IN (SELECT %1 FROM %2 WHERE %3 @@ cast(%4 as tsquery))")
        .arg(ColonnaChiave, TabellaTesti, ColonnaParoleIndicizzate, LetteraleTesto(termini.join(QStringLiteral(" & "))));
}
