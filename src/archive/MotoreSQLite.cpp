#include "archive/MotoreSQLite.h"

#include "archive/Archivio.h"
#include "archive/ConfrontoTesti.h"
#include "archive/Recordset.h"
#include "archive/SchemaArchivio.h"
#include "archive/TraduttoreJet.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSqlResult>

#include <sqlite3.h>

#include <cstdlib>

namespace {

// The name of ConfrontoTesti's rule on the embedded engine.
const QString collazione = QStringLiteral("velmira");

int confrontaUtf8(void*, int lunghezzaA, const void* a, int lunghezzaB, const void* b)
{
    // Sorting a month's documents compares mostly ASCII: up to the first
    // other character, the bytes themselves decide, without conversions.
    const auto* x = static_cast<const unsigned char*>(a);
    const auto* y = static_cast<const unsigned char*>(b);
    const auto minuscola = [](unsigned c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    for (int i = 0;; ++i) {
        if (i == lunghezzaA || i == lunghezzaB)
            return lunghezzaA == lunghezzaB ? 0 : (i == lunghezzaA ? -1 : 1);
        if ((x[i] | y[i]) >= 0x80)
            break;
        if (minuscola(x[i]) != minuscola(y[i]))
            return minuscola(x[i]) < minuscola(y[i]) ? -1 : 1;
    }
    return ConfrontaTesti(QString::fromUtf8(reinterpret_cast<const char*>(x), lunghezzaA),
                          QString::fromUtf8(reinterpret_cast<const char*>(y), lunghezzaB));
}

// Waiting this long for another workstation's lock before giving up keeps a
// short import on a colleague's machine from failing our search.
constexpr int attesaBloccoPredefinita = 2000;

TipoCampo tipoDaDichiarazione(const QString& dichiarato, int& dimensione)
{
    static const QRegularExpression conDimensione(QStringLiteral(R"(\(\s*(\d+)\s*\))"));
    const QString tipo = dichiarato.toUpper();
    dimensione = 0;
    if (const auto m = conDimensione.match(tipo); m.hasMatch())
        dimensione = m.captured(1).toInt();
    if (tipo.startsWith(QLatin1String("DATETIME")) || tipo.startsWith(QLatin1String("TIMESTAMP")))
        return TipoCampo::DataOra;
    if (tipo.startsWith(QLatin1String("DATE")))
        return TipoCampo::Data;
    if (tipo.contains(QLatin1String("INT")))
        return TipoCampo::Intero;
    if (tipo.contains(QLatin1String("REAL")) || tipo.contains(QLatin1String("DOUBLE"))
        || tipo.contains(QLatin1String("FLOAT")) || tipo.contains(QLatin1String("NUMERIC"))
        || tipo.contains(QLatin1String("DECIMAL")))
        return TipoCampo::Decimale;
    if (tipo.contains(QLatin1String("BLOB")))
        return TipoCampo::Binario;
    return TipoCampo::Testo;
}

// The engine's own words, put the way the office reads them.
QString descrizioneItaliana(int codice, const QString& testo)
{
    static const QRegularExpression tabella(QStringLiteral(R"(no such table: (\S+))"));
    static const QRegularExpression colonna(QStringLiteral(R"(no such column: (\S+))"));
    static const QRegularExpression sintassi(QStringLiteral(R"x(near "(.*)": syntax error)x"));
    static const QRegularExpression vincolo(QStringLiteral(R"(CHECK constraint failed: (.+))"));
    switch (codice) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("Archivio bloccato da un altro programma o da un'altra postazione: "
                              "riprovare tra qualche istante.");
    case SQLITE_CORRUPT:
        return QStringLiteral("L'archivio è danneggiato e non può essere letto.");
    case SQLITE_NOTADB:
        return QStringLiteral("Il file non è un archivio riconosciuto.");
    case SQLITE_READONLY:
        return QStringLiteral("L'archivio è in sola lettura: le modifiche non possono essere salvate.");
    case SQLITE_FULL:
        return QStringLiteral("Disco pieno: l'archivio non può essere aggiornato.");
    case SQLITE_CANTOPEN:
        return QStringLiteral("Impossibile aprire l'archivio.");
    case SQLITE_IOERR:
        return QStringLiteral("Errore di lettura o scrittura dell'archivio.");
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("Accesso all'archivio negato.");
    case SQLITE_CONSTRAINT:
        if (const auto m = vincolo.match(testo); m.hasMatch())
            return QStringLiteral("Valore non accettato dall'archivio: %1.").arg(m.captured(1));
        return QStringLiteral("Valore non accettato dall'archivio (%1).").arg(testo);
    default:
        break;
    }
    if (const auto m = tabella.match(testo); m.hasMatch())
        return QStringLiteral("Tabella o query inesistente nell'archivio: %1.").arg(m.captured(1));
    if (const auto m = colonna.match(testo); m.hasMatch())
        return QStringLiteral("Campo inesistente nell'archivio: %1.").arg(m.captured(1));
    if (const auto m = sintassi.match(testo); m.hasMatch())
        return QStringLiteral("Errore di sintassi nell'istruzione vicino a «%1».").arg(m.captured(1));
    return QStringLiteral("Errore dell'archivio: %1").arg(testo);
}

// The program's tables that an earlier version made without a key column.
QStringList tabelleSenzaChiave(QSqlDatabase& db)
{
    QStringList tabelle;
    QSqlQuery query(db);
    query.exec(QStringLiteral("select m.name from sqlite_master m where m.type = 'table' "
                              "and m.name in ('Posta', 'EmailInviate') collate nocase and not exists "
                              "(select 1 from pragma_table_info(m.name) c where c.name = '%1' collate nocase)")
                   .arg(ColonnaChiave));
    while (query.next())
        tabelle.append(query.value(0).toString());
    return tabelle;
}

// Gives each table of an earlier version's archive its key column, keeping
// every row with its old row number as key, and every column, index, view
// and trigger as it was. All in one transaction: another workstation sees
// the archive before or after, never half converted.
void aggiungiChiavi(QSqlDatabase& db)
{
    if (tabelleSenzaChiave(db).isEmpty())
        return;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return; // read-only or busy: the archive is read as it is, converted another time
    bool riuscito = true;
    const auto esegui = [&query, &riuscito](const QString& istruzione) {
        riuscito = riuscito && query.exec(istruzione);
    };
    QStringList dipendenti; // views and triggers, made again at the end
    query.exec(QStringLiteral("select type, name, sql from sqlite_master where type in ('view', 'trigger') "
                              "and sql is not null"));
    QList<QPair<QString, QString>> daTogliere;
    while (query.next()) {
        daTogliere.append({query.value(0).toString(), query.value(1).toString()});
        dipendenti.append(query.value(2).toString());
    }
    for (const auto& [tipo, nome] : std::as_const(daTogliere))
        esegui(QStringLiteral("DROP %1 \"%2\"").arg(tipo.toUpper(), nome));
    for (const QString& tabella : tabelleSenzaChiave(db)) {
        QString definizione;
        QStringList indici;
        QStringList colonne;
        query.exec(QStringLiteral("select type, sql from sqlite_master where tbl_name = '%1' and sql is not null")
                       .arg(tabella));
        while (query.next())
            (query.value(0).toString() == QLatin1String("table") ? definizione : indici.emplaceBack())
                = query.value(1).toString();
        query.exec(QStringLiteral("select name from pragma_table_info('%1')").arg(tabella));
        while (query.next())
            colonne.append(QLatin1Char('"') + query.value(0).toString() + QLatin1Char('"'));
        const QString elenco = colonne.join(QStringLiteral(", "));
        esegui(QStringLiteral("CREATE TABLE velmira_conversione (%1 INTEGER PRIMARY KEY, %2")
                   .arg(ColonnaChiave, definizione.mid(definizione.indexOf(QLatin1Char('(')) + 1)));
        esegui(QStringLiteral("INSERT INTO velmira_conversione (%1, %2) SELECT rowid, %2 FROM \"%3\"")
                   .arg(ColonnaChiave, elenco, tabella));
        esegui(QStringLiteral("DROP TABLE \"%1\"").arg(tabella));
        esegui(QStringLiteral("ALTER TABLE velmira_conversione RENAME TO \"%1\"").arg(tabella));
        for (const QString& indice : std::as_const(indici))
            esegui(indice);
    }
    for (const QString& istruzione : std::as_const(dipendenti))
        esegui(istruzione);
    query.exec(riuscito ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
}

NaturaErrore naturaDi(int codice)
{
    switch (codice) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return NaturaErrore::Bloccato;
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_NOMEM:
    case SQLITE_CANTOPEN:
        return NaturaErrore::Grave;
    default:
        return NaturaErrore::Ordinaria;
    }
}

sqlite3* manigliaDi(const QSqlDatabase& db)
{
    const QVariant maniglia = db.driver() ? db.driver()->handle() : QVariant();
    if (!maniglia.isValid() || qstrcmp(maniglia.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(maniglia.constData());
}

} // namespace

const MotoreSQLite& MotoreSQLite::Istanza()
{
    static const MotoreSQLite motore;
    return motore;
}

Errore MotoreSQLite::Apri(QSqlDatabase& db, const QString& nomeConnessione,
                                  const QString& percorso) const
{
    db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nomeConnessione);
    db.setDatabaseName(percorso);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(attesaBloccoPredefinita));
    if (!db.open())
        return ErroreDa(db.lastError());
    // Reading the schema is the first thing that fails on a damaged file.
    QSqlQuery prova(db);
    if (!prova.exec(QStringLiteral("select count(*) from sqlite_master")))
        return ErroreDa(prova.lastError());
    prova.finish();
    if (sqlite3* maniglia = manigliaDi(db))
        sqlite3_create_collation_v2(maniglia, qPrintable(collazione), SQLITE_UTF8, nullptr, confrontaUtf8, nullptr);
    aggiungiChiavi(db);
    return {};
}

