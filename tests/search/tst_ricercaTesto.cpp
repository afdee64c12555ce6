#include "ArchivioProva.h"
#include "PdfProva.h"
#include "indice/Indicizzazione.h"
#include "search/frmRicercaTesto.h"

#include <QCheckBox>
#include <QLabel>
#include <QSqlQuery>
#include <QTableWidget>

#ifndef ESEGUIBILE_TESTO
#error "ESEGUIBILE_TESTO must name the velmira-testo executable"
#endif

namespace {

// Each row as the list shows it: date, type, number, code, piece of text.
QStringList Righe(const QTableWidget* lista)
{
    QStringList righe;
    for (int r = 0; r < lista->rowCount(); ++r) {
        QStringList celle;
        for (int c = 0; c < lista->columnCount(); ++c)
            celle.append(lista->item(r, c)->text());
        righe.append(celle.join('|'));
    }
    return righe;
}

} // namespace

// "Ricerca nel testo dei documenti", driven from the keyboard and the mouse
// on an indexed archive.
class TestRicercaTesto : public QObject
{
    Q_OBJECT

private slots:
    void cercaEApre()
    {
        ArchivioProva a({"a.pdf FAT 1 2014-03-01 C1", "b.pdf DDT 2 2014-03-10 C2", "c.pdf FAT 3 2013-12-01 C3"});
        ScriviPdf(a.pdf("a.pdf"), {"Spett.le Ditta Rossi\nVia Roma 3, Città di Forlì"});
        ScriviPdf(a.pdf("b.pdf"), {"Bolla per Ditta Bianchi di FORLI'"});
        ScriviPdf(a.pdf("c.pdf"), {"Fattura a Verdi, Forlimpopoli"});
        ConteggiIndice conteggi;
        QVERIFY(!Indicizza({a.database, a.cartellaPdf, 10000, ESEGUIBILE_TESTO}, conteggi, false).presente());

        frmRicercaTesto finestra;
        QVERIFY(MostraAttiva(&finestra));
        const auto cerca = [&finestra](const QString& parole) {
            QTest::mouseClick(finestra.txtParole, Qt::LeftButton);
            Riscrivi(finestra.txtParole, parole);
            QTest::keyClick(finestra.txtParole, Qt::Key_Return);
            return finestra.lblTrovati->text();
        };
        QCOMPARE(cerca("forli*"), "Documenti trovati: 3");
        QCOMPARE(Righe(finestra.lstDocumenti),
                 QStringList({"10/03/2014|DDT|2|C2|Bolla per Ditta Bianchi di FORLI'",
                              "01/03/2014|FAT|1|C1|… Rossi Via Roma 3, Città di Forlì",
                              "01/12/2013|FAT|3|C3|Fattura a Verdi, Forlimpopoli"}));
        // The server drops the window's connection (a restart): the next search opens another.
        if (ProvaSuServer())
            SuArchivio(a.database, [](QSqlDatabase& db) {
                QSqlQuery(db).exec("select pg_terminate_backend(pid) from pg_stat_activity "
                                   "where datname = current_database() and pid <> pg_backend_pid()");
            });
        QCOMPARE(cerca("\"ditta rossi\" citta"), "Documenti trovati: 1");

        // A type and a period narrow it; Enter on the list opens the document.
        finestra.cmbTipo->setFocus();
        QTest::keyClicks(finestra.cmbTipo, "FAT");
        QTest::mouseClick(finestra.chkPeriodo, Qt::LeftButton);
        finestra.dtDal->setDate(QDate(2014, 1, 1));
        QCOMPARE(cerca("forli*"), "Documenti trovati: 1");
        QTest::keyClick(finestra.lstDocumenti, Qt::Key_Return);
        QCOMPARE(a.apertore.aperti, QStringList{a.pdf("a.pdf")});
        QTest::mouseClick(finestra.chkPeriodo, Qt::LeftButton);
        QCOMPARE(cerca("forli*"), "Documenti trovati: 2");
        const QRect seconda = finestra.lstDocumenti->visualItemRect(finestra.lstDocumenti->item(1, 0));
        QTest::mouseClick(finestra.lstDocumenti->viewport(), Qt::LeftButton, {}, seconda.center());
        QTest::mouseDClick(finestra.lstDocumenti->viewport(), Qt::LeftButton, {}, seconda.center());
        QCOMPARE(a.apertore.aperti.last(), a.pdf("c.pdf"));

        QCOMPARE(cerca("bianchi"), "Nessun documento trovato.");
        QCOMPARE(cerca(" * "), "Nessun documento trovato.");
        QCOMPARE(Messaggi(a.dialoghi), QStringList{Messaggio(Icona::Esclamazione, "Scrivere almeno una parola da cercare.",
                                                             "Ricerca nel testo dei documenti")});
    }
};

QTEST_MAIN(TestRicercaTesto)
#include "tst_ricercaTesto.moc"
