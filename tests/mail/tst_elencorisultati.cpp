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
// each value, widths in twips, row limit, and reading again from the top.
class TestElencoRisultati : public QObject
{
    Q_OBJECT

    std::unique_ptr<AmbienteProva> ambiente_;
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

    void Apri(const QString& istruzione)
    {
        const Errore errore = rs_.ApriSql(connessione_, istruzione);
        QVERIFY2(!errore.presente(), qPrintable(errore.testo()));
    }

    QStringList Intestazioni() const
    {
        QStringList testi;
        for (int c = 0; c < lista_.columnCount(); ++c)
            testi.append(lista_.headerItem()->text(c) + QLatin1Char(':') + QString::number(LarghezzaTwip(&lista_, c))
                         + (lista_.headerItem()->textAlignment(c) & Qt::AlignRight ? ":D" : ":S"));
        return testi;
    }

    QStringList Righe() const
    {
        QStringList righe;
        for (int r = 0; r < lista_.topLevelItemCount(); ++r) {
            QStringList celle;
            for (int c = 0; c < lista_.columnCount(); ++c)
                celle.append(lista_.topLevelItem(r)->text(c));
            righe.append(celle.join(QLatin1Char('|')));
        }
        return righe;
    }

private slots:
    void init()
    {
        ambiente_ = std::make_unique<AmbienteProva>();
        const QString file = ambiente_->percorso("dati.mdb");
        QVERIFY(!CreaArchivio(file).presente());
        connessione_ = StringaConnessione(file);
        Esegui("create table Prova (Giorno DATE, Breve VARCHAR(3), Intero INTEGER, Reale REAL, Lungo TEXT, "
               "Dati BLOB, Quando DATETIME)");
        Esegui("insert into Prova values ('2014-03-05', 'abc', 42, 2.5, 'un testo assai più lungo', x'00ff', "
               "'2014-03-05 10:30:00'), (null, null, null, null, null, null, null)");
        lista_.clear();
        lista_.setColumnCount(0);
        lista_.header()->setStretchLastSection(false);
    }

    void cleanup()
    {
        rs_.Chiudi();
        ambiente_.reset();
    }

    void tipiAllineamentiETesti()
    {
        Apri("select Giorno, Breve, Intero, Reale, Lungo, Dati, year(Giorno) as anno, Quando from Prova "
             "order by Intero is null");
        RiempiListView(&lista_, rs_, 0);
        // The date leads, so it stands left; the bytes get no column; the year
        // is an expression, a whole number like its value, not text.
        QCOMPARE(Intestazioni(), QStringList({"Giorno:1600:S", "Breve:600:S", "Intero:800:D", "Reale:1600:D",
                                              "Lungo:20000:S", "anno:800:D", "Quando:1600:D"}));
        QCOMPARE(Righe(), QStringList({"05/03/2014|abc|42|2,5|un testo assai più lungo|2014|05/03/2014 10:30:00",
                                       "||||||"}));
        QVERIFY(lista_.topLevelItem(0)->textAlignment(2) & Qt::AlignRight);
        QVERIFY(!(lista_.topLevelItem(0)->textAlignment(0) & Qt::AlignRight));

        // Only bytes: no column, no row.
        Apri("select Dati from Prova");
        RiempiListView(&lista_, rs_, 0);
        QCOMPARE(QList<int>({lista_.columnCount(), lista_.topLevelItemCount()}), QList<int>({0, 0}));
    }

    // Widths follow the list's own font, in twips turned into pixels at the
    // screen's dots per inch; a list without rows keeps the initial ones.
    void larghezze()
    {
        Apri("select Breve, Lungo, Intero from Prova where 1 = 0");
        MostraRecordset(rs_, &lista_);
        QCOMPARE(Intestazioni(), QStringList({"Breve:600:S", "Lungo:20000:S", "Intero:800:D"}));

        QFont carattere = lista_.font();
        carattere.setPixelSize(30);
        lista_.setFont(carattere);
        Apri("select Breve, Lungo, Intero from Prova");
        MostraRecordset(rs_, &lista_);
        const QFontMetricsF metrica(carattere, &lista_);
        const double twipPerPunto = 1440.0 / lista_.logicalDpiX();
        for (int c = 0; c < lista_.columnCount(); ++c) {
            const int twip = LarghezzaTwip(&lista_, c);
            const double piuLarga = std::max(metrica.horizontalAdvance(lista_.headerItem()->text(c)),
                                             metrica.horizontalAdvance(lista_.topLevelItem(0)->text(c)));
            QVERIFY(twip >= piuLarga * twipPerPunto + 200 && twip <= (piuLarga + 2) * twipPerPunto + 200);
            QCOMPARE(lista_.columnWidth(c), qRound(twip / twipPerPunto));
        }
    }

    // The same result set shown again reads from its first row, as the
    // archive is now (the preview does so when it comes back to the front).
    void rilettura()
    {
        Apri("select Intero from Prova where Intero is not null order by Intero");
        MostraRecordset(rs_, &lista_);
        QVERIFY(rs_.FineFile());
        Esegui("insert into Prova (Intero) values (7)");
        MostraRecordset(rs_, &lista_);
        QCOMPARE(Righe(), QStringList({"7", "42"}));
    }
};

QTEST_MAIN(TestElencoRisultati)
#include "tst_elencorisultati.moc"
