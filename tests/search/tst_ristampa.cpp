#include "ArchivioProva.h"
#include "search/frmRistampa.h"

#include <QHeaderView>
#include <QPointer>
#include <QSignalSpy>
#include <QTableView>

class TestRistampa : public QObject
{
    Q_OBJECT

    std::unique_ptr<ArchivioProva> archivio_;
    std::unique_ptr<frmRistampa> finestra_;

private slots:
    void init()
    {
        // fat123-2014.pdf is archived but missing from the server folder.
        archivio_ = std::make_unique<ArchivioProva>(
            QStringList{"fat123-2014.pdf FAT 123 2014-03-31 C01", "bol7.pdf BOL 7 2014-03-01 D'ANGELO",
                        "fat9.pdf FAT 9 2014-03-15 C01", "fat123-2013.pdf FAT 123 2013-03-10 C01",
                        "bol123-2014.pdf BOL 123 2014-06-01 C02", "aprile.pdf FAT 10 2014-04-01 C01"},
            QStringList{"bol7.pdf", "fat9.pdf"});
        finestra_.reset(new frmRistampa);
        QVERIFY(MostraAttiva(finestra_.get()));
    }

    void cleanup()
    {
        finestra_.reset();
        archivio_.reset();
    }

    // Each search on the one window, its list closed before the next.
    void ricerche()
    {
        const struct
        {
            int opzione;
            const char* tipo;
            const char* testo; // the number or the code, whichever the option enables
            const char* righe;
            const char* istruzione;
        } casi[] = {
            {0, "Tutti", "", "bol7.pdf fat123-2014.pdf fat9.pdf",
             "Select Stampa, Tipo, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where data between(#03/01/2014#) and (#03/31/2014#) order by tipo, stampa, data;"},
            {0, "FAT", "", "fat9.pdf fat123-2014.pdf",
             "Select Stampa, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where  data between(#03/01/2014#) and (#03/31/2014#) and tipo='FAT' order by data, NumDoc;"},
            // "Tutti" counts only as written: in lower case it is a type.
            {0, "tutti", "", "",
             "Select Stampa, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where  data between(#03/01/2014#) and (#03/31/2014#) and tipo='tutti' order by data, NumDoc;"},
            {1, " FAT ", " 123 ", "fat123-2014.pdf",
             "Select Stampa, NumDoc as Num_Documento, year(data) as anno, Codice as Clien_Forn, email from Posta where  year(data) =2014 and NumDoc='123' and tipo='FAT' order by data, NumDoc;"},
            {1, "Tutti", "12'3", "",
             "Select Stampa, Tipo, NumDoc as Num_Documento, year(data) as anno, Codice as Clien_Forn, email from Posta where year(data) =2014 and NumDoc='12''3' order by tipo,data;"},
            {2, " Tutti ", " D'ANGELO ", "bol7.pdf",
             "Select Stampa, Tipo, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where data between(#03/01/2014#) and (#03/31/2014#)and Codice='D''ANGELO' order by tipo,data;"},
            {2, "B'L", "C01", "",
             "Select Stampa, NumDoc as Num_Documento, data, Codice as Clien_Forn, email from Posta where  data between(#03/01/2014#) and (#03/31/2014#) and tipo='B''L' and Codice='C01' order by data, NumDoc;"}};
        for (const auto& c : casi) {
            Cerca(finestra_->Pannello(), c.opzione, QDate(2014, 3, 1), QDate(2014, 3, 31), c.tipo, c.testo, c.testo);
            Tabulario* lista = finestra_->Trova();
            QVERIFY2(lista && lista->isVisible(), c.istruzione);
            QCOMPARE(QStringList({lista->Istruzione(), lista->windowTitle(), PrimeColonne(*lista).join(' ')}),
                     QStringList({c.istruzione, "Seleziona Documento", c.righe}));
            QTest::keyClick(lista->findChild<QLineEdit*>("txtFiltro"), Qt::Key_Escape);
        }
        QVERIFY(archivio_->dialoghi.messaggi.isEmpty());
    }

