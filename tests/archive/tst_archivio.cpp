#include "AmbienteProva.h"
#include "ArchivioDiProva.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/MotorePostgres.h"
#include "archive/Recordset.h"

#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTest>

#include <arpa/inet.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

class TestArchivio : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        ambiente = std::make_unique<AmbienteProva>();
        archivio = ambiente->percorso("dati.mdb");
        QCOMPARE(CreaArchivioProva(archivio).testo(), "0 ");
        connessione = StringaConnessione(archivio);
        QVERIFY(!aperta.Apri(connessione).presente());
    }

    void cleanup()
    {
        aperta.Chiudi();
        ambiente.reset();
    }

    // Rows added through the table read back through statements.
    void aggiungeELegge()
    {
        aggiungi({"a.pdf|FAT|452|18/03/2014|123", "b.pdf|BOL|7|1/4/2014|C00123"});

        Recordset rs;
        QVERIFY(!rs.ApriSql(connessione, "select Stampa, data, Tipo from Posta order by Stampa;").presente());
        QCOMPARE(rs.Valore("DATA").toDate(), QDate(2014, 3, 18));
        QVERIFY(!rs.MoveNext().presente());
        QCOMPARE(rs.Valore(1).toDate(), QDate(2014, 4, 1));
        QVERIFY(!rs.MoveNext().presente());
        QVERIFY(rs.FineFile());
        QCOMPARE(rs.MoveNext().codice, CodiceErrore::NessunRecordCorrente);
        rs.Chiudi();

        // Whatever a folder may be called, the path read back is the path given;
        // an ordinary one is written exactly as the office's programs write it.
        QCOMPARE(StringaConnessione("/srv/dati.mdb"),
                 "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/srv/dati.mdb;Persist Security Info=False");
        for (const QString percorso : {"/srv/a;b/dati.mdb", "\"x\";Data Source=/altro.mdb", "'a'b", "/srv/c\"d"})
            QCOMPARE(PercorsoDaConnessione(StringaConnessione(percorso)), percorso);
        QCOMPARE(PercorsoDaConnessione("Data Source=\"/srv/mai chiuso;x"), QString());

        // A long s is not an s to the server: not to the embedded engine either.
        aggiungi({"s1.pdf|FAT|1|01/01/2015|ſ", "s2.pdf|FAT|1|01/01/2015|s"});
        QCOMPARE(stampe("select Stampa from Posta where year(data) = 2015 order by Codice, Stampa"),
                 (QStringList{"s2.pdf", "s1.pdf"}));
        // A quote left single is an error with a message, never a crash.
        const QStringList rotta = stampe("select Stampa from Posta where tipo='D'A'");
        QVERIFY2(rotta.size() == 1 && rotta.first().startsWith("1 "), qPrintable(rotta.join('|')));
    }

    void campiAgganciatiSenzaRiguardoAlleMaiuscole()
    {
        aggiungi({"a.pdf|FAT|1|01/01/2014|1"});

        // The query's fields read as the query spells them, on both engines,
        // also beside a table's field and an expression; sizes from their tables.
        Recordset vista;
        QVERIFY(!vista.ApriSql(connessione, "select q.*, p.data, 1 as uno from qryEmail q, Posta p").presente());
        QStringList nomi;
        for (int i = 0; i < vista.NumeroCampi(); ++i)
            nomi.append(vista.NomeCampo(i) + '/' + QString::number(vista.DimensioneCampo(i)));
        QCOMPARE(nomi.join(' '), "data/0 tipo/3 NumDoc/15 Codice/15 dtInvio/0 Stampa/0 EmailDest/0 Esito/0 Data/0 uno/0");

        Recordset rs;
        QVERIFY(!rs.ApriTabella(connessione, "Posta").presente());
        rs.AddNew();
        QCOMPARE(rs.ImpostaValore("Inesistente", 1).codice, CodiceErrore::ElementoNonTrovato);
        QCOMPARE(rs.ImpostaValore("DATA", "non è una data").codice, CodiceErrore::TipoNonCorrispondente);
        // A value too long for its field fails its insert, as it always did.
        rs.ImpostaValore("Tipo", "FATT");
        QCOMPARE(rs.Update().testo(),
                 "19 Valore non accettato dall'archivio: il campo Tipo accetta al massimo 3 caratteri.");
        rs.CancelUpdate();
        QVERIFY(!rs.Update().presente());
        rs.Chiudi();
        QCOMPARE(stampe("select count(*) from Posta"), QStringList{"1"});

        // The type list: each type once whatever its case, in order; an empty
        // type and a missing one are listed too (where depends on the engine).
        aggiungi({"b.pdf|ncr|2|01/01/2014|1", "c.pdf|fat|3|01/01/2014|1", "d.pdf|Bol|4|01/01/2014|1", "e.pdf||5|01/01/2014|1"});
        QVERIFY(!aperta.Esegui("insert into Posta (Stampa, Tipo) values ('f.pdf', null)").presente());
        const QStringList tipi = stampe("select distinct Tipo from posta order by tipo;");
        QCOMPARE(tipi.size(), 5);
        QCOMPARE(tipi.filter(QRegularExpression(".")).join(' ').toUpper(), "BOL FAT NCR");
    }

    // Each file with the error numbers it may give (SQLite reads some damage
    // as "not a database"); none is opened, none is touched.
    void fileCheNonSonoArchivi()
    {
        QByteArray access(64, '\0');
        access.replace(4, 15, "Standard Jet DB");
        const QByteArray danneggiato = QByteArray("SQLite format 3") + '\0' + QByteArray(4096, '\x5a');
        const std::pair<QByteArray, QList<int>> casi[] = {
            {access, {3170}}, {"not a database at all\n", {3343}}, {QByteArray(), {3343}}, {danneggiato, {11, 26}}};
        for (const auto& [contenuto, numeri] : casi) {
            const QString altro = ambiente->scriviFile("altro/dati.mdb", contenuto);
            Recordset rs;
            const Errore errore = rs.ApriSql(StringaConnessione(altro), "select * from Posta");
            QVERIFY2(numeri.contains(errore.numero()) && !errore.descrizione.isEmpty() && !rs.Aperto(),
                     qPrintable(errore.testo()));
            QCOMPARE(QFile(altro).size(), qint64(contenuto.size()));
        }
        Connessione c;
        QCOMPARE(c.Apri(StringaConnessione(ambiente->percorso("manca.mdb"))).codice, CodiceErrore::FileNonTrovato);
        QCOMPARE(c.Apri(StringaConnessione(ambiente->cartella())).codice, CodiceErrore::FileNonTrovato);

        // An archive without its table Posta. On the server the documents'
        // text belongs to Posta by a foreign key.
        QVERIFY(!aperta.Esegui("drop view qryEmail").presente());
        QVERIFY(!aperta.Esegui(ProvaSuServer() ? "drop table Posta cascade" : "drop table Posta").presente());
        QCOMPARE(stampe("select distinct Tipo from posta order by tipo;"),
                 QStringList{"1 Tabella o query inesistente nell'archivio: posta."});
    }

    // One prepared insert in a transaction, a prepared search; then the
    // statistics, refreshed only once the rows have grown by more than a twentieth.
    void comandoPreparatoEStatistiche()
    {
        auto preparato = aperta.Prepara("insert into Posta (Stampa, Data, Tipo) values (?, ?, ?)");
        QVERIFY2(preparato, qPrintable(preparato.errore().testo()));
        auto inserisci = std::move(*preparato);
        QVERIFY(!aperta.IniziaTransazione().presente());
        QVERIFY(!inserisci->Esegui({"a'b.pdf", QDate(2014, 3, 18), "FAT"}).presente());
        QCOMPARE(inserisci->RigheModificate(), 1);
        // A second connection of ours to the archive leaves the transaction's
        // lock in place: another program still cannot write.
        Connessione seconda;
        QVERIFY(!seconda.Apri(connessione).presente());
        if (!ProvaSuServer()) {
            QProcess altro;
            altro.start("sqlite3", {archivio, "begin immediate;"});
            QVERIFY(altro.waitForFinished());
            QCOMPARE(altro.readAllStandardError().trimmed(), "Error: stepping, database is locked (5)");
        }
        QCOMPARE(inserisci->Esegui({"c.pdf", QDate(2014, 3, 18), "FATT"}).codice, CodiceErrore::ValoreRifiutato);
        QVERIFY(!aperta.Conferma().presente());

        auto cerca = std::move(*aperta.Prepara("select Stampa from Posta where Data=#03/18/2014# and Tipo=?"));
        QVERIFY(!cerca->Esegui({"fat"}).presente());
        QVERIFY(*cerca->Successiva());
        QCOMPARE(cerca->Valore(0).toString(), "a'b.pdf");
        const Risultato<bool> fine = cerca->Successiva();
        QVERIFY(fine && !*fine);
        QCOMPARE(aperta.Prepara("select from where").errore().codice, CodiceErrore::Istruzione);

        // Rows added, then the rows the statistics count: a twentieth more still serves.
        for (const auto& [nuove, contate] : {std::pair{19, 20}, std::pair{1, 20}, std::pair{5, 26}}) {
            for (int i = 0; i < nuove; ++i)
                QVERIFY(!inserisci->Esegui({QString("%1.pdf").arg(i), QDate(2014, 3, 18), "FAT"}).presente());
            aperta.AggiornaStatistiche();
            const QStringList stat = stampe(ProvaSuServer()
                ? "select cast(reltuples as integer) from pg_class where relname = 'posta'"
                : "select stat from sqlite_stat1 where idx='Posta_Tipo'");
            QCOMPARE(stat.value(0).split(' ').first().toInt(), contate);
        }
    }

    void archivioDiVersionePrecedente()
    {
        if (ProvaSuServer())
            QSKIP("only archive files come from an earlier version");
        // The layout an earlier version made: no key column, rows known by
        // their row number alone, one of them already deleted.
        const QString vecchio = ambiente->percorso("vecchio.mdb");
        const QString layout =
            "CREATE TABLE Posta (Stampa TEXT COLLATE NOCASE, Tipo VARCHAR(3) COLLATE NOCASE CONSTRAINT "
            "\"il campo Tipo accetta al massimo 3 caratteri\" CHECK (length(Tipo) <= 3), NumDoc VARCHAR(15), "
            "Data DATE, Codice VARCHAR(15), email TEXT);\n"
            "CREATE INDEX Posta_Tipo ON Posta (Tipo);\n"
            "CREATE TABLE EmailInviate (Stampa TEXT, dtinvio DATETIME, EmailDest TEXT, Esito TEXT);\n"
            "CREATE VIEW qryEmail AS SELECT Posta.Data AS data, Posta.Tipo AS tipo, EmailInviate.dtinvio AS "
            "dtInvio FROM EmailInviate INNER JOIN Posta ON Posta.Stampa = EmailInviate.Stampa;\n"
            "INSERT INTO Posta VALUES ('a.pdf', 'FAT', '1', '2014-03-18', '1', ''), ('b.pdf', 'BOL', '2', "
            "'2014-03-19', '1', ''), ('c.pdf', 'fat', '3', '2014-03-20', '1', '');\n"
            "DELETE FROM Posta WHERE Stampa = 'b.pdf';\n"
            "INSERT INTO EmailInviate VALUES ('c.pdf', '2014-03-21 10:00:00', 'x@esempio.it', 'Inviato');";
        QCOMPARE(QProcess::execute("sqlite3", {vecchio, layout}), 0);

        // Opened as it is: the rows keep their numbers as keys, and everything
        // else stays as it was (case-blind text, sizes, index, view).
        connessione = StringaConnessione(vecchio);
        QCOMPARE(stampe("select Id || ' ' || Stampa from Posta where tipo='FAT' order by Id"),
                 (QStringList{"1 a.pdf", "3 c.pdf"}));
        QCOMPARE(stampe("select tipo || ' ' || dtInvio from qryEmail"),
                 QStringList{"fat 2014-03-21 10:00:00"});
        QCOMPARE(stampe("select count(*) from sqlite_master where name in ('Posta_Tipo', 'qryEmail')"),
                 QStringList{"2"});
        Recordset rs;
        QVERIFY(!rs.ApriTabella(connessione, "Posta").presente());
        rs.AddNew();
        rs.ImpostaValore("Tipo", "FATT");
        QCOMPARE(rs.Update().codice, CodiceErrore::ValoreRifiutato);
        rs.Chiudi();
        aggiungi({"d.pdf"});
        QCOMPARE(stampe("select Id || ' ' || Stampa from Posta order by Id"),
                 (QStringList{"1 a.pdf", "3 c.pdf", "4 d.pdf"}));
    }

    void erroriDelServer()
    {
        if (!ProvaSuServer())
            QSKIP("connection files name a server");
        const auto letti = LeggiCollegamento(archivio);
        QVERIFY(letti);
        const QString parametri = *letti;
        const QHash<QString, QString> p = ParametriCollegamento(parametri);
        const QString server = QString("host=%1 user=%2 ").arg(p.value("host"), p.value("user"));
        const std::tuple<QString, int, QString> casi[] = {
            {QString("host=%1/manca dbname=x").arg(ambiente->cartella()), 3151, "non raggiungibile"},
            {server + "dbname=non_esiste", 3024, "'non_esiste' non esiste sul server"},
            {QString("host=%1 user=sconosciuto dbname=postgres").arg(p.value("host")), 3029,
             "non accetta l'utente 'sconosciuto'"},
            {parametri + " password=segreta", 3029, ".pgpass"},
            // Qt's driver would pass this on as "dbname=x password=segreta".
            {server + "dbname=x;password=segreta", 3343, "«;» non è ammesso"},
            {server + "dbname='x password=segreta", 3343, "virgolette non chiuse"},
            {server + "dbname x", 3343, "riga 3: una parola non è nella forma nome=valore"},
            // Never repeated in a message: it may well be a password.
            {server + "dbname=x\nuser=ufficio Segreta!Pw", 3343, "riga 4: una parola non è"},
            {parametri + "\napplication_name=" + QString(5000, u'x'), 3343,
             "file di collegamento non valido ('" + ambiente->percorso("altro/dati.mdb") + "'), riga 4: troppo lunga"},
            // Quotes, blanks and backslashes reach the server as written.
            {parametri + "\n application_name = 'a \\\\ b\\'c'", 0, ""},
        };
        for (const auto& [collegamento, numero, frammento] : casi) {
            const QString file = ambiente->scriviFile("altro/dati.mdb",
                                                      IntestazioneCollegamento + "# commento\n" + collegamento.toUtf8());
            Connessione c;
            const Errore errore = c.Apri(StringaConnessione(file));
            QVERIFY2(errore.numero() == numero && errore.descrizione.contains(frammento)
                         && !errore.testo().contains("egreta"),
                     qPrintable(errore.testo()));
            if (numero == 0) {
                QSqlQuery nome(c.Database());
                QVERIFY(nome.exec("show application_name") && nome.next());
                QCOMPARE(nome.value(0).toString(), "a \\ b'c");
            }
        }

        // A password file others may read is passed over by libpq: said as such.
        const QString pgpass = ambiente->scriviFile("pgpass", "*:*:*:sconosciuto:x\n");
        qputenv("PGPASSFILE", pgpass.toUtf8());
        const QString sconosciuto = ambiente->scriviFile(
            "altro/dati.mdb", IntestazioneCollegamento + QString("host=%1 user=sconosciuto dbname=x").arg(p.value("host")).toUtf8());
        for (const auto& [permessi, frammento] :
             {std::pair{QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup, "leggibile da altri utenti"},
              std::pair{QFile::ReadOwner | QFile::WriteOwner, "non accetta l'utente 'sconosciuto'"}}) {
            QVERIFY(QFile::setPermissions(pgpass, permessi));
            Connessione c;
            const Errore errore = c.Apri(StringaConnessione(sconosciuto));
            QVERIFY2(errore.descrizione.contains(QLatin1String(frammento)), qPrintable(errore.testo()));
        }
        qunsetenv("PGPASSFILE");

        // The server ends our session: the action fails with a message.
        SuArchivio(archivio, [](QSqlDatabase& altra) {
            QVERIFY(QSqlQuery(altra).exec("select pg_terminate_backend(pid) from pg_stat_activity where "
                                          "datname = current_database() and pid <> pg_backend_pid()"));
        });
        const Errore persa = aperta.Esegui("insert into Posta (Stampa) values ('a.pdf')");
        QVERIFY2(persa.codice == CodiceErrore::CollegamentoInterrotto && persa.descrizione.contains("interrotto"), qPrintable(persa.testo()));
        QCOMPARE(stampe("select count(*) from Posta"), QStringList{"0"});
    }

    // A server on 127.0.0.1 without encryption that asks for a password: only
    // the connection file says what may be sent to it. The listener keeps every
    // byte its one client sends; an SSL request is answered "N", as such a server does.
    void passwordMaiInChiaro()
    {
        if (ProvaSuServer())
            QSKIP("no server needed: run once, on the embedded engine's turn");
        const int ascolto = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in indirizzo{};
        indirizzo.sin_family = AF_INET;
        indirizzo.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t lunghezza = sizeof indirizzo;
        QVERIFY(::bind(ascolto, reinterpret_cast<sockaddr*>(&indirizzo), sizeof indirizzo) == 0 && ::listen(ascolto, 4) == 0
                && ::getsockname(ascolto, reinterpret_cast<sockaddr*>(&indirizzo), &lunghezza) == 0);
        const QByteArray richiestaSsl = QByteArray::fromHex("0000000804d2162f");
        QByteArray ricevuti;
        std::thread server([&] {
            const int cliente = ::accept(ascolto, nullptr, nullptr);
            char dati[512];
            for (ssize_t letti; (letti = ::read(cliente, dati, sizeof dati)) > 0;) {
                ricevuti.append(dati, letti);
                if (ricevuti == richiestaSsl)
                    [[maybe_unused]] const ssize_t scritti = ::write(cliente, "N", 1);
            }
            ::close(cliente);
        });
        const auto ferma = qScopeGuard([&] {
            ::shutdown(ascolto, SHUT_RDWR); // wakes a listener no client reached
            if (server.joinable())
                server.join();
            ::close(ascolto);
        });
        const QString tcp = QString("host=127.0.0.1 port=%1 dbname=x user=ufficio ").arg(ntohs(indirizzo.sin_port));
        for (const char* chiaro : {"disable", "allow", "prefer"}) {
            const QString file = ambiente->scriviFile("tcp/dati.mdb", IntestazioneCollegamento + (tcp + "sslmode=" + chiaro).toUtf8());
            Connessione c;
            const Errore errore = c.Apri(StringaConnessione(file));
            QVERIFY2(errore.codice == CodiceErrore::ArchivioNonValido && errore.descrizione.contains("password in chiaro"), qPrintable(errore.testo()));
        }
        // Without sslmode, encryption is required: the request for it is all
        // the server ever gets, neither the user's name nor a password.
        const QString file = ambiente->scriviFile("tcp/dati.mdb", IntestazioneCollegamento + tcp.toUtf8());
        Connessione c;
        QVERIFY(c.Apri(StringaConnessione(file)).presente());
        server.join();
        QCOMPARE(ricevuti.toHex(), richiestaSsl.toHex());
    }

