#include "common/Testo.h"

#include <QTest>

class TestTesto : public QObject
{
    Q_OBJECT
private slots:
    void date()
    {
        const std::pair<QString, QDate> casi[] = {
            {"1-4-2014", QDate(2014, 4, 1)},
            {"18.03.30", QDate(1930, 3, 18)}, // two-digit years 30-99 are the 1900s
            {"2014/03/18", QDate(2014, 3, 18)},
            {"20140318", QDate()},
            {"29/02/2014", QDate()},
            {"18/03/201", QDate()},
            {"18/mar/2014", QDate()},
        };
        for (const auto& [testo, data] : casi)
            QCOMPARE(testo + ' ' + InterpretaData(testo).value_or(QDate()).toString(Qt::ISODate),
                     testo + ' ' + data.toString(Qt::ISODate));
    }

    // The same text as "number?|32-bit whole number (half to even)|16-bit one
    // (whole digits only)", "-" standing for none.
    void numeri()
    {
        const std::pair<QString, QString> casi[] = {
            {" -12 ", "sì|-12|-12"},
            {"2.5", "sì|2|-"},
            {"3,5", "sì|4|-"},
            {"1e3", "sì|1000|-"},
            {"12 3", "no|-|-"},
            {"", "no|-|-"},
            {"32767", "sì|32767|32767"},
            {"32768", "sì|32768|-"},
        };
        const auto comeTesto = [](auto valore) { return valore ? QString::number(*valore) : "-"; };
        for (const auto& [testo, letto] : casi)
            QCOMPARE(testo + '>' + QStringList({TestoNumerico(testo) ? "sì" : "no", comeTesto(InteroDaTesto(testo)),
                                                comeTesto(Intero16DaTesto(testo))}).join('|'),
                     testo + '>' + letto);
    }
};

QTEST_APPLESS_MAIN(TestTesto)
#include "tst_testo.moc"
