#include "PdfProva.h"
#include "ArchivioProva.h"
#include "app/IndicatoreIndice.h"
#include "app/frmPrincipale.h"
#include "import/cImporta.h"
#include "import/frmImporta.h"
#include "indice/EstrattoreTesto.h"
#include "settings/Impostazioni.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// Lets the deferred deletion of an unloaded window happen.
void scarica()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A window shown as the main window shows it, with the paths of `p` typed
// in; the pointer clears when it unloads.
QPointer<frmImporta> aperta(const PostazioneProva& p, frmImporta* f = new frmImporta)
{
    f->show();
    Riscrivi(f->txtPercorsoCartella, p.cartellaPdf);
    Riscrivi(f->txtDatabase, p.server);
    return f;
}

} // namespace

// The import window driven as a user would drive it.
class TestfrmImporta : public QObject
{
    Q_OBJECT

private slots:
    void aspettoCaricamentoESfoglia()
    {
        AmbienteProva a;
        frmImporta vuota;
        QStringList testi{vuota.windowTitle(), vuota.fraImposta->title()};
        for (int i = 0; i < 3; ++i) {
            const auto* etichetta = vuota.findChild<QLabel*>(QStringLiteral("Label2_%1").arg(i));
            testi.append(etichetta && etichetta->buddy() ? etichetta->text() + " " + etichetta->buddy()->objectName()
                                                         : QStringLiteral("Label2_%1 senza casella").arg(i));
        }
        for (const QPushButton* pulsante :
             {vuota.cmdPercorsoCartella, vuota.cmdPercorsoDatabase, vuota.cmdOK, vuota.cmdAnnulla})
            testi.append(pulsante->text());
        QCOMPARE(testi, (QStringList{"Importa Documenti", "Cartella documenti PDF su server",
                                     "Percorso Cartella documenti : txtPercorsoCartella",
                                     "Percorso Cartella Database : txtDatabase", "Nome Database : txtBaseDati",
                                     "S&foglia", "Sf&oglia", "&Importa", "&Annulla"}));
        QVERIFY(vuota.prgAvanzamento->y() > vuota.cmdOK->geometry().bottom());
        // Without Velmira.ini only the database name is filled in, and no file is made.
        QCOMPARE(vuota.PercorsiImportazione(), QStringList({"", "/dati.mdb", "/spooling.ini"}));
        QVERIFY(!QFile::exists(PercorsoVelmiraIni()));

        a.scriviFile("Velmira.ini", "[Percorsi]\nCartellaPDF=/server/pdf\nDataBase=/server/marvena\n");
        frmImporta f;
        QCOMPARE(f.pos(), QPoint(0, 0));
        QCOMPARE(f.PercorsiImportazione(),
                 QStringList({"/server/pdf", "/server/marvena/dati.mdb", "/server/marvena/spooling.ini"}));

        // Each picker fills its own box, asking with its own prompt.
        a.selettore.risposte.enqueue("/scelta/pdf");
        a.selettore.risposte.enqueue("/scelta/marvena");
        QTest::mouseClick(f.cmdPercorsoCartella, Qt::LeftButton);
        QTest::mouseClick(f.cmdPercorsoDatabase, Qt::LeftButton);
        QCOMPARE(f.txtPercorsoCartella->text() + "|" + f.txtDatabase->text(), "/scelta/pdf|/scelta/marvena");
        QCOMPARE(a.selettore.richieste,
                 (QStringList{"Seleziona il percorso della cartella che contiene i documenti in formato PDF:",
                              "Seleziona il percorso della cartella dove è installato il programma 'Marvena':"}));
    }

