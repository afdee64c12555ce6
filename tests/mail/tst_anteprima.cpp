#include "ArchivioDiProva.h"
#include "ArchivioProva.h"
#include "CorvexFinto.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "components/Finestre.h"
#include "mail/IndicatoreInvio.h"
#include "mail/frmAnteprima.h"
#include "mail/frmRiEmail.h"
#include "settings/Impostazioni.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfView>
#include <QPdfWriter>
#include <QSqlQuery>
#include <QLabel>
#include <QStatusBar>
#include <QTreeWidget>

// The e-mail search and its preview, driven as a user does inside the main
// window's work area, with a double for the mail component.
class TestAnteprima : public QObject
{
    Q_OBJECT

    std::unique_ptr<ArchivioProva> archivio_;
    std::unique_ptr<QMdiArea> area_;
    QPointer<frmRiEmail> ricerca_;

    void Prepara(const QStringList& righe, const QString& porta = {})
    {
        // fat9.pdf is a real document; bol7.pdf and fat123.pdf are missing.
        archivio_ = std::make_unique<ArchivioProva>(righe);
        {
            QPdfWriter pdf(archivio_->pdf("fat9.pdf"));
            QPainter pittore(&pdf);
            pittore.drawText(QPointF(500, 500), QStringLiteral("Fattura n. 9"));
        }
        Connessione c;
        QVERIFY(!c.Apri(StringaConnessione(archivio_->database)).presente());
        QVERIFY(!c.Esegui("update Posta set email = null where Stampa = 'bol7.pdf'").presente());
        QVERIFY(!c.Esegui("update Posta set email = '' where Stampa = 'fat123.pdf'").presente());
        c.Chiudi();
        const QStringList account{"Indirizzo", "ufficio@esempio.it", "SMTP", "smtp.esempio.it", "UserID", "utente",
                                  "Password", "segreta", "Oggetto", "Documenti", "Messaggio",
                                  "Buongiorno,+in allegato.", "Porta", porta};
        for (int i = 0; i < account.size(); i += 2)
            ScriviIni("Email", account[i], account[i + 1]);
        CorvexFinto::Installa();
        area_ = std::make_unique<QMdiArea>();
        area_->resize(1200, 900);
        ricerca_ = new frmRiEmail;
        QMdiSubWindow* cornice = area_->addSubWindow(ricerca_);
        cornice->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(MostraAttiva(area_.get()));
        cornice->show();
        area_->setActiveSubWindow(cornice);
    }

    frmAnteprima* Anteprima() const { return ricerca_ ? ricerca_->Anteprima() : nullptr; }
    QTreeWidget* Lista() const { return Anteprima()->lista; }
    QTreeWidgetItem* Riga(int i) const { return Lista()->topLevelItem(i); }

    void Clic(int riga, Qt::MouseButton pulsante)
    {
        // On the second column: the first holds the tick box.
        const QPoint punto(Lista()->columnViewportPosition(1) + 4, Lista()->visualItemRect(Riga(riga)).center().y());
        QTest::mouseClick(Lista()->viewport(), pulsante, {}, punto);
    }

    // Each row as the user reads it: "x" when ticked, "*" when bold, then its columns.
    QStringList Righe() const
    {
        QStringList righe;
        for (int i = 0; i < Lista()->topLevelItemCount(); ++i) {
            QStringList celle{QString(Riga(i)->checkState(0) == Qt::Checked ? "x" : " ")
                              + (Riga(i)->font(0).bold() ? "*" : "")};
            for (int c = 0; c < Lista()->columnCount(); ++c)
                celle.append(Riga(i)->text(c));
            righe.append(celle.join('|'));
        }
        return righe;
    }

    const QStringList archivioMarzo{"fat9.pdf FAT 9 2014-03-15 C01", "bol7.pdf BOL 7 2014-03-01 C02",
                                    "fat123.pdf FAT 123 2014-03-31 C01", "fat10.pdf FAT 10 2014-04-01 C01"};

private slots:
    void cleanup()
    {
        area_.reset();
        CorvexFinto::Disinstalla();
        archivio_.reset();
    }

    // A search as typed (its statement is the reprint window's): the search
    // window hidden while the preview is open, back with its criteria on
    // "Annulla"; a search without documents says so and stays.
    void ricerche()
    {
        Prepara(archivioMarzo);
        PannelloRicerca* p = ricerca_->Pannello();
        Cerca(p, 1, QDate(2014, 3, 1), QDate(2014, 3, 31), "FAT", "123");
        QVERIFY(Anteprima() && Anteprima()->isVisible() && !ricerca_->isVisible());
        QCOMPARE(Righe(), QStringList({"x*|fat123.pdf|123|2014|C01|"}));
        QTest::mouseClick(Anteprima()->cmdAnnulla, Qt::LeftButton);
        QTRY_VERIFY(!Anteprima() && ricerca_->isVisible());
        QCOMPARE(QStringList({p->cmbTipo->currentText(), p->txtDoc->text(), p->txtCodice->text()}),
                 QStringList({"FAT", "123", ""}));
        Cerca(p, 2, QDate(2014, 3, 1), QDate(2014, 3, 31), "BOL", {}, "C'02");
        QCOMPARE(Messaggi(archivio_->dialoghi), QStringList({Messaggio(Icona::Informazione, "Esito negativo ricerca.")}));
        QVERIFY(!Anteprima() && ricerca_->isVisible() && CorvexFinto::Invii().isEmpty());

        // An archive without types searches by date alone, with its own columns.
        cleanup();
        Prepara({"a.pdf '' 1 2014-03-02 C01", "b.pdf - 2 2014-03-03 C02", "c.pdf '' 3 2014-05-01 C01"});
        p = ricerca_->Pannello();
        p->dtData->setDate(QDate(2014, 3, 1));
        p->dtDataFin->setDate(QDate(2014, 3, 31));
        QTest::mouseClick(p->cmdCerca, Qt::LeftButton);
        QCOMPARE(Righe(), QStringList({"x*|b.pdf|2|03/03/2014|C02|ufficio@esempio.it",
                                       "x|a.pdf|1|02/03/2014|C01|ufficio@esempio.it"}));
    }