QString MotoreSQLite::Traduci(const QString& istruzioneJet) const
{
    // Dates are stored as the ISO text itself.
    // Text follows the collation registered on every connection of ours.
    // Never named in the archive's layout, where the sqlite3 shell and other
    // programs, which do not know it, would then fail; so an equality first
    // asks the column's own index (blind to the case of ASCII letters only)
    // for every spelling that can match, then checks each row found.
    static const Dialetto sqlite{
        .annoPrima = QStringLiteral("CAST(strftime('%Y', "),
        .annoDopo = QStringLiteral(") AS INTEGER)"),
        .dataPrima = QStringLiteral("("),
        .dataDopo = QStringLiteral(")"),
        .confronto =
            [](const QString& colonna, const QString& operatore, const QString& valore) {
                const QString confronto = colonna + QStringLiteral(" COLLATE ") + collazione + QLatin1Char(' ')
                    + operatore + QLatin1Char(' ') + LetteraleTesto(valore);
                QStringList varianti = operatore == QLatin1String("=") ? Varianti(valore, 256) : QStringList();
                if (varianti.isEmpty())
                    return confronto;
                for (QString& variante : varianti)
                    variante = LetteraleTesto(variante);
                return QStringLiteral("(%1 COLLATE NOCASE IN (%2) AND %3)")
                    .arg(colonna, varianti.join(QStringLiteral(", ")), confronto);
            },
        .ordine = [](const QString& colonna) { return colonna + QStringLiteral(" COLLATE ") + collazione; },
        .spareggio = QStringLiteral("Stampa COLLATE %1, Stampa COLLATE BINARY").arg(collazione)};
    return TraduciJet(istruzioneJet, sqlite);
}