    // Paths that fail their checks: every message in order, no run, the old list shown.
    void percorsiErrati()
    {
        PostazioneProva p;
        QFile::remove(p.fileIni);
        QDir().mkpath(p.fileIni); // a folder is not a settings file
        p.scriviFile("ElencoFileImp.txt", "elenco di ieri\r\n");
        QPointer<frmImporta> finestra = aperta(p);
        Riscrivi(finestra->txtPercorsoCartella, p.pdf("manca"));
        Riscrivi(finestra->txtBaseDati, "manca.mdb");
        QTest::mouseClick(finestra->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(finestra.isNull());

        const QString controllo = ", impossibile effettuare un controllo sui documenti prodotti da 'Marvena'";
        QCOMPARE(Messaggi(p.dialoghi),
                 (QStringList{Messaggio(Icona::Esclamazione, "Manca il percorso della cartella contenente i documenti pdf" + controllo),
                              Messaggio(Icona::Esclamazione, "Manca il percorso del database" + controllo),
                              Messaggio(Icona::Esclamazione, "Manca il percorso del file INI" + controllo)}));
        QCOMPARE(p.elenco(), QStringList{"elenco di ieri"});
        QCOMPARE(p.apertore.aperti, QStringList{PercorsoElencoImportazione()});
    }

    void importa()
    {
        PostazioneProva p({}, {"000123FAT000045220140318.pdf", "000124BOL000000720150102.pdf"});
        ScriviPdf(p.pdf("000123FAT000045220140318.pdf"), {"Fattura per Ditta Rossi"});
        QStatusBar barra;
        const IndicatoreIndice* indice = IndicatoreIndice::Installa(&barra);
        QPointer<frmImporta> finestra = aperta(p);
        QString avanzamento;
        connect(finestra->prgAvanzamento, &QProgressBar::valueChanged, [&](int v) {
            avanzamento = QStringLiteral("%1/%2").arg(v).arg(finestra->prgAvanzamento->maximum());
        });
        QTest::mouseClick(finestra->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(finestra.isNull());
        QCOMPARE(avanzamento, "2/2");
        QVERIFY(p.dialoghi.messaggi.isEmpty());
        QCOMPARE(p.elenco(), Elenco({p.pdf("000123FAT000045220140318.pdf"), p.pdf("000124BOL000000720150102.pdf"),
                                     Tolte(0), "Archiviati n.2 nuovi files."}));
        QCOMPARE(p.apertore.aperti + p.apertore.verbi, QStringList({PercorsoElencoImportazione(), "open"}));
        // Then their text is read in the background, the status bar telling how it went.
        QTRY_COMPARE_WITH_TIMEOUT(indice->testo->text(),
                                  "Testo dei documenti indicizzato: 2 letti, 0 senza testo, 1 non letti", 30000);

        // The share is not mounted (a folder left without documents): the
        // window says why nothing left the archive.
        QFile::remove(p.pdf("000123FAT000045220140318.pdf"));
        QFile::remove(p.pdf("000124BOL000000720150102.pdf"));
        p.documenti({"leggimi.txt"});
        finestra = aperta(p);
        QTest::mouseClick(finestra->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(finestra.isNull());
        QCOMPARE(Messaggi(p.dialoghi),
                 QStringList{Messaggio(Icona::Esclamazione,
                                       "La cartella dei documenti " + p.cartellaPdf + " non contiene alcun documento, mentre "
                                       "l'archivio ne contiene 2: la pulizia dell'archivio non è stata eseguita e nessun "
                                       "documento è stato tolto dall'archivio. Controllare che la cartella sia collegata al server.")});
        QCOMPARE(p.archivio().size(), 2);
    }

    void annullaDuranteLImportazione_data()
    {
        QTest::addColumn<QString>("come");
        QTest::newRow("Annulla, confermato") << "pulsante";
        QTest::newRow("finestra chiusa") << "finestra";
        QTest::newRow("cornice chiusa nella finestra principale") << "cornice";
    }

    void annullaDuranteLImportazione()
    {
        QFETCH(QString, come);
        PostazioneProva p({}, Numerati(3000));
        frmPrincipale principale;
        principale.RegistraFinestra(QStringLiteral("mnuFileImporta"), [] { return new frmImporta; });
        auto* area = principale.findChild<QMdiArea*>();
        principale.show();
        QPointer<QMdiSubWindow> cornice;
        if (come == "cornice") {
            principale.ToolBar_ButtonClick(QStringLiteral("Importa"));
            cornice = area->activeSubWindow();
        }
        QPointer<frmImporta> finestra = aperta(p, cornice ? qobject_cast<frmImporta*>(cornice->widget()) : new frmImporta);

        QTest::mouseClick(finestra->cmdOK, Qt::LeftButton);
        const bool bloccati = !finestra->cmdOK->isEnabled() && !finestra->cmdPercorsoCartella->isEnabled()
            && !finestra->cmdPercorsoDatabase->isEnabled() && finestra->cmdAnnulla->isEnabled();
        if (come == "pulsante") {
            p.dialoghi.RispondiPoi(Risposta::Si);
            QTest::mouseClick(finestra->cmdAnnulla, Qt::LeftButton);
        } else {
            cornice ? cornice->close() : finestra->close();
        }
        scarica();
        // The window is gone at once, while its run is still ending; the
        // menu opens a new one, ready (a run of it would wait for its turn).
        QVERIFY(bloccati && finestra.isNull() && cornice.isNull());
        QVERIFY(p.apertore.aperti.isEmpty());
        if (come == "cornice") {
            principale.ToolBar_ButtonClick(QStringLiteral("Importa"));
            QCOMPARE(area->subWindowList().size(), 1);
            QVERIFY(area->subWindowList().first()->widget()->isEnabled());
        }
        // The list is still shown when the run has ended.
        QTRY_COMPARE_WITH_TIMEOUT(p.apertore.aperti, QStringList{PercorsoElencoImportazione()}, 60000);
        QCOMPARE(p.elenco(), Elenco({Tolte(0), "Procedura annullata dall'operatore.\nNessun nuovo file archiviato."}));
        // Only Annulla asks, with Yes and No.
        const QString domanda = Messaggio(Icona::Domanda, "Annullare l'operazione?");
        QCOMPARE(Messaggi(p.dialoghi), come == "pulsante" ? QStringList{domanda} : QStringList{});
        QVERIFY(come != "pulsante" || p.dialoghi.messaggi.first().pulsanti == Pulsanti::SiNo);
    }
};

int main(int argc, char* argv[])
{
    QApplication applicazione(argc, argv);
    EstrattoreTesto::ImpostaEseguibilePredefinito(ESEGUIBILE_TESTO);
    TestfrmImporta prova;
    return QTest::qExec(&prova, argc, argv);
}
#include "tst_frmImporta.moc"
