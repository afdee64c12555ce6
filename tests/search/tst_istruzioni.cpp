#include "search/IstruzioniRicerca.h"

#include <QTest>

// The statements go to the archive as they are, and the lookup list shows
// them: every blank counts.
class TestIstruzioni : public QObject
{
    Q_OBJECT

private slots:
    void statementi_data();
    void statementi();
};

void TestIstruzioni::statementi_data()
{
    QTest::addColumn<int>("modo");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("codice");
    QTest::addColumn<bool>("tipoSempre");
    QTest::addColumn<QString>("attesa");

    const QString tutti = QStringLiteral("Tutti");
    // 1 to 31 March 2014 (dates below), year 2014.
    QTest::newRow("ristampa, numero, tutti") << 2 << tutti << " 123 " << "X" << false
        << "Select Stampa, Tipo, NumDoc as Num_Documento, year(data) as anno, Codice as Clien_Forn, email from Posta where year(data) =2014 and NumDoc='123' order by tipo,data;";
    QTest::newRow("ristampa, codice, tutti") << 3 << " Tutti " << "1" << " C01 " << false
        << "Select Stampa, Tipo, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where data between(#03/01/2014#) and (#03/31/2014#)and Codice='C01' order by tipo,data;";
    QTest::newRow("ristampa, codice, un tipo") << 3 << "BOL" << "" << "C01" << false
        << "Select Stampa, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where  data between(#03/01/2014#) and (#03/31/2014#) and tipo='BOL' and Codice='C01' order by data, NumDoc;";
    QTest::newRow("ristampa, senza tipi") << 5 << "FAT" << "1" << "C" << false
        << "Select Stampa, Tipo, data, email from Posta where data between(#03/01/2014#) and (#03/31/2014#) order by tipo,data;";

    QTest::newRow("copia, data, un tipo") << 1 << "FAT" << "" << "" << true
        << "Select Stampa, Tipo, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where  data between(#03/01/2014#) and (#03/31/2014#) and tipo='FAT' order by data, NumDoc;";
    QTest::newRow("copia, numero, un tipo") << 2 << "FAT" << "123" << "" << true
        << "Select Stampa, Tipo, NumDoc as Num_Documento, year(data) as anno, Codice as Clien_Forn, email from Posta where  year(data) =2014 and NumDoc='123' and tipo='FAT' order by data, NumDoc;";
    QTest::newRow("copia, codice, un tipo") << 3 << "BOL" << "" << "C01" << true
        << "Select Stampa, Tipo, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where  data between(#03/01/2014#) and (#03/31/2014#) and tipo='BOL' and Codice='C01' order by data, NumDoc;";
    QTest::newRow("copia, senza tipi") << 5 << tutti << "" << "" << true
        << "Select Stampa, Tipo, data, email from Posta where data between(#03/01/2014#) and (#03/31/2014#) order by tipo,data;";

    // "Tutti" counts only as written: in lower case it is a type.
    QTest::newRow("tutti minuscolo") << 1 << "tutti" << "" << "" << false
        << "Select Stampa, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where  data between(#03/01/2014#) and (#03/31/2014#) and tipo='tutti' order by data, NumDoc;";
    // A quote typed by the user stays a character of the value.
    QTest::newRow("apici") << 3 << "F'T" << "" << "D'ANGELO" << false
        << "Select Stampa, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where  data between(#03/01/2014#) and (#03/31/2014#) and tipo='F''T' and Codice='D''ANGELO' order by data, NumDoc;";
    QTest::newRow("modo sconosciuto") << 4 << tutti << "" << "" << false << "";
}

void TestIstruzioni::statementi()
{
    QFETCH(int, modo);
    QFETCH(QString, tipo);
    QFETCH(QString, numero);
    QFETCH(QString, codice);
    QFETCH(bool, tipoSempre);
    QFETCH(QString, attesa);
    const CriteriRicerca criteri{QDate(2014, 3, 1), QDate(2014, 3, 31), tipo, QStringLiteral("2014"), numero,
                                 codice};
    QCOMPARE(IstruzioneDocumenti(modo, criteri, tipoSempre), attesa);
}

QTEST_APPLESS_MAIN(TestIstruzioni)
#include "tst_istruzioni.moc"