    // Each way the list of a search ends, on the one window.
    void scelta()
    {
        const struct
        {
            int riga; // -1: Esc, closed without choosing
            bool richiamoExt;
            const char* valore;
            const char* messaggio;
        } casi[] = {{-1, false, "", ""}, {0, true, "bol7.pdf", ""}, {1, false, "", "File Non Trovato"}};
        for (const auto& c : casi) {
            archivio_->dialoghi.messaggi.clear();
            finestra_->setRichiamoExt(c.richiamoExt);
            QSignalSpy spiaValore(finestra_.get(), &frmRistampa::Valore);
            Cerca(finestra_->Pannello(), 0, QDate(2014, 3, 1), QDate(2014, 3, 31));
            QPointer<Tabulario> lista = finestra_->Trova();
            QVERIFY(QTest::qWaitForWindowActive(lista));
            // The list is gone before the window acts on the choice.
            bool listaDavanti = false;
            archivio_->dialoghi.alMessaggio = [&](const auto&) { listaDavanti |= lista && lista->isVisible(); };
            auto* tabella = lista->findChild<QTableView*>(QStringLiteral("tabRighe"));
            QTest::keyClick(lista->findChild<QLineEdit*>(QStringLiteral("txtFiltro")), c.riga < 0 ? Qt::Key_Escape : Qt::Key_Down);
            for (int i = 0; i < c.riga; ++i)
                QTest::keyClick(tabella, Qt::Key_Down);
            if (c.riga >= 0)
                QTest::keyClick(tabella, Qt::Key_Return);

            QVERIFY(!finestra_->Trova());
            // Nothing is opened: the one document chosen is missing.
            QCOMPARE(QStringList({archivio_->apertore.aperti.join('|'), spiaValore.value(0).value(0).toString(),
                                  Messaggi(archivio_->dialoghi).join('|')}),
                     QStringList({QString(), c.valore, *c.messaggio ? Messaggio(Icona::Esclamazione, c.messaggio) : QString()}));
            QVERIFY(spiaValore.size() <= 1 && !listaDavanti);
        }
    }

    // The list filters on any column whatever the case, sorts dates as
    // dates (not as the text dd/mm/yyyy), and takes a double click as the
    // choice of the row under the pointer, sorted and filtered as it is.
    void filtroRiordinoEDoppioClic()
    {
        Cerca(finestra_->Pannello(), 0, QDate(2014, 3, 1), QDate(2014, 4, 30));
        Tabulario* lista = finestra_->Trova();
        QVERIFY(lista);
        auto* tabella = lista->findChild<QTableView*>(QStringLiteral("tabRighe"));
        QHeaderView* intestazione = tabella->horizontalHeader();
        QCOMPARE(tabella->model()->headerData(3, Qt::Horizontal).toString(), "Data");
        QTest::keyClicks(lista->findChild<QLineEdit*>(QStringLiteral("txtFiltro")), QStringLiteral("c01"));
        QCOMPARE(PrimeColonne(*lista), (QStringList{"aprile.pdf", "fat123-2014.pdf", "fat9.pdf"}));
        QTest::mouseClick(intestazione->viewport(), Qt::LeftButton, {},
                          QPoint(intestazione->sectionViewportPosition(3) + 5, intestazione->height() / 2));
        QCOMPARE(PrimeColonne(*lista), (QStringList{"fat9.pdf", "fat123-2014.pdf", "aprile.pdf"}));
        const QPoint punto = tabella->visualRect(tabella->model()->index(0, 1)).center();
        QTest::mouseClick(tabella->viewport(), Qt::LeftButton, {}, punto);
        QTest::mouseDClick(tabella->viewport(), Qt::LeftButton, {}, punto);
        QVERIFY(!finestra_->Trova());
        QCOMPARE(archivio_->apertore.aperti + archivio_->apertore.verbi, QStringList({archivio_->pdf("fat9.pdf"), "open"}));
    }
};

QTEST_MAIN(TestRistampa)
#include "tst_ristampa.moc"
