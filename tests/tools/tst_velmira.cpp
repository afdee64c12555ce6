#include "../import/ProvaImportazione.h"
#include "archive/Archivio.h"
#include "import/cImporta.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#ifndef ESEGUIBILE_VELMIRA
#error "ESEGUIBILE_VELMIRA must name the velmira executable"
#endif

namespace {

struct Esito
{
    int codice;
    QByteArray uscita;
    QString errori;
};

// An import of `p` whose list goes into `programma` (the test's folder when empty).
QStringList argomentiImporta(const ProvaImportazione& p, const QString& programma = {})
{
    return {"importa",  "--cartella-pdf",       p.pdf,
            "--database", p.database,           "--file-ini",
            p.fileIni,  "--cartella-programma", programma.isEmpty() ? p.ambiente.cartella() : programma};
}

Esito velmira(const QStringList& argomenti)
{
    QProcess processo;
    processo.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomenti);
    // Generous: on a busy machine a large run on the server takes its time.
    if (!processo.waitForFinished(400000))
        return {-1, {}, QStringLiteral("non terminato")};
    return {processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1,
            processo.readAllStandardOutput(), QString::fromUtf8(processo.readAllStandardError())};
}

// The engine's verdict on the archive (the embedded file's integrity check;
// a server keeps its own), then the rows, the distinct document keys and the
// complete rows: "ok|n|n|n" when sound.
QStringList statoArchivio(const QString& database)
{
    QStringList stato;
    SuArchivio(database, [&stato](QSqlDatabase& db) {
        QSqlQuery q(db);
        const QString verdetto = ProvaSuServer() ? "'ok'" : "(select * from pragma_integrity_check)";
        if (q.exec("select " + verdetto + ", count(*), count(distinct Data || '|' || Codice || '|' || Tipo || '|' "
                   "|| NumDoc), count(Stampa || Tipo || NumDoc || Data || Codice || email) from Posta")
            && q.next())
            for (int i = 0; i < 4; ++i)
                stato.append(q.value(i).toString());
    });
    return stato;
}

} // namespace

// The command-line tool run as a real program.
class TestVelmira : public QObject
{
    Q_OBJECT

private slots:
    void guidaEUsoErrato()
    {
        AmbienteProva ambiente;
        const QString archivio = ambiente.percorso("nuovo.mdb");
        const std::tuple<QStringList, int, QString> casi[] = {
            {{"--help"}, 0, "velmira importa --cartella-pdf"},
            {{"--help"}, 0, "Esito: 0 importazione eseguita"},
            {{"esporta"}, 2, "comando sconosciuto: esporta"},
            {{"importa", "--cartella-pdf"}, 2, "manca il valore di --cartella-pdf"},
            {{"crea-archivio", archivio}, 0, ""},
            {{"crea-archivio", archivio}, 1, "esiste già"}};
        for (const auto& [argomenti, codice, frammento] : casi) {
            const Esito esito = velmira(argomenti);
            const QString testo = QString::fromUtf8(esito.uscita) + esito.errori;
            QVERIFY2(esito.codice == codice && testo.contains(frammento), qPrintable(argomenti.join(' ') + ": " + testo));
        }
        QCOMPARE(statoArchivio(archivio), (QStringList{"ok", "0", "0", "0"}));
    }

    void importa()
    {
        AmbienteProva ambiente;
        ProvaImportazione p(ambiente, {"000123FAT000045220140318.pdf", "C00123BOL000000120150101.pdf", "leggimi.txt"});
        const Esito esito = velmira(argomentiImporta(p));
        QCOMPARE(esito.codice, 0);
        QCOMPARE(esito.errori, QString());
        QCOMPARE(p.elenco(), Elenco({p.pdf + "/000123FAT000045220140318.pdf", p.pdf + "/C00123BOL000000120150101.pdf",
                                     "Archiviati n.2 nuovi files."}));
        QCOMPARE(esito.uscita, p.elenco().join("\r\n").toUtf8() + "\r\n");
        QCOMPARE(p.archivio(), (QStringList{"000123FAT000045220140318.pdf|123|FAT|452|2014-03-18|",
                                            "C00123BOL000000120150101.pdf|C00123|BOL|1|2015-01-01|"}));
    }

