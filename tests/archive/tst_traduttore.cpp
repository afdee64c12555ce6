#include "archive/TraduttoreJet.h"

#include <QTest>

class TestTraduttore : public QObject
{
    Q_OBJECT
private slots:
    void traduce_data();
    void traduce();
};

void TestTraduttore::traduce_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("atteso");
    QTest::newRow("date range, month first")
        << "select * from Posta where data between(#01/31/2014#) and (#02/01/2014#);"
        << "select * from Posta where data between('2014-01-31') and ('2014-02-01');";
    QTest::newRow("one-digit month and day") << "Data=#3/5/2014#" << "Data='2014-03-05'";
    QTest::newRow("date with time") << "dtinvio >= #12/31/2013 23:05:09#" << "dtinvio >= '2013-12-31 23:05:09'";
    QTest::newRow("year()") << "where year(data) =2014 and NumDoc='1'"
                            << "where Y(data) =2014 and NumDoc='1'";
    QTest::newRow("YEAR with blank and nested brackets") << "YEAR ((data)) = 2014"
                                                        << "Y((data)) = 2014";
    QTest::newRow("a column named like year is a name") << "select yearly, year from t"
                                                      << "select yearly, year from t";
    QTest::newRow("literal holding # and year(") << "Codice='#01/02/2014# year(x)'"
                                                << "Codice='#01/02/2014# year(x)'";
    QTest::newRow("doubled quotes stay one literal") << "NumDoc='O''Brien #1#' and Tipo='FAT'"
                                                    << "NumDoc='O''Brien #1#' and Tipo='FAT'";
    QTest::newRow("double-quoted literal") << "Tipo=\"D'A\"\"B\"" << "Tipo='D''A\"B'";
    QTest::newRow("bracketed name") << "select [Num Doc] from Posta" << "select \"Num Doc\" from Posta";
    QTest::newRow("empty date is no date") << "Data=## and x=1" << "Data=## and x=1";
    QTest::newRow("month 13 is no date") << "Data=#13/01/2014#" << "Data=#13/01/2014#";
    QTest::newRow("unterminated literal copied") << "x='abc" << "x='abc";
}

void TestTraduttore::traduce()
{
    QFETCH(QString, jet);
    QFETCH(QString, atteso);
    const Dialetto dialetto{QStringLiteral("Y("), QStringLiteral(")")};
    QCOMPARE(TraduciJet(jet, dialetto), atteso);
}

QTEST_APPLESS_MAIN(TestTraduttore)
#include "tst_traduttore.moc"
