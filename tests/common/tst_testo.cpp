#include "common/Testo.h"

#include <QTest>

class TestTesto : public QObject
{
    Q_OBJECT
private slots:
    void date_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QDate>("data");
        QTest::newRow("day first") << "18/03/2014" << QDate(2014, 3, 18);
        QTest::newRow("one digit, dashes") << "1-4-2014" << QDate(2014, 4, 1);
        QTest::newRow("two-digit year 30-99") << "18.03.30" << QDate(1930, 3, 18);
        QTest::newRow("year first") << "2014/03/18" << QDate(2014, 3, 18);
        QTest::newRow("eight digits are no date") << "20140318" << QDate();
        QTest::newRow("29 February of a common year") << "29/02/2014" << QDate();
        QTest::newRow("three-digit year") << "18/03/201" << QDate();
        QTest::newRow("letters") << "18/mar/2014" << QDate();
    }

    void date()
    {
        QFETCH(QString, testo);
        QFETCH(QDate, data);
        QCOMPARE(InterpretaData(testo).value_or(QDate()), data);
    }

    // The same text as "number?|32-bit whole number (half to even)|16-bit one
    // (whole digits only)", "-" standing for none.
    void numeri_data()
    {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("letto");
        QTest::newRow("blanks and sign") << " -12 " << "sì|-12|-12";
        QTest::newRow("half to even, down") << "2.5" << "sì|2|-";
        QTest::newRow("half to even, up") << "3,5" << "sì|4|-";
        QTest::newRow("exponent") << "1e3" << "sì|1000|-";
        QTest::newRow("space inside") << "12 3" << "no|-|-";
        QTest::newRow("empty") << "" << "no|-|-";
        QTest::newRow("16-bit top") << "32767" << "sì|32767|32767";
        QTest::newRow("past 16 bits") << "32768" << "sì|32768|-";
    }

    void numeri()
    {
        QFETCH(QString, testo);
        QFETCH(QString, letto);
        const auto comeTesto = [](auto valore) { return valore ? QString::number(*valore) : "-"; };
        QCOMPARE(QStringList({TestoNumerico(testo) ? "sì" : "no", comeTesto(InteroDaTesto(testo)),
                              comeTesto(Intero16DaTesto(testo))})
                     .join('|'),
                 letto);
    }
};

QTEST_APPLESS_MAIN(TestTesto)
#include "tst_testo.moc"
