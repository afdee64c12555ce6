#include "AmbienteProva.h"
#include "../import/ProvaImportazione.h"
#include "import/cImporta.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#ifndef ESEGUIBILE_VELMIRA
#error "ESEGUIBILE_VELMIRA must name the velmira executable"
#endif

// The command-line tool run as a real program.
class TestVelmira : public QObject
{
    Q_OBJECT

private slots:
    void guida();
    void creaArchivio();
    void importa();
    void percorsoErrato();
    void lunghezzeNonValide();
    void dueImportazioniInsieme();
    void interrottaBruscamente();
};

namespace {

struct Esito
{
    int codice;
    QByteArray uscita;
    QString errori;
};

QStringList argomentiImporta(const ProvaImportazione& p)
{
    return {"importa",       "--cartella-pdf", p.pdf, "--database", p.database, "--file-ini",
            p.fileIni,       "--cartella-programma", p.ambiente.cartella()};
}

Esito velmira(const QStringList& argomenti)
{
    QProcess processo;
    processo.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomenti);
    if (!processo.waitForFinished(120000))
        return {-1, {}, QStringLiteral("non terminato")};
    return {processo.exitStatus() == QProcess::NormalExit ? processo.exitCode() : -1,
            processo.readAllStandardOutput(), QString::fromUtf8(processo.readAllStandardError())};
}

QStringList nomiNumerati(int quanti)
{
    QStringList nomi;
    for (int i = 1; i <= quanti; ++i)
        nomi.append("000001FAT" + QStringLiteral("%1").arg(i, 7, 10, QLatin1Char('0')) + "20150101.pdf");
    return nomi;
}

// Rows, distinct document keys, and the engine's own verdict on the file.
struct StatoArchivio
{
    int righe = -1;
    int chiavi = -1;
    QString integrita;
};

StatoArchivio statoArchivio(const QString& database)
{
    StatoArchivio stato;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "verifica");
        db.setDatabaseName(database);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec("pragma integrity_check") && q.next())
                stato.integrita = q.value(0).toString();
            if (q.exec("select count(*) from Posta where Stampa is not null and Tipo is not null "
                       "and NumDoc is not null and Data is not null and Codice is not null "
                       "and email is not null")
                && q.next())
                stato.righe = q.value(0).toInt();
            if (q.exec("select count(*) from (select distinct Data, Codice, Tipo, NumDoc from Posta)")
                && q.next())
                stato.chiavi = q.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase("verifica");
    return stato;
}

} // namespace

void TestVelmira::guida()
{
    const Esito esito = velmira({"--help"});
    QCOMPARE(esito.codice, 0);
    const QString testo = QString::fromUtf8(esito.uscita);
    QVERIFY(testo.contains("velmira importa --cartella-pdf"));
    QVERIFY(testo.contains("velmira crea-archivio FILE"));
    QVERIFY(testo.contains("Esito: 0 importazione eseguita"));

    const Esito sconosciuto = velmira({"esporta"});
    QCOMPARE(sconosciuto.codice, 2);
    QVERIFY(sconosciuto.errori.contains("comando sconosciuto: esporta"));
}

void TestVelmira::creaArchivio()
{
    AmbienteProva ambiente;
    const QString file = ambiente.percorso("nuovo.mdb");
    const Esito prima = velmira({"crea-archivio", file});
    QCOMPARE(prima.codice, 0);
    QCOMPARE(statoArchivio(file).righe, 0);

    const QByteArray contenuto = [&] {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    const Esito seconda = velmira({"crea-archivio", file});
    QCOMPARE(seconda.codice, 1);
    QVERIFY2(seconda.errori.contains("esiste già"), qPrintable(seconda.errori));
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), contenuto);
}

void TestVelmira::importa()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    p.documenti({"000123FAT000045220140318.pdf", "C00123BOL000000120150101.pdf", "leggimi.txt"});
    const Esito esito = velmira(argomentiImporta(p));
    QCOMPARE(esito.codice, 0);
    QCOMPARE(esito.errori, QString());
    QCOMPARE(p.elenco(), (QStringList{"elenco file elaborati:", "",
                                      p.pdf + "/000123FAT000045220140318.pdf", "",
                                      p.pdf + "/C00123BOL000000120150101.pdf", "",
                                      "Archiviati n.2 nuovi files."}));
    QFile elenco(PercorsoElencoImportazione());
    QVERIFY(elenco.open(QIODevice::ReadOnly));
    QCOMPARE(esito.uscita, elenco.readAll());
    QCOMPARE(p.archivio(), (QStringList{"000123FAT000045220140318.pdf|123|FAT|452|2014-03-18|",
                                        "C00123BOL000000120150101.pdf|C00123|BOL|1|2015-01-01|"}));
}

