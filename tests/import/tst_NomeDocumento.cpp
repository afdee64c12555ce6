#include "AmbienteProva.h"
#include "import/NomeDocumento.h"

#include <QtTest>

// Cutting document file names into their archive key. Names of the wrong
// length, the rows a key becomes and the messages for names without a key
// are checked through the import engine on a real archive.
class TestNomeDocumento : public QObject
{
    Q_OBJECT

private slots:
    void scomponi_data();
    void scomponi();
    void normalizza_data();
    void normalizza();
    void lunghezzeDalFile_data();
    void lunghezzeDalFile();
};

namespace {
const LunghezzeCampi standard{6, 3, 7};
}

void TestNomeDocumento::scomponi_data()
{
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QStringList>("chiave");
    QTest::addColumn<int>("scarto");
    const int nessuno = int(ScartoChiave::Nessuno);
    const QStringList vuota{"", "", "", ""};
    QTest::newRow("esempio") << "000123FAT000045220140318.pdf"
                             << QStringList{"000123", "FAT", "0000452", "18/03/2014"} << nessuno;
    QTest::newRow("tipo con spazio") << "000123FA 000045220140318.pdf"
                                     << QStringList{"000123", "FA ", "0000452", "18/03/2014"}
                                     << nessuno;
    QTest::newRow("data già leggibile") << "000123FAT000045218-03-14.pdf"
                                        << QStringList{"000123", "FAT", "0000452", "18-03-14"}
                                        << nessuno;
    QTest::newRow("numero di zeri") << "000123FAT000000020140318.pdf" << vuota
                                    << int(ScartoChiave::NumeroVuoto);
    QTest::newRow("30 febbraio") << "000123FAT000045220140230.pdf" << vuota
                                 << int(ScartoChiave::DataNonValida);
    QTest::newRow("data di lettere") << "000123FAT0000452AAAAMMGG.pdf" << vuota
                                     << int(ScartoChiave::DataNonValida);
    QTest::newRow("nome vuoto") << "" << vuota << int(ScartoChiave::NomeVuoto);
}

void TestNomeDocumento::scomponi()
{
    QFETCH(QString, nome);
    QFETCH(QStringList, chiave);
    QFETCH(int, scarto);
    const ChiaveDocumento c = ScomponiNomeFile(nome, standard);
    QCOMPARE((QStringList{c.Codice, c.Tipo, c.Numero, c.Data}), chiave);
    QCOMPARE(int(c.scarto), scarto);
}

void TestNomeDocumento::normalizza_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("zeri iniziali") << "0000452" << "452";
    QTest::newRow("zero") << "0000000" << "0";
    QTest::newRow("lettera") << "C00123" << "C00123";
    QTest::newRow("segno e spazi") << " -0042 " << "-42";
    QTest::newRow("limite 32 bit") << "2147483647" << "2147483647";
    QTest::newRow("oltre 32 bit resta com'è") << "002147483648" << "002147483648";
}

void TestNomeDocumento::normalizza()
{
    QFETCH(QString, testo);
    QFETCH(QString, atteso);
    QCOMPARE(NormalizzaCampo(testo), atteso);
}

// How a run stops on unusable widths is tested through the velmira program.
void TestNomeDocumento::lunghezzeDalFile_data()
{
    QTest::addColumn<QByteArray>("contenuto");
    QTest::addColumn<QString>("errore"); // a piece of the message, empty when usable
    QTest::newRow("chiavi in minuscolo") << QByteArray("[as/400]\nluncodcli=6\nluntipdoc=3\nlunnumdoc=7\n")
                                         << "";
    QTest::newRow("non intera") << QByteArray("[AS/400]\nLunCodCli=6\nLunTipDoc=3.5\nLunNumDoc=7\n")
                                << "LunTipDoc vale \"3.5\"";
    QTest::newRow("non un numero") << QByteArray("[AS/400]\nLunCodCli=sei\nLunTipDoc=3\nLunNumDoc=7\n")
                                   << "LunCodCli vale \"sei\"";
    QTest::newRow("negativa") << QByteArray("[AS/400]\nLunCodCli=6\nLunTipDoc=-3\nLunNumDoc=7\n")
                              << "LunTipDoc vale -3";
    QTest::newRow("troppo lunghe")
        << QByteArray("[AS/400]\nLunCodCli=32000\nLunTipDoc=3\nLunNumDoc=7000\n") << "troppo grandi";
}

void TestNomeDocumento::lunghezzeDalFile()
{
    QFETCH(QByteArray, contenuto);
    QFETCH(QString, errore);
    AmbienteProva ambiente;
    const EsitoLunghezze esito = LeggiLunghezzeCampi(ambiente.scriviFile("spooling.ini", contenuto));
    QCOMPARE(esito.lunghezze.has_value(), errore.isEmpty());
    if (errore.isEmpty())
        QCOMPARE(*esito.lunghezze, standard);
    else
        QVERIFY2(esito.errore.contains(errore), qPrintable(esito.errore));
}

QTEST_GUILESS_MAIN(TestNomeDocumento)
#include "tst_NomeDocumento.moc"
