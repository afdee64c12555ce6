#include "AmbienteProva.h"
#include "shell/ApriStampaFile.h"

#include <QTest>

class TestShell : public QObject
{
    Q_OBJECT
private slots:
    void testiDegliEsiti();
    void apreConIlVerbo();
    void fileOCartellaMancanti();
};

void TestShell::testiDegliEsiti()
{
    const QList<std::pair<int, const char*>> esiti{
        {42, ""}, {33, ""}, {2, "File Non Trovato"}, {3, "Path Non Trovata"}, {5, "Accesso negato alla risorsa"},
        {8, "Out of memory"}, {11, "File EXE non valido o Errore immagine"}, {26, "Violazione della condivisione"},
        {27, "Associazione File non valida o Incompleta"}, {28, "DDE Time out"}, {29, "DDE transazione fallita"},
        {30, "DDE occupato"}, {31, "Nessuna associazione per l'estensione del file"}, {32, "DLL Non Trovata"},
        {0, "Errore Sconosciuto durante Stampa File PDF"}, {4, "Errore Sconosciuto durante Stampa File PDF"}};
    for (const auto& [codice, testo] : esiti)
        QVERIFY2(TestoEsitoApertura(codice) == QString::fromUtf8(testo), qPrintable(QString::number(codice)));
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