void TestVelmira::percorsoErrato()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    QStringList argomenti = argomentiImporta(p);
    argomenti[4] = p.marvena + "/manca.mdb";
    const Esito esito = velmira(argomenti);
    QCOMPARE(esito.codice, 2);
    QVERIFY2(esito.errori.contains("Manca il percorso del database"), qPrintable(esito.errori));
    QCOMPARE(esito.uscita, QByteArray());
    QVERIFY(!QFile::exists(PercorsoElencoImportazione()));

    const Esito senzaValore = velmira({"importa", "--cartella-pdf"});
    QCOMPARE(senzaValore.codice, 2);
    QVERIFY(senzaValore.errori.contains("manca il valore di --cartella-pdf"));
}

void TestVelmira::lunghezzeNonValide()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    ambiente.scriviFile("server/marvena/spooling.ini", "[AS/400]\nLunCodCli=6\nLunTipDoc=3\n");
    const Esito esito = velmira(argomentiImporta(p));
    QCOMPARE(esito.codice, 1);
    QVERIFY2(esito.errori.contains("manca la lunghezza LunNumDoc"), qPrintable(esito.errori));
    QVERIFY(esito.uscita.startsWith("elenco file elaborati:\r\n"));
    QVERIFY(esito.uscita.endsWith("Nessun nuovo file archiviato.\r\n"));
}

void TestVelmira::dueImportazioniInsieme()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    p.documenti(nomiNumerati(3000));
    // Two workstations, each with its own program folder.
    QDir().mkpath(ambiente.percorso("seconda"));
    QStringList secondi = argomentiImporta(p);
    secondi.last() = ambiente.percorso("seconda");

    QProcess prima;
    QProcess seconda;
    prima.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomentiImporta(p));
    seconda.start(QStringLiteral(ESEGUIBILE_VELMIRA), secondi);
    QVERIFY(prima.waitForFinished(120000) && seconda.waitForFinished(120000));
    QCOMPARE(prima.exitCode(), 0);
    QCOMPARE(seconda.exitCode(), 0);

    const StatoArchivio stato = statoArchivio(p.database);
    QCOMPARE(stato.integrita, "ok");
    QCOMPARE(stato.righe, 3000);
    QCOMPARE(stato.chiavi, 3000);
    // Between them the two lists name every file exactly once.
    const QString tutte = QString::fromUtf8(prima.readAllStandardOutput() + seconda.readAllStandardOutput());
    QCOMPARE(tutte.count(p.pdf + "/"), 3000);
}

void TestVelmira::interrottaBruscamente()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    p.documenti(nomiNumerati(30000));
    QProcess processo;
    processo.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomentiImporta(p));
    QVERIFY(processo.waitForStarted());
    // Killed once some batches are in.
    QTRY_VERIFY_WITH_TIMEOUT(QFile(PercorsoElencoImportazione()).size() > 2000, 60000);
    processo.kill();
    processo.waitForFinished();

    const StatoArchivio dopo = statoArchivio(p.database);
    QCOMPARE(dopo.integrita, "ok");
    QVERIFY2(dopo.righe > 0 && dopo.righe < 30000, qPrintable(QString::number(dopo.righe)));
    QCOMPARE(dopo.chiavi, dopo.righe);

    const Esito ripresa = velmira(argomentiImporta(p));
    QCOMPARE(ripresa.codice, 0);
    QVERIFY(ripresa.uscita.endsWith(QStringLiteral("Archiviati n.%1 nuovi files.\r\n")
                                        .arg(30000 - dopo.righe)
                                        .toUtf8()));
    const StatoArchivio fine = statoArchivio(p.database);
    QCOMPARE(fine.righe, 30000);
    QCOMPARE(fine.chiavi, 30000);
}

QTEST_GUILESS_MAIN(TestVelmira)
#include "tst_velmira.moc"
