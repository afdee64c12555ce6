#include "PostazioneProva.h"
#include "ArchivioDiProva.h"
#include "ArchivioProva.h"
#include "search/frmRistampa.h"

#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTableView>

#include <csignal>

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
            const char* aperto;
            const char* valore;
            const char* messaggio;
        } casi[] = {{2, false, "fat9.pdf", "", ""},
                    {-1, false, "", "", ""},
                    {0, true, "", "bol7.pdf", ""},
                    {1, false, "", "", "File Non Trovato"}};
        for (const auto& c : casi) {
            archivio_->dialoghi.messaggi.clear();
            archivio_->apertore.aperti.clear();
            archivio_->apertore.verbi.clear();
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
            const auto& apertore = archivio_->apertore;
            QCOMPARE(QStringList({apertore.aperti.join('|') + apertore.verbi.join('|'), spiaValore.value(0).value(0).toString(),
                                  Messaggi(archivio_->dialoghi).join('|')}),
                     QStringList({*c.aperto ? archivio_->pdf(c.aperto) + "open" : QString(), c.valore,
                                  *c.messaggio ? Messaggio(Icona::Esclamazione, c.messaggio) : QString()}));
            QVERIFY(spiaValore.size() <= 1 && !listaDavanti);
        }
    }

    // Another workstation imports a large folder into the same archive and
    // is caught halfway (stopped, whatever it holds at that moment); this one
    // goes on searching and reprinting, the documents just archived included.
    void ricercaDuranteUnImportazione()
    {
        const int nuovi = 100000;
        const QStringList nomi = Numerati(nuovi);
        for (const QString& nome : nomi)
            QFile(archivio_->pdf(nome)).open(QIODevice::WriteOnly);
        QDir().mkpath(archivio_->percorso("altra"));
        QProcess importazione;
        importazione.start(QStringLiteral(ESEGUIBILE_VELMIRA), QStringList{"importa"} + archivio_->opzioni(archivio_->percorso("altra")));
        const auto archiviati = [this] {
            QStringList numeri;
            SuArchivio(archivio_->database, [&numeri](QSqlDatabase& db) {
                for (QSqlQuery q("select NumDoc from Posta where Codice = '1'", db); q.next();)
                    numeri.append(q.value(0).toString());
            });
            return numeri;
        };
        // Watched closely: the whole run takes about a second.
        QVERIFY(AttendiDaVicino([&archiviati] { return !archiviati().isEmpty(); }));
        QCOMPARE(::kill(pid_t(importazione.processId()), SIGSTOP), 0);
        const QStringList numeri = archiviati();
        QVERIFY2(numeri.size() < nuovi, "the import ended before it could be stopped halfway");

        PannelloRicerca* p = finestra_->Pannello();
        Cerca(p, 2, QDate(2014, 3, 1), QDate(2014, 3, 31), "Tutti", {}, "D'ANGELO");
        QCOMPARE(PrimeColonne(*finestra_->Trova()), QStringList{"bol7.pdf"});
        QTest::keyClick(finestra_->Trova()->findChild<QLineEdit*>("txtFiltro"), Qt::Key_Escape);
        QTest::mouseClick(p->optRicerca[1], Qt::LeftButton);
        Riscrivi(p->txtAnno, "2015");
        Cerca(p, 1, QDate(2015, 1, 1), QDate(2015, 1, 31), "FAT", numeri.last());
        const QString documento = nomi.at(numeri.last().toInt() - 1);
        QCOMPARE(PrimeColonne(*finestra_->Trova()), QStringList{documento});
        QTest::keyClick(finestra_->Trova()->findChild<QLineEdit*>("txtFiltro"), Qt::Key_Down);
        QTest::keyClick(finestra_->Trova()->findChild<QTableView*>("tabRighe"), Qt::Key_Return);
        QCOMPARE(archivio_->apertore.aperti, QStringList{archivio_->pdf(documento)});
        QCOMPARE(Messaggi(archivio_->dialoghi), QStringList());

        // Let go, the import ends as if nothing had happened; the clean-up
        // takes the rows whose file is missing.
        QCOMPARE(::kill(pid_t(importazione.processId()), SIGCONT), 0);
        QVERIFY(importazione.waitForFinished(400000));
        QCOMPARE(importazione.exitCode(), 0);
        QCOMPARE(StatoArchivio(archivio_->database), QStringLiteral("ok %1 %1 %1").arg(nuovi + 2));
    }
};

QTEST_MAIN(TestRistampa)
#include "tst_ristampa.moc"
