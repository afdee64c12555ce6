#include "AmbienteProva.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/Recordset.h"
#include "mail/moduloListView.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QTest>
#include <QTreeWidget>

// Any result set shown in a list with columns: types, alignment, text of
// each value, widths in twips, and reading again from the top.
class TestElencoRisultati : public QObject
{
    Q_OBJECT

    AmbienteProva ambiente_;
    QString connessione_;
    Recordset rs_;
    QTreeWidget lista_;

    void Esegui(const QString& istruzione)
    {
        Connessione c;
        QVERIFY(!c.Apri(connessione_).presente());
        const Errore errore = c.Esegui(istruzione);
        QVERIFY2(!errore.presente(), qPrintable(errore.testo()));
    }

    // The list as the user reads it: each header "name:twips:side", then each row.
    QStringList Mostrato(const QString& istruzione, bool adatta = true)
    {
        const Errore errore = rs_.ApriSql(connessione_, istruzione);
        if (errore.presente())
            return {errore.testo()};
        adatta ? MostraRecordset(rs_, &lista_) : RiempiListView(&lista_, rs_, 0);
        QStringList testi;
        for (int c = 0; c < lista_.columnCount(); ++c)
            testi.append(lista_.headerItem()->text(c) + QLatin1Char(':') + QString::number(LarghezzaTwip(&lista_, c))
                         + (lista_.headerItem()->textAlignment(c) & Qt::AlignRight ? ":D" : ":S"));
        for (int r = 0; r < lista_.topLevelItemCount(); ++r) {
            QStringList celle;
            for (int c = 0; c < lista_.columnCount(); ++c)
                celle.append(lista_.topLevelItem(r)->text(c));
            testi.append(celle.join(QLatin1Char('|')));
        }
        return testi;
    }

private slots:
    void elenco()
    {
        connessione_ = StringaConnessione(ambiente_.percorso("dati.mdb"));
        QVERIFY(!CreaArchivio(ambiente_.percorso("dati.mdb")).presente());
        Esegui("create table Prova (Giorno DATE, Breve VARCHAR(3), Intero INTEGER, Reale REAL, Lungo TEXT, "
               "Dati BLOB, Quando DATETIME)");
        Esegui("insert into Prova values ('2014-03-05', 'abc', 42, 2.5, 'un testo assai più lungo', x'00ff', "
               "'2014-03-05 10:30:00'), (null, null, null, null, null, null, null)");
        lista_.header()->setStretchLastSection(false);

        // The date leads, so it stands left; the bytes get no column; the year
        // is an expression, a whole number like its value, not text.
        QCOMPARE(Mostrato("select Giorno, Breve, Intero, Reale, Lungo, Dati, year(Giorno) as anno, Quando from Prova "
                          "order by Intero is null", false),
                 QStringList({"Giorno:1600:S", "Breve:600:S", "Intero:800:D", "Reale:1600:D", "Lungo:20000:S", "anno:800:D",
                              "Quando:1600:D", "05/03/2014|abc|42|2,5|un testo assai più lungo|2014|05/03/2014 10:30:00",
                              "||||||"}));
        QVERIFY(lista_.topLevelItem(0)->textAlignment(2) & Qt::AlignRight);
        QVERIFY(!(lista_.topLevelItem(0)->textAlignment(0) & Qt::AlignRight));
        QCOMPARE(Mostrato("select Dati from Prova", false), QStringList());

        // Widths follow the list's own font, in twips turned into pixels at the
        // screen's dots per inch; a list without rows keeps the initial ones.
        QCOMPARE(Mostrato("select Breve, Lungo, Intero from Prova where 1 = 0"),
                 QStringList({"Breve:600:S", "Lungo:20000:S", "Intero:800:D"}));
        QFont carattere = lista_.font();
        carattere.setPixelSize(30);
        lista_.setFont(carattere);
        QCOMPARE(Mostrato("select Breve, Lungo, Intero from Prova").size(), 5);
        const QFontMetricsF metrica(carattere, &lista_);
        const double twipPerPunto = 1440.0 / lista_.logicalDpiX();
        for (int c = 0; c < lista_.columnCount(); ++c) {
            const int twip = LarghezzaTwip(&lista_, c);
            const double piuLarga = std::max(metrica.horizontalAdvance(lista_.headerItem()->text(c)),
                                             metrica.horizontalAdvance(lista_.topLevelItem(0)->text(c)));
            QVERIFY(twip >= piuLarga * twipPerPunto + 200 && twip <= (piuLarga + 2) * twipPerPunto + 200);
            QCOMPARE(lista_.columnWidth(c), qRound(twip / twipPerPunto));
        }

        // The same result set shown again reads from its first row, as the
        // archive is now (the preview does so when it comes back to the front).
        QCOMPARE(Mostrato("select Intero from Prova where Intero is not null order by Intero").size(), 2);
        QVERIFY(rs_.FineFile());
        Esegui("insert into Prova (Intero) values (7)");
        MostraRecordset(rs_, &lista_);
        QCOMPARE(lista_.topLevelItemCount(), 2);
        QCOMPARE(QStringList({lista_.topLevelItem(0)->text(0), lista_.topLevelItem(1)->text(0)}), QStringList({"7", "42"}));
    }
};

QTEST_MAIN(TestElencoRisultati)
#include "tst_elencorisultati.moc"