QStringList MotoreSQLite::IstruzioniInizioScrittura() const
{
    return {QStringLiteral("BEGIN IMMEDIATE")};
}

bool MotoreSQLite::TransazioneAttiva(const QSqlDatabase& db) const
{
    // On a full disk or an I/O error SQLite rolls the whole transaction back
    // by itself and goes on in autocommit.
    sqlite3* maniglia = manigliaDi(db);
    return maniglia && sqlite3_get_autocommit(maniglia) == 0;
}

void MotoreSQLite::ImpostaAttesaBlocco(QSqlDatabase& db, int millisecondi) const
{
    QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(millisecondi));
}

void MotoreSQLite::AggiornaStatistiche(QSqlDatabase& db) const
{
    // With statistics the planner lists the few document types of a million
    // rows by skipping through the index, and picks the date index for a
    // month of one type. A sample misjudges how few the types are, so the
    // whole archive is read (about half a second per million rows): only
    // when there are no statistics yet or a table has changed in size by
    // more than a tenth since they were taken.
    QSqlQuery query(db);
    query.setForwardOnly(true);
    bool superate = true;
    if (query.exec(QStringLiteral("select tbl, max(cast(stat as integer)) from sqlite_stat1 "
                                  "where idx is not null group by tbl"))) {
        QList<QPair<QString, qint64>> tabelle;
        while (query.next())
            tabelle.append({query.value(0).toString(), query.value(1).toLongLong()});
        superate = tabelle.isEmpty();
        for (const auto& [tabella, righe] : std::as_const(tabelle)) {
            QSqlQuery conta(db);
            if (conta.exec(QStringLiteral("select count(*) from \"%1\"").arg(tabella)) && conta.next()
                && std::abs(conta.value(0).toLongLong() - righe) * 10 > righe)
                superate = true;
        }
    }
    if (!superate)
        return;
    query.exec(QStringLiteral("PRAGMA analysis_limit = 0"));
    query.exec(QStringLiteral("ANALYZE"));
}

