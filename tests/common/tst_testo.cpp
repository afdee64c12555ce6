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
};

void TestTesto::date_data()
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

void TestTesto::date()
{
    QFETCH(QString, testo);
    QFETCH(QDate, data);
    QCOMPARE(InterpretaData(testo).value_or(QDate()), data);
}

// The same text read as a number, as a 32-bit whole number (half to even) and
// as a 16-bit one (whole digits only); an empty QVariant stands for "none".
void TestTesto::numeri_data()
{
    QTest::addColumn<QString>("testo");
    QTest::addColumn<bool>("numerico");
    QTest::addColumn<QVariant>("intero");
    QTest::addColumn<QVariant>("intero16");
    const QVariant no;
    const auto n = [](qint64 valore) { return QVariant(valore); };
    QTest::newRow("blanks and sign") << " -12 " << true << n(-12) << n(-12);
    QTest::newRow("half to even, down") << "2.5" << true << n(2) << no;
    QTest::newRow("half to even, up") << "3,5" << true << n(4) << no;
    QTest::newRow("exponent") << "1e3" << true << n(1000) << no;
    QTest::newRow("space inside") << "12 3" << false << no << no;
    QTest::newRow("empty") << "" << false << no << no;
    QTest::newRow("16-bit top") << "32767" << true << n(32767) << n(32767);
    QTest::newRow("past 16 bits") << "32768" << true << n(32768) << no;
}

void TestTesto::numeri()
{
    QFETCH(QString, testo);
    QFETCH(bool, numerico);
    QFETCH(QVariant, intero);
    QFETCH(QVariant, intero16);
    const auto comeVariant = [](auto valore) {
        return valore ? QVariant(qint64(*valore)) : QVariant();
    };
    QCOMPARE(TestoNumerico(testo), numerico);
    QCOMPARE(comeVariant(InteroDaTesto(testo)), intero);
    QCOMPARE(comeVariant(Intero16DaTesto(testo)), intero16);
}

QTEST_APPLESS_MAIN(TestTesto)
#include "tst_testo.moc"