    // The preview as a user works it: ticks, the bold current row, previews
    // on a right click, addresses typed or cleared; a second search brings
    // everything back in the same preview; nothing ticked sends nothing; "Invia" hands
    // the ticked rows and the account to the component and closes.
    void anteprimaEInvio()
    {
        Prepara(archivioMarzo, "587.0");
        Cerca(ricerca_->Pannello(), 0, QDate(2014, 3, 1), QDate(2014, 3, 31));
        const QStringList trovate{"x*|bol7.pdf|BOL|7|01/03/2014|C02|", "x|fat123.pdf|FAT|123|31/03/2014|C01|",
                                  "x|fat9.pdf|FAT|9|15/03/2014|C01|ufficio@esempio.it"};
        QCOMPARE(Righe(), trovate);
        // The first document is missing: no preview, and no word about it among the messages below.
        QVERIFY(!Anteprima()->WebBrowser->isVisible());

        Clic(2, Qt::LeftButton);
        Clic(0, Qt::RightButton); // previews the current row, not the one under the pointer
        QVERIFY(Anteprima()->WebBrowser->isVisible() && Riga(2)->font(3).bold());
        QCOMPARE(Anteprima()->WebBrowser->document()->status(), QPdfDocument::Status::Ready);
        QCOMPARE(Anteprima()->RigaCorrente(), Riga(2));
        QTest::keyClick(Lista(), Qt::Key_Space); // untick fat9.pdf

        Clic(1, Qt::LeftButton);
        QVERIFY(!Anteprima()->WebBrowser->isVisible() && !Riga(2)->font(0).bold());
        Clic(1, Qt::RightButton);
        QVERIFY(!Anteprima()->WebBrowser->isVisible());
        archivio_->dialoghi.RispondiInputPoi("nuovo@esempio.it");
        QTest::mouseClick(Anteprima()->cmdAddEmail, Qt::LeftButton);
        Clic(2, Qt::LeftButton);
        QTest::mouseClick(Anteprima()->cmdAddEmail, Qt::LeftButton); // cancelled
        QCOMPARE(Righe(), QStringList({"x|bol7.pdf|BOL|7|01/03/2014|C02|",
                                       "x|fat123.pdf|FAT|123|31/03/2014|C01|nuovo@esempio.it",
                                       " |fat9.pdf|FAT|9|15/03/2014|C01|"}));
        QCOMPARE(archivio_->dialoghi.richiesteInput, QStringList({"Email:", "Email:"}));

        // The search brought back (as the main window's menu does) and run
        // again: the same preview comes back rebuilt, all ticked, the
        // archive's addresses.
        QPointer<frmAnteprima> prima = Anteprima();
        RiprendiFinestra(ricerca_);
        QTest::mouseClick(ricerca_->Pannello()->cmdCerca, Qt::LeftButton);
        QVERIFY(!ricerca_->isVisible() && area_->findChildren<frmAnteprima*>() == QList<frmAnteprima*>{prima});
        QCOMPARE(area_->subWindowList().size(), 2); // in its own frame, not in a second one
        // As from a search window opened anew, the first one closed meanwhile.
        RiprendiFinestra(ricerca_);
        QTest::mouseClick(ricerca_->Pannello()->cmdAnnulla, Qt::LeftButton);
        QTRY_VERIFY(!ricerca_);
        ricerca_ = new frmRiEmail;
        area_->addSubWindow(ricerca_)->show();
        Cerca(ricerca_->Pannello(), 0, QDate(2014, 3, 1), QDate(2014, 3, 31));
        QVERIFY(!ricerca_->isVisible() && area_->findChildren<frmAnteprima*>() == QList<frmAnteprima*>{prima});
        QCOMPARE(Righe(), trovate);

        Lista()->setFocus();
        for (int i = 0; i < 3; ++i) {
            Lista()->setCurrentItem(Riga(i));
            QTest::keyClick(Lista(), Qt::Key_Space);
        }
        QTest::mouseClick(Anteprima()->cmdOk, Qt::LeftButton);

        Clic(1, Qt::LeftButton);
        archivio_->dialoghi.RispondiInputPoi("nuovo@esempio.it");
        QTest::mouseClick(Anteprima()->cmdAddEmail, Qt::LeftButton);
        for (const int i : {1, 2}) {
            Lista()->setCurrentItem(Riga(i));
            QTest::keyClick(Lista(), Qt::Key_Space);
        }
        QStatusBar barra;
        const IndicatoreInvio* indicatore = IndicatoreInvio::Installa(&barra);
        QTest::mouseClick(Anteprima()->cmdOk, Qt::LeftButton);
        QVERIFY(indicatore->isVisibleTo(&barra));
        QCOMPARE(indicatore->lblInvio->text(), QString("Invio email in corso..."));
        QTRY_VERIFY(!Anteprima() && ricerca_->isVisible());
        QCOMPARE(CorvexFinto::Invii().size(), 1);
        const auto& invio = CorvexFinto::Invii().at(0);
        QCOMPARE(invio.tabella.percorsi, QStringList({archivio_->pdf("fat123.pdf"), archivio_->pdf("fat9.pdf")}));
        QCOMPARE(invio.tabella.destinatari, QStringList({"nuovo@esempio.it", "ufficio@esempio.it"}));
        QCOMPARE(invio.valori, QStringList({"ufficio@esempio.it", "Buongiorno,\r\nin allegato.", "Documenti",
                                            "segreta", "587", "smtp.esempio.it", "utente"}));

        // The component reports after the window has gone.
        QTRY_VERIFY(invio.rilasciato);
        QVERIFY(!indicatore->isVisibleTo(&barra));
        QCOMPARE(indicatore->lblInvio->text(), QString("Invio email: 2 di 2 documenti"));
        QCOMPARE(Messaggi(archivio_->dialoghi),
                 QStringList({Messaggio(Icona::Informazione, "il documento non esiste più."),
                              Messaggio(Icona::Esclamazione, "Selezionare almeno un documento da inviare."),
                              Messaggio(Icona::Informazione, "Invio completato.")}));

        // Found again, a document sent says where it stands.
        Cerca(ricerca_->Pannello(), 0, QDate(2014, 3, 1), QDate(2014, 3, 31));
        QVERIFY(!Anteprima()->lblStato->isVisible());
        Clic(2, Qt::LeftButton);
        QCOMPARE(Anteprima()->lblStato->text(), "Invii precedenti del documento:\nufficio@esempio.it: inviato il 15/03/2014 10:31");

        // The archive damaged (on a server: the session ended by the server)
        // while the preview is open: the next activation says why the list is empty.
        if (ProvaSuServer()) {
            SuArchivio(archivio_->database, [](QSqlDatabase& altra) {
                QVERIFY(QSqlQuery(altra).exec("select pg_terminate_backend(pid) from pg_stat_activity where "
                                              "datname = current_database() and pid <> pg_backend_pid()"));
            });
        } else {
            QFile archivio(archivio_->database);
            QVERIFY(archivio.open(QIODevice::ReadWrite));
            archivio.write(QByteArray(4096, 'x'));
        }
        area_->addSubWindow(new QWidget)->show();
        area_->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(Anteprima()->parentWidget()));
        QCOMPARE(Lista()->topLevelItemCount(), 0);
        QCOMPARE(Messaggi(archivio_->dialoghi).size(), 4);
        QVERIFY2(Messaggi(archivio_->dialoghi).last().startsWith(
                     Messaggio(Icona::Critica, "Impossibile rileggere i documenti trovati dall'archivio:\n")),
                 qPrintable(Messaggi(archivio_->dialoghi).last()));
    }

    // A port that cannot be converted (each form the setting may take is in
    // the port reader's own test; the port read is handed over in
    // anteprimaEInvio), or no mail component: told, nothing sent, the preview stays.
    void portaEComponente()
    {
        const QString portaErrata = "La porta del server di posta \"70000\" non è valida: indicare nelle impostazioni un "
                                    "numero intero da 1 a 65535, oppure 0 o nessun valore per usare la porta usuale. "
                                    "Nessun documento è stato inviato.";
        // The setting, whether there is a component, and the message.
        const std::tuple<QString, bool, QString> casi[] = {
            {"70000", true, Messaggio(Icona::Esclamazione, portaErrata)},
            {"465", false, Messaggio(Icona::Critica, "Il componente per l'invio della posta non è disponibile. "
                                                     "Nessun documento è stato inviato.")}};
        for (const auto& [porta, componente, esito] : casi) {
            Prepara(archivioMarzo, porta);
            if (!componente)
                CorvexFinto::Disinstalla();
            Cerca(ricerca_->Pannello(), 0, QDate(2014, 3, 1), QDate(2014, 3, 31));
            QTest::mouseClick(Anteprima()->cmdOk, Qt::LeftButton);
            QCOMPARE(Messaggi(archivio_->dialoghi), QStringList({esito}));
            QVERIFY2(Anteprima() && Anteprima()->isVisible() && CorvexFinto::Invii().isEmpty(), qPrintable(porta));
            cleanup();
        }
    }
};

QTEST_MAIN(TestAnteprima)
#include "tst_anteprima.moc"