Errore MotoreSQLite::ErroreDa(const QSqlError& errore) const
{
    bool numerico = false;
    int codice = errore.nativeErrorCode().toInt(&numerico);
    const QString testo = errore.databaseText().isEmpty() ? errore.driverText() : errore.databaseText();
    if (!numerico || codice == 0)
        codice = SQLITE_ERROR;
    codice &= 0xff; // extended codes share the primary code's meaning
    return {static_cast<CodiceErrore>(codice), descrizioneItaliana(codice, testo), naturaDi(codice), testo};
}

QList<DescrizioneCampo> MotoreSQLite::Campi(const QSqlQuery& query) const
{
    const QSqlRecord record = query.record();
    sqlite3_stmt* stmt = nullptr;
    if (query.result()) {
        const QVariant maniglia = query.result()->handle();
        if (maniglia.isValid() && qstrcmp(maniglia.typeName(), "sqlite3_stmt*") == 0)
            stmt = *static_cast<sqlite3_stmt* const*>(maniglia.constData());
    }
    QList<DescrizioneCampo> campi;
    campi.reserve(record.count());
    for (int i = 0; i < record.count(); ++i) {
        const char* dichiarato = stmt ? sqlite3_column_decltype(stmt, i) : nullptr;
        int dimensione = 0;
        const TipoCampo tipo = dichiarato ? tipoDaDichiarazione(QString::fromUtf8(dichiarato), dimensione)
                                          : TipoDaValore(record.field(i).metaType());
        campi.append({record.fieldName(i), tipo, dimensione});
    }
    return campi;
}

QStringList MotoreSQLite::SchemaAggiunto() const
{
    return SchemaAggiuntoIncorporato();
}

QString MotoreSQLite::CondizioneParole(const QList<FraseCercata>& frasi) const
{
    // Each phrase a string of FTS5's query language; every one must match.
    // The words hold only letters and digits.
    QStringList termini;
    for (const FraseCercata& frase : frasi)
        termini.append(QLatin1Char('"') + frase.parole.join(QLatin1Char(' ')) + QLatin1Char('"')
                       + (frase.prefisso ? QStringLiteral(" *") : QString()));
    return QStringLiteral("%1 IN (SELECT rowid FROM %2 WHERE %2 MATCH %3)")
        .arg(ColonnaChiave, IndiceParole, LetteraleTesto(termini.join(QLatin1Char(' '))));
}