    void importaNonRiuscita()
    {
        AmbienteProva ambiente;
        ProvaImportazione p(ambiente);
        // A path that fails its check: no run, no list.
        QStringList argomenti = argomentiImporta(p);
        argomenti[4] = p.marvena + "/manca.mdb";
        const Esito percorso = velmira(argomenti);
        QVERIFY2(percorso.codice == 2 && percorso.errori.contains("Manca il percorso del database"),
                 qPrintable(percorso.errori));
        QVERIFY(percorso.uscita.isEmpty() && !QFile::exists(PercorsoElencoImportazione()));

        // A run stopped by an error: the message, and the list of what was done.
        ambiente.scriviFile("server/marvena/spooling.ini", "[AS/400]\nLunCodCli=6\nLunTipDoc=3\n");
        const Esito lunghezze = velmira(argomentiImporta(p));
        QVERIFY2(lunghezze.codice == 1 && lunghezze.errori.contains("manca la lunghezza LunNumDoc"),
                 qPrintable(lunghezze.errori));
        QCOMPARE(lunghezze.uscita, p.elenco().join("\r\n").toUtf8() + "\r\n");
        QVERIFY(lunghezze.uscita.contains("manca la lunghezza LunNumDoc")
                && lunghezze.uscita.endsWith("Nessun nuovo file archiviato.\r\n"));
    }

