#include "common/Testo.h"

#include <QTest>

class TestTesto : public QObject
{
    Q_OBJECT
private slots:
    void date_data();
    void date();
    void numeri_data();
    void numeri();
    void interi16();
};

void TestTesto::date_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<QDate>("data");
    QTest::newRow("day first") << "18/03/2014" << QDate(2014, 3, 18);
    QTest::newRow("one digit, dashes") << "1-4-2014" << QDate(2014, 4, 1);
    QTest::newRow("two-digit year 00-29") << "18-03-14" << QDate(2014, 3, 18);
    QTest::newRow("two-digit year 30-99") << "18.03.30" << QDate(1930, 3, 18);
    QTest::newRow("year first") << "2014/03/18" << QDate(2014, 3, 18);
    QTest::newRow("eight digits are no date") << "20140318" << QDate();
    QTest::newRow("month 13") << "18/13/2014" << QDate();
    QTest::newRow("29 February of a common year") << "29/02/2014" << QDate();
    QTest::newRow("three-digit year") << "18/03/201" << QDate();
    QTest::newRow("empty") << "" << QDate();
    QTest::newRow("letters") << "18/mar/2014" << QDate();
}

void TestTesto::date()
{
    QFETCH(QString, testo);
    QFETCH(QDate, data);
    const auto letta = InterpretaData(testo);
    QCOMPARE(letta.value_or(QDate()), data);
}

void TestTesto::numeri_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<bool>("numerico");
    QTest::addColumn<qint64>("intero"); // -1 standing for "none" where not numeric or out of range
    QTest::newRow("leading zeros") << "0000452" << true << qint64(452);
    QTest::newRow("zero") << "0" << true << qint64(0);
    QTest::newRow("blanks and sign") << " -12 " << true << qint64(-12);
    QTest::newRow("half to even, down") << "2.5" << true << qint64(2);
    QTest::newRow("half to even, up") << "3,5" << true << qint64(4);
    QTest::newRow("exponent") << "1e3" << true << qint64(1000);
    QTest::newRow("letter inside") << "C00123" << false << qint64(-1);
    QTest::newRow("space inside") << "12 3" << false << qint64(-1);
    QTest::newRow("empty") << "" << false << qint64(-1);
    QTest::newRow("32-bit top") << "2147483647" << true << qint64(2147483647);
    QTest::newRow("past 32 bits") << "2147483648" << true << qint64(-1);
}

void TestTesto::numeri()
{
    QFETCH(QString, testo);
    QFETCH(bool, numerico);
    QFETCH(qint64, intero);
    QCOMPARE(TestoNumerico(testo), numerico);
    const auto valore = InteroDaTesto(testo);
    QCOMPARE(valore ? qint64(*valore) : qint64(-1), intero);
}

void TestTesto::interi16()
{
    QCOMPARE(Intero16DaTesto(QStringLiteral(" 7 ")).value_or(-1), qint16(7));
    QCOMPARE(Intero16DaTesto(QStringLiteral("-3")).value_or(0), qint16(-3));
    QVERIFY(!Intero16DaTesto(QStringLiteral("32768")));
    QVERIFY(!Intero16DaTesto(QStringLiteral("sette")));
    QVERIFY(!Intero16DaTesto(QStringLiteral("7.5")));
    QVERIFY(!Intero16DaTesto(QString()));
}

QTEST_APPLESS_MAIN(TestTesto)
#include "tst_testo.moc"
