#include "AmbienteProva.h"
#include "shell/ApriStampaFile.h"

#include <QTest>

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void testiDegliEsiti_data();
    void testiDegliEsiti();
    void apreConIlVerbo();
    void fileOCartellaMancanti();
};

void TestShell::testiDegliEsiti_data()
{
    QTest::addColumn<int>("codice");
    QTest::addColumn<QString>("testo");
    QTest::newRow("success") << 42 << QString();
    QTest::newRow("33 is success") << 33 << QString();
    QTest::newRow("2") << 2 << "File Non Trovato";
    QTest::newRow("3") << 3 << "Path Non Trovata";
    QTest::newRow("5") << 5 << "Accesso negato alla risorsa";
    QTest::newRow("8") << 8 << "Out of memory";
    QTest::newRow("11") << 11 << "File EXE non valido o Errore immagine";
    QTest::newRow("26") << 26 << "Violazione della condivisione";
    QTest::newRow("27") << 27 << "Associazione File non valida o Incompleta";
    QTest::newRow("28") << 28 << "DDE Time out";
    QTest::newRow("29") << 29 << "DDE transazione fallita";
    QTest::newRow("30") << 30 << "DDE occupato";
    QTest::newRow("31") << 31 << "Nessuna associazione per l'estensione del file";
    QTest::newRow("32") << 32 << "DLL Non Trovata";
    QTest::newRow("0") << 0 << "Errore Sconosciuto durante Stampa File PDF";
    QTest::newRow("4") << 4 << "Errore Sconosciuto durante Stampa File PDF";
}

void TestShell::testiDegliEsiti()
{
    QFETCH(int, codice);
    QFETCH(QString, testo);
    QCOMPARE(TestoEsitoApertura(codice), testo);
}

void TestShell::apreConIlVerbo()
{
    AmbienteProva ambiente;
    const QString file = ambiente.scriviFile(QStringLiteral("doc.pdf"), "%PDF");
    QCOMPARE(ApriStampaFile(file, QStringLiteral("open")), QString());
    QCOMPARE(ApriStampaFile(file, QStringLiteral("Open")), QString());
    QCOMPARE(ambiente.apertore.aperti, (QStringList{file, file}));
    QCOMPARE(ambiente.apertore.ridotte, (QList<bool>{false, true}));

    ambiente.apertore.esito = 31;
    QCOMPARE(ApriStampaFile(file, QStringLiteral("open")),
             QStringLiteral("Nessuna associazione per l'estensione del file"));
}

void TestShell::fileOCartellaMancanti()
{
    AmbienteProva ambiente;
    QCOMPARE(ApriStampaFile(ambiente.percorso(QStringLiteral("manca.pdf")), QStringLiteral("open")),
             QStringLiteral("File Non Trovato"));
    QCOMPARE(ApriStampaFile(ambiente.percorso(QStringLiteral("manca/doc.pdf")), QStringLiteral("open")),
             QStringLiteral("Path Non Trovata"));
    QVERIFY(ambiente.apertore.aperti.isEmpty());
}

QTEST_GUILESS_MAIN(TestShell)
#include "tst_shell.moc"
