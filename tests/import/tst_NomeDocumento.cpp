#include "AmbienteProva.h"
#include "import/NomeDocumento.h"

#include <QtTest>

// Cutting document file names into their archive key and row.
class TestNomeDocumento : public QObject
{
    Q_OBJECT

private slots:
    void lunghezza_data();
    void lunghezza();
    void scomponi_data();
    void scomponi();
    void normalizza_data();
    void normalizza();
    void convertiData();
    void lunghezzeDalFile_data();
    void lunghezzeDalFile();
};

namespace {
const LunghezzeCampi standard{6, 3, 7};
}

void TestNomeDocumento::lunghezza_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<bool>("nonValida");
    QTest::newRow("esempio") << "000123FAT000045220140318.pdf" << false;
    QTest::newRow("27 caratteri") << "000123FAT00004522014031.pdf" << true;
    QTest::newRow("29 caratteri") << "000123FAT0000452201403188.pdf" << true;
    QTest::newRow("finale .PDF") << "000123FAT000045220140318.PDF" << false;
    QTest::newRow("finale .txt") << "000123FAT000045220140318.txt" << false;
    QTest::newRow("finale _001") << "000123FAT000045220140318_001" << false;
    QTest::newRow("vuoto") << "" << true;
}

void TestNomeDocumento::lunghezza()
{
    QFETCH(QString, nome);
    QFETCH(bool, nonValida);
    QCOMPARE(LunghezzaNonValida(nome, standard), nonValida);
}

void TestNomeDocumento::scomponi_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QStringList>("chiave");
    QTest::addColumn<int>("scarto");
    const int nessuno = int(ScartoChiave::Nessuno);
    QTest::newRow("esempio") << "000123FAT000045220140318.pdf"
                             << QStringList{"000123", "FAT", "0000452", "18/03/2014"} << nessuno;
    QTest::newRow("codice con lettera") << "C00123BOL000000120150101.pdf"
                                        << QStringList{"C00123", "BOL", "0000001", "01/01/2015"}
                                        << nessuno;
    QTest::newRow("tipo con spazio") << "000123FA 000045220140318.pdf"
                                     << QStringList{"000123", "FA ", "0000452", "18/03/2014"}
                                     << nessuno;
    QTest::newRow("data già leggibile") << "000123FAT000045218-03-14.pdf"
                                        << QStringList{"000123", "FAT", "0000452", "18-03-14"}
                                        << nessuno;
    QTest::newRow("numero di zeri") << "000123FAT000000020140318.pdf" << QStringList{"", "", "", ""}
                                    << int(ScartoChiave::NumeroVuoto);
    QTest::newRow("mese 13") << "000123FAT000045220141318.pdf" << QStringList{"", "", "", ""}
                             << int(ScartoChiave::DataNonValida);
    QTest::newRow("30 febbraio") << "000123FAT000045220140230.pdf" << QStringList{"", "", "", ""}
                                 << int(ScartoChiave::DataNonValida);
    QTest::newRow("data di lettere") << "000123FAT0000452AAAAMMGG.pdf"
                                     << QStringList{"", "", "", ""}
                                     << int(ScartoChiave::DataNonValida);
    QTest::newRow("nome vuoto") << "" << QStringList{"", "", "", ""}
                                << int(ScartoChiave::NomeVuoto);
}

void TestNomeDocumento::scomponi()
{
    QFETCH(QString, nome);
    QFETCH(QStringList, chiave);
    QFETCH(int, scarto);
    const ChiaveDocumento c = ScomponiNomeFile(nome, standard);
    QCOMPARE((QStringList{c.Codice, c.Tipo, c.Numero, c.Data}), chiave);
    QCOMPARE(int(c.scarto), scarto);
    QCOMPARE(c.Vuota(), scarto != int(ScartoChiave::Nessuno));
}

void TestNomeDocumento::normalizza_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("zeri iniziali") << "0000452" << "452";
    QTest::newRow("codice") << "000123" << "123";
    QTest::newRow("zero") << "0000000" << "0";
    QTest::newRow("lettera") << "C00123" << "C00123";
    QTest::newRow("segno e spazi") << " -0042 " << "-42";
    QTest::newRow("metà al pari") << "2.5" << "2";
    QTest::newRow("limite 32 bit") << "2147483647" << "2147483647";
    QTest::newRow("oltre 32 bit resta com'è") << "002147483648" << "002147483648";
    QTest::newRow("molto lungo resta com'è") << "000000000009999999999" << "000000000009999999999";
}

void TestNomeDocumento::normalizza()
{
    QFETCH(QString, testo);
    QFETCH(QString, atteso);
    QCOMPARE(NormalizzaCampo(testo), atteso);
}

void TestNomeDocumento::convertiData()
{
    QCOMPARE(ConvertiData(QStringLiteral("20140318")), QStringLiteral("18/03/2014"));
    const RigaPosta riga = RigaDocumento(QStringLiteral("000123FAT000045220140318.pdf"),
                                         ScomponiNomeFile(QStringLiteral("000123FAT000045220140318.pdf"),
                                                          standard));
    QCOMPARE(riga.Stampa, QStringLiteral("000123FAT000045220140318.pdf"));
    QCOMPARE(riga.Codice, QStringLiteral("123"));
    QCOMPARE(riga.Tipo, QStringLiteral("FAT"));
    QCOMPARE(riga.NumDoc, QStringLiteral("452"));
    QCOMPARE(riga.Data, QDate(2014, 3, 18));
    QVERIFY(riga.email.isEmpty() && !riga.email.isNull());
}

void TestNomeDocumento::lunghezzeDalFile_data()
{
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<QString>("errore"); // a piece of the message, empty when usable
    QTest::newRow("buone") << QByteArray("[AS/400]\nLunCodCli=6\nLunTipDoc=3\nLunNumDoc=7\n") << "";
    QTest::newRow("chiavi in minuscolo") << QByteArray("[as/400]\nluncodcli=6\nluntipdoc=3\nlunnumdoc=7\n")
                                         << "";
    QTest::newRow("manca") << QByteArray("[AS/400]\nLunCodCli=6\nLunTipDoc=3\n")
                           << "manca la lunghezza LunNumDoc";
    QTest::newRow("non intera") << QByteArray("[AS/400]\nLunCodCli=6\nLunTipDoc=3.5\nLunNumDoc=7\n")
                                << "LunTipDoc vale \"3.5\"";
    QTest::newRow("negativa") << QByteArray("[AS/400]\nLunCodCli=-1\nLunTipDoc=3\nLunNumDoc=7\n")
                              << "LunCodCli vale -1";
    QTest::newRow("troppo lunghe")
        << QByteArray("[AS/400]\nLunCodCli=32000\nLunTipDoc=3\nLunNumDoc=7000\n") << "troppo grandi";
}

void TestNomeDocumento::lunghezzeDalFile()
{
    QFETCH(QByteArray, contenuto);
    QFETCH(QString, errore);
    AmbienteProva ambiente;
    const EsitoLunghezze esito = LeggiLunghezzeCampi(ambiente.scriviFile("spooling.ini", contenuto));
    if (errore.isEmpty()) {
        QVERIFY(esito.lunghezze);
        QCOMPARE(*esito.lunghezze, standard);
    } else {
        QVERIFY(!esito.lunghezze);
        QVERIFY2(esito.errore.contains(errore), qPrintable(esito.errore));
    }
}

QTEST_GUILESS_MAIN(TestNomeDocumento)
#include "tst_NomeDocumento.moc"