    void dueImportazioniInsieme()
    {
        AmbienteProva ambiente;
        ProvaImportazione p(ambiente, Numerati(3000));
        // Two workstations, each with its own program folder.
        QProcess prima;
        QProcess seconda;
        prima.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomentiImporta(p));
        QDir().mkpath(ambiente.percorso("seconda"));
        seconda.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomentiImporta(p, ambiente.percorso("seconda")));
        QVERIFY(prima.waitForFinished(400000) && seconda.waitForFinished(400000));
        QCOMPARE(prima.exitCode() + seconda.exitCode(), 0);
        QCOMPARE(statoArchivio(p.database), (QStringList{"ok", "3000", "3000", "3000"}));
        // Between them the two lists name every file exactly once.
        const QString tutte = QString::fromUtf8(prima.readAllStandardOutput() + seconda.readAllStandardOutput());
        QCOMPARE(tutte.count(p.pdf + "/"), 3000);
    }

    void interrottaBruscamente()
    {
        AmbienteProva ambiente;
        // Enough files for the kill to land halfway; a server takes each file
        // in more steps than the embedded engine.
        const int documenti = ProvaSuServer() ? 5000 : 30000;
        ProvaImportazione p(ambiente, Numerati(documenti));
        const auto completo = [](int righe) { return QStringList{"ok"} + QStringList(3, QString::number(righe)); };
        QProcess processo;
        processo.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomentiImporta(p));
        // Killed once some batches are in.
        QTRY_VERIFY_WITH_TIMEOUT(QFile(PercorsoElencoImportazione()).size() > 2000, 60000);
        processo.kill();
        processo.waitForFinished();

        const QStringList stato = statoArchivio(p.database);
        const int righe = stato.value(1).toInt();
        QCOMPARE(stato, completo(righe));
        QVERIFY2(righe > 0 && righe < documenti, qPrintable(stato.value(1)));

        // Again, with a second workstation importing the same folder at the
        // same time: the one that is killed leaves the other to finish.
        QDir().mkpath(ambiente.percorso("seconda"));
        QProcess seconda;
        seconda.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomentiImporta(p, ambiente.percorso("seconda")));
        processo.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomentiImporta(p));
        QTRY_VERIFY_WITH_TIMEOUT(statoArchivio(p.database).value(1).toInt() > righe + 50, 60000);
        processo.kill();
        processo.waitForFinished();
        QVERIFY(seconda.waitForFinished(400000) && seconda.exitCode() == 0);
        QCOMPARE(statoArchivio(p.database), completo(documenti));
        QVERIFY(velmira(argomentiImporta(p)).uscita.endsWith("Nessun nuovo file archiviato.\r\n"));
    }

    void archivioPortatoSulServer()
    {
        if (!ProvaSuServer())
            QSKIP("the move goes to a server");
        AmbienteProva ambiente;
        ProvaImportazione p(ambiente, {"000123FAT000045220140318.pdf", "000124BOL000000720150102.pdf"});
        // The office's archive file, filled by two runs (the second after a PDF went).
        const QString vecchio = ambiente.percorso("vecchio.mdb");
        QVERIFY(!CreaArchivio(vecchio).presente());
        QStringList argomenti = argomentiImporta(p);
        argomenti[4] = vecchio;
        QCOMPARE(velmira(argomenti).codice, 0);
        QFile::remove(p.pdf + "/000123FAT000045220140318.pdf");
        p.documenti({"000125NCR000000320150105.pdf"});
        QCOMPARE(velmira(argomenti).codice, 0);
        SuArchivio(vecchio, [](QSqlDatabase& db) {
            QVERIFY(QSqlQuery(db).exec("insert into EmailInviate (Stampa, dtinvio, EmailDest, Esito) values "
                                       "('000125NCR000000320150105.pdf', '2015-01-06 09:30:00', 'a@b.it', 'Inviato')"));
        });

        const QString nuovo = ambiente.percorso("nuovo.mdb");
        const QString parametri = NuovoDatabaseProva();
        const Esito creato = velmira({"crea-archivio", nuovo, "--server", parametri});
        QVERIFY2(creato.codice == 0, qPrintable(creato.errori));
        QVERIFY(velmira({"crea-archivio", ambiente.percorso("ancora.mdb"), "--server", parametri}).errori.contains(
            "contiene già le tabelle"));
        QCOMPARE(velmira({"crea-archivio", ambiente.percorso("x.mdb"), "--server", parametri + " password=x"}).codice, 1);
        QVERIFY(!QFile::exists(ambiente.percorso("ancora.mdb")) && !QFile::exists(ambiente.percorso("x.mdb")));

        const Esito trasferito = velmira({"trasferisci", vecchio, nuovo});
        QVERIFY2(trasferito.codice == 0 && trasferito.errori.contains("\rTrasferimento: 3 di 3 righe"),
                 qPrintable(trasferito.errori));
        // Row for row, keys included; the server's next key follows them.
        QStringList righe;
        SuArchivio(nuovo, [&righe](QSqlDatabase& db) {
            QSqlQuery q(db);
            QVERIFY(q.exec("insert into posta (stampa) values ('nuova.pdf')"));
            QVERIFY(q.exec("select id || ' ' || stampa || ' ' || coalesce(tipo, '') || ' ' || coalesce(cast(data as text), '') "
                           "from posta union all select tipo || ' ' || dtinvio from qryemail order by 1"));
            while (q.next())
                righe.append(q.value(0).toString());
        });
        QCOMPARE(righe, (QStringList{"2 000124BOL000000720150102.pdf BOL 2015-01-02",
                                     "3 000125NCR000000320150105.pdf NCR 2015-01-05", "4 nuova.pdf  ",
                                     "NCR 2015-01-06 09:30:00"}));
        const Esito ancora = velmira({"trasferisci", vecchio, nuovo});
        QVERIFY2(ancora.codice == 1 && ancora.errori.contains("contiene già 3 righe nella tabella Posta"),
                 qPrintable(ancora.errori));
        QVERIFY(velmira({"trasferisci", vecchio, vecchio}).errori.contains("non è un file di collegamento"));
    }
};

QTEST_GUILESS_MAIN(TestVelmira)
#include "tst_velmira.moc"
