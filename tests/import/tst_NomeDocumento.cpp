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
    // Expected key as "Codice|Tipo|Numero|Data|scarto".
    void scomponi_data()
    {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("chiave");
        const auto vuota = [](ScartoChiave s) { return QStringLiteral("||||%1").arg(int(s)); };
        QTest::newRow("tipo con spazio") << "000123FA 000045220140318.pdf" << "000123|FA |0000452|18/03/2014|0";
        QTest::newRow("data già leggibile") << "000123FAT000045218-03-14.pdf" << "000123|FAT|0000452|18-03-14|0";
        QTest::newRow("30 febbraio") << "000123FAT000045220140230.pdf" << vuota(ScartoChiave::DataNonValida);
        QTest::newRow("nome vuoto") << "" << vuota(ScartoChiave::NomeVuoto);
    }

    void scomponi()
    {
        QFETCH(QString, nome);
        const ChiaveDocumento c = ScomponiNomeFile(nome, LunghezzeCampi{6, 3, 7});
        QTEST(QStringList({c.Codice, c.Tipo, c.Numero, c.Data, QString::number(int(c.scarto))}).join('|'),
              "chiave");
    }

    void normalizza()
    {
        QStringList normalizzati;
        for (const char* testo : {"0000452", "0000000", "C00123", " -0042 ", "2147483647", "002147483648"})
            normalizzati.append(NormalizzaCampo(testo));
        // Beyond 32 bits the text stays as cut.
        QCOMPARE(normalizzati.join('|'), "452|0|C00123|-42|2147483647|002147483648");
    }

    // How a run stops on unusable widths is tested through the velmira program.
    void lunghezzeDalFile_data()
    {
        QTest::addColumn<QByteArray>("contenuto");
        QTest::addColumn<QString>("errore"); // a piece of the message, empty when usable
        const auto ini = [](const char* codice, const char* tipo, const char* numero) {
            return QByteArray("[AS/400]\nLunCodCli=") + codice + "\nLunTipDoc=" + tipo + "\nLunNumDoc=" + numero;
        };
        QTest::newRow("chiavi in minuscolo") << ini("6", "3", "7").toLower() << "";
        QTest::newRow("non intera") << ini("6", "3.5", "7") << "LunTipDoc vale \"3.5\"";
        QTest::newRow("non un numero") << ini("sei", "3", "7") << "LunCodCli vale \"sei\"";
        QTest::newRow("negativa") << ini("6", "-3", "7") << "LunTipDoc vale -3";
        QTest::newRow("zero") << ini("6", "3", "0") << "LunNumDoc vale 0";
        QTest::newRow("troppo lunghe") << ini("32000", "3", "7000") << "troppo grandi";
    }

    void lunghezzeDalFile()
    {
        QFETCH(QByteArray, contenuto);
        QFETCH(QString, errore);
        AmbienteProva ambiente;
        const Risultato<LunghezzeCampi> esito = LeggiLunghezzeCampi(ambiente.scriviFile("spooling.ini", contenuto));
        QVERIFY2(esito.errore().testo().contains(errore), qPrintable(esito.errore().testo()));
        QVERIFY(errore.isEmpty() ? esito && *esito == LunghezzeCampi({6, 3, 7}) : !esito);
    }
};

QTEST_GUILESS_MAIN(TestNomeDocumento)
#include "tst_NomeDocumento.moc"
