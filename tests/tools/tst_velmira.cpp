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
    void guidaEUsoErrato();
    void creaArchivio();
    void importa();
    void importaNonRiuscita();
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

QByteArray contenuto(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<nessun file>");
}

// SQLite's verdict on the file, and its rows: -1 when a row is incomplete
// or a document is there twice.
std::pair<QString, int> statoArchivio(const QString& database)
{
    std::pair<QString, int> stato{QString(), -2};
    SuArchivio(database, [&stato](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (q.exec("pragma integrity_check") && q.next())
            stato.first = q.value(0).toString();
        if (q.exec("select count(*), count(distinct Data || '|' || Codice || '|' || Tipo || '|' || "
                   "NumDoc), sum(Stampa is not null and Tipo is not null and NumDoc is not null and "
                   "Data is not null and Codice is not null and email is not null) from Posta")
            && q.next()) {
            const int righe = q.value(0).toInt();
            stato.second = q.value(1).toInt() == righe && q.value(2).toInt() == righe ? righe : -1;
        }
    });
    return stato;
}

} // namespace

void TestVelmira::guidaEUsoErrato()
{
    const Esito esito = velmira({"--help"});
    QCOMPARE(esito.codice, 0);
    const QString testo = QString::fromUtf8(esito.uscita);
    QVERIFY(testo.contains("velmira importa --cartella-pdf"));
    QVERIFY(testo.contains("Esito: 0 importazione eseguita"));

    const Esito sconosciuto = velmira({"esporta"});
    QCOMPARE(sconosciuto.codice, 2);
    QVERIFY(sconosciuto.errori.contains("comando sconosciuto: esporta"));
    const Esito senzaValore = velmira({"importa", "--cartella-pdf"});
    QCOMPARE(senzaValore.codice, 2);
    QVERIFY(senzaValore.errori.contains("manca il valore di --cartella-pdf"));
}

void TestVelmira::creaArchivio()
{
    AmbienteProva ambiente;
    const QString file = ambiente.percorso("nuovo.mdb");
    QCOMPARE(velmira({"crea-archivio", file}).codice, 0);
    QCOMPARE(statoArchivio(file), std::pair(QString("ok"), 0));
    // An existing archive is refused (and left as it is: see the archive's tests).
    const Esito seconda = velmira({"crea-archivio", file});
    QCOMPARE(seconda.codice, 1);
    QVERIFY2(seconda.errori.contains("esiste già"), qPrintable(seconda.errori));
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
    QCOMPARE(esito.uscita, contenuto(PercorsoElencoImportazione()));
    QCOMPARE(p.archivio(), (QStringList{"000123FAT000045220140318.pdf|123|FAT|452|2014-03-18|",
                                        "C00123BOL000000120150101.pdf|C00123|BOL|1|2015-01-01|"}));
}

void TestVelmira::importaNonRiuscita()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    // A path that fails its check: no run, no list.
    QStringList argomenti = argomentiImporta(p);
    argomenti[4] = p.marvena + "/manca.mdb";
    const Esito percorso = velmira(argomenti);
    QCOMPARE(percorso.codice, 2);
    QVERIFY2(percorso.errori.contains("Manca il percorso del database"), qPrintable(percorso.errori));
    QCOMPARE(percorso.uscita, QByteArray());
    QVERIFY(!QFile::exists(PercorsoElencoImportazione()));

    // A run stopped by an error: the message, and the list of what was done.
    ambiente.scriviFile("server/marvena/spooling.ini", "[AS/400]\nLunCodCli=6\nLunTipDoc=3\n");
    const Esito lunghezze = velmira(argomentiImporta(p));
    QCOMPARE(lunghezze.codice, 1);
    QVERIFY2(lunghezze.errori.contains("manca la lunghezza LunNumDoc"), qPrintable(lunghezze.errori));
    QCOMPARE(lunghezze.uscita, contenuto(PercorsoElencoImportazione()));
    QVERIFY(lunghezze.uscita.contains("manca la lunghezza LunNumDoc"));
    QVERIFY(lunghezze.uscita.endsWith("Nessun nuovo file archiviato.\r\n"));
}

void TestVelmira::dueImportazioniInsieme()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    p.documentiNumerati(3000);
    // Two workstations, each with its own program folder.
    QDir().mkpath(ambiente.percorso("seconda"));
    QStringList secondi = argomentiImporta(p);
    secondi.last() = ambiente.percorso("seconda");

    QProcess prima;
    QProcess seconda;
    prima.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomentiImporta(p));
    seconda.start(QStringLiteral(ESEGUIBILE_VELMIRA), secondi);
    QVERIFY(prima.waitForFinished(120000) && seconda.waitForFinished(120000));
    QCOMPARE(prima.exitCode() + seconda.exitCode(), 0);

    QCOMPARE(statoArchivio(p.database), std::pair(QString("ok"), 3000));
    // Between them the two lists name every file exactly once.
    const QString tutte = QString::fromUtf8(prima.readAllStandardOutput() + seconda.readAllStandardOutput());
    QCOMPARE(tutte.count(p.pdf + "/"), 3000);
}

void TestVelmira::interrottaBruscamente()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    p.documentiNumerati(30000);
    QProcess processo;
    processo.start(QStringLiteral(ESEGUIBILE_VELMIRA), argomentiImporta(p));
    QVERIFY(processo.waitForStarted());
    // Killed once some batches are in.
    QTRY_VERIFY_WITH_TIMEOUT(QFile(PercorsoElencoImportazione()).size() > 2000, 60000);
    processo.kill();
    processo.waitForFinished();

    const auto [integrita, righe] = statoArchivio(p.database);
    QCOMPARE(integrita, "ok");
    QVERIFY2(righe > 0 && righe < 30000, qPrintable(QString::number(righe)));

    const Esito ripresa = velmira(argomentiImporta(p));
    QCOMPARE(ripresa.codice, 0);
    QVERIFY(ripresa.uscita.endsWith(QStringLiteral("Archiviati n.%1 nuovi files.\r\n")
                                        .arg(30000 - righe)
                                        .toUtf8()));
    QCOMPARE(statoArchivio(p.database), std::pair(QString("ok"), 30000));
}

QTEST_GUILESS_MAIN(TestVelmira)
#include "tst_velmira.moc"