private:
    std::unique_ptr<AmbienteProva> ambiente;
    QString archivio;
    QString connessione;
    Connessione aperta;

    // Adds rows "Stampa|Tipo|NumDoc|data|Codice" through the table, as the import window did.
    void aggiungi(const QStringList& righe)
    {
        for (const QString& riga : righe) {
            Recordset rs;
            QVERIFY(!rs.ApriTabella(connessione, "Posta").presente());
            rs.AddNew();
            QVERIFY(!rs.ImpostaValore("email", QString()).presente());
            const QStringList valori = riga.split('|');
            for (int i = 0; i < valori.size(); ++i)
                QVERIFY(!rs.ImpostaValore(QStringList{"Stampa", "Tipo", "NumDoc", "data", "Codice"}[i], valori[i]).presente());
            const Errore errore = rs.Update();
            QVERIFY2(!errore.presente(), qPrintable(errore.testo()));
        }
    }

    // The first column of every row, or the error's text.
    QStringList stampe(const QString& istruzione)
    {
        Recordset rs;
        if (const Errore errore = rs.ApriSql(connessione, istruzione); errore.presente())
            return {errore.testo()};
        QStringList righe;
        for (; !rs.FineFile(); rs.MoveNext())
            righe.append(rs.Valore(0).toString());
        return righe;
    }
};

QTEST_GUILESS_MAIN(TestArchivio)
#include "tst_archivio.moc"
