#include "AmbienteProva.h"
#include "ProvaImportazione.h"
#include "components/Finestre.h"
#include "import/cImporta.h"
#include "import/frmImporta.h"
#include "settings/Impostazioni.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

// The import window driven as a user would drive it.
class TestfrmImporta : public QObject
{
    Q_OBJECT

private slots:
    void aspetto();
    void caricamento_data();
    void caricamento();
    void sfoglia();
    void annulla_data();
    void annulla();
    void importaConCartellaVuota();
    void importa();
    void annullaDuranteLImportazione_data();
    void annullaDuranteLImportazione();
};

namespace {

// Lets the deferred deletion of an unloaded window happen.
void scarica()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void scrivi(QLineEdit* casella, const QString& testo)
{
    casella->clear();
    QTest::keyClicks(casella, testo);
}

void compila(frmImporta& finestra, const ProvaImportazione& p)
{
    scrivi(finestra.txtPercorsoCartella, p.pdf);
    scrivi(finestra.txtDatabase, p.marvena);
}

QRect inTwip(int sinistra, int alto, int larghezza, int altezza)
{
    return QRect(Twip(sinistra), Twip(alto), Twip(larghezza), Twip(altezza));
}

} // namespace

void TestfrmImporta::aspetto()
{
    AmbienteProva ambiente;
    frmImporta finestra;
    QCOMPARE(finestra.windowTitle(), "Importa Documenti");
    QCOMPARE(finestra.fraImposta->title(), "Cartella documenti PDF su server");
    const QStringList didascalie{"Percorso Cartella documenti :", "Percorso Cartella Database :",
                                 "Nome Database :"};
    const QWidget* caselle[3] = {finestra.txtPercorsoCartella, finestra.txtDatabase,
                                 finestra.txtBaseDati};
    for (int i = 0; i < 3; ++i) {
        auto* etichetta = finestra.findChild<QLabel*>(QStringLiteral("Label2_%1").arg(i));
        QVERIFY(etichetta);
        QCOMPARE(etichetta->text(), didascalie[i]);
        QCOMPARE(etichetta->buddy(), caselle[i]);
        QCOMPARE(etichetta->geometry(), inTwip(120, 480 + 480 * i, 2175, 285));
        QCOMPARE(caselle[i]->geometry(), inTwip(2400, 480 + 480 * i, 3135, 285));
    }
    QCOMPARE(finestra.cmdPercorsoCartella->text(), "S&foglia");
    QCOMPARE(finestra.cmdPercorsoDatabase->text(), "Sf&oglia");
    QCOMPARE(finestra.cmdPercorsoCartella->geometry().size(), inTwip(0, 0, 975, 375).size());
    QCOMPARE(finestra.cmdPercorsoCartella->x(), Twip(5760));
    QCOMPARE(finestra.cmdOK->text(), "&Importa");
    QCOMPARE(finestra.cmdOK->geometry(), inTwip(2925, 2280, 1335, 375));
    QCOMPARE(finestra.cmdAnnulla->text(), "&Annulla");
    QCOMPARE(finestra.cmdAnnulla->geometry(), inTwip(4455, 2280, 1095, 375));
    QVERIFY(finestra.prgAvanzamento->y() > finestra.cmdOK->geometry().bottom());
    for (const char* nome : {"txtPercorsoCartella", "cmdPercorsoCartella", "txtDatabase",
                             "cmdPercorsoDatabase", "txtBaseDati", "cmdOK", "cmdAnnulla"})
        QVERIFY2(finestra.findChild<QWidget*>(nome), nome);
}

void TestfrmImporta::caricamento_data()
{
    QTest::addColumn<bool>("conImpostazioni");
    QTest::newRow("senza Velmira.ini") << false;
    QTest::newRow("con Velmira.ini") << true;
}

void TestfrmImporta::caricamento()
{
    QFETCH(bool, conImpostazioni);
    AmbienteProva ambiente;
    if (conImpostazioni)
        ambiente.scriviFile("Velmira.ini",
                            "[Percorsi]\nCartellaPDF=/server/pdf\nDataBase=/server/marvena\n");
    frmImporta finestra;
    QCOMPARE(finestra.txtPercorsoCartella->text(), conImpostazioni ? "/server/pdf" : "");
    QCOMPARE(finestra.txtDatabase->text(), conImpostazioni ? "/server/marvena" : "");
    QCOMPARE(finestra.txtBaseDati->text(), "dati.mdb");
    QCOMPARE(finestra.PercorsiImportazione(),
             conImpostazioni ? QStringList({"/server/pdf", "/server/marvena/dati.mdb",
                                            "/server/marvena/spooling.ini"})
                             : QStringList({"", "/dati.mdb", "/spooling.ini"}));
    QCOMPARE(finestra.pos(), QPoint(0, 0));
    QVERIFY(!QFile::exists(PercorsoVelmiraIni()) || conImpostazioni);
}

void TestfrmImporta::sfoglia()
{
    AmbienteProva ambiente;
    frmImporta finestra;
    ambiente.selettore.risposte.enqueue("/scelta/pdf");
    ambiente.selettore.risposte.enqueue("/scelta/marvena");
    QTest::mouseClick(finestra.cmdPercorsoCartella, Qt::LeftButton);
    QTest::mouseClick(finestra.cmdPercorsoDatabase, Qt::LeftButton);
    QCOMPARE(finestra.txtPercorsoCartella->text(), "/scelta/pdf");
    QCOMPARE(finestra.txtDatabase->text(), "/scelta/marvena");
    // Cancelled pickers leave the boxes as they were.
    QTest::mouseClick(finestra.cmdPercorsoCartella, Qt::LeftButton);
    QTest::mouseClick(finestra.cmdPercorsoDatabase, Qt::LeftButton);
    QCOMPARE(finestra.txtPercorsoCartella->text(), "/scelta/pdf");
    QCOMPARE(finestra.txtDatabase->text(), "/scelta/marvena");
    const QString cartella = "Seleziona il percorso della cartella che contiene i documenti in formato PDF:";
    const QString database = "Seleziona il percorso della cartella dove è installato il programma 'Marvena':";
    QCOMPARE(ambiente.selettore.richieste, (QStringList{cartella, database, cartella, database}));
}

void TestfrmImporta::annulla_data()
{
    QTest::addColumn<bool>("conferma");
    QTest::newRow("no") << false;
    QTest::newRow("sì") << true;
}

void TestfrmImporta::annulla()
{
    QFETCH(bool, conferma);
    AmbienteProva ambiente;
    QPointer<frmImporta> finestra = new frmImporta;
    finestra->show();
    ambiente.dialoghi.RispondiPoi(conferma ? Risposta::Si : Risposta::No);
    QTest::mouseClick(finestra->cmdAnnulla, Qt::LeftButton);
    scarica();
    QCOMPARE(ambiente.dialoghi.messaggi.size(), 1);
    QCOMPARE(ambiente.dialoghi.messaggi[0].testo, "Annullare l'operazione?");
    QCOMPARE(ambiente.dialoghi.messaggi[0].icona, Icona::Domanda);
    QCOMPARE(ambiente.dialoghi.messaggi[0].pulsanti, Pulsanti::SiNo);
    QCOMPARE(ambiente.dialoghi.messaggi[0].titolo, TitoloApplicazione);
    QCOMPARE(finestra.isNull(), conferma);
    QVERIFY(ambiente.apertore.aperti.isEmpty());
    delete finestra;
}

void TestfrmImporta::importaConCartellaVuota()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    ambiente.scriviFile("ElencoFileImp.txt", "elenco di ieri\r\n");
    QPointer<frmImporta> finestra = new frmImporta;
    finestra->show();
    scrivi(finestra->txtDatabase, p.marvena);
    scrivi(finestra->txtBaseDati, "manca.mdb");
    QTest::mouseClick(finestra->cmdOK, Qt::LeftButton);
    scarica();

    QStringList messaggi;
    for (const auto& m : std::as_const(ambiente.dialoghi.messaggi))
        messaggi.append(m.testo);
    QCOMPARE(messaggi, (QStringList{"Manca il percorso della cartella contenente i documenti pdf, "
                                    "impossibile effettuare un controllo sui documenti prodotti da "
                                    "'Marvena'",
                                    "Manca il percorso del database, impossibile effettuare un "
                                    "controllo sui documenti prodotti da 'Marvena'"}));
    QCOMPARE(p.elenco(), QStringList{"elenco di ieri"});
    QCOMPARE(ambiente.apertore.aperti, QStringList{PercorsoElencoImportazione()});
    QVERIFY(finestra.isNull());
}

void TestfrmImporta::importa()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    p.documenti({"000123FAT000045220140318.pdf", "000124BOL000000720150102.pdf"});
    QPointer<frmImporta> finestra = new frmImporta;
    finestra->show();
    compila(*finestra, p);
    QProgressBar* avanzamento = finestra->prgAvanzamento;
    int massimo = 0;
    int valore = 0;
    connect(avanzamento, &QProgressBar::valueChanged, [&](int v) {
        valore = v;
        massimo = avanzamento->maximum();
    });
    QTest::mouseClick(finestra->cmdOK, Qt::LeftButton);
    QCOMPARE(valore, 2);
    QCOMPARE(massimo, 2);
    scarica();

    QVERIFY(ambiente.dialoghi.messaggi.isEmpty());
    QCOMPARE(p.elenco(), (QStringList{"elenco file elaborati:", "",
                                      p.pdf + "/000123FAT000045220140318.pdf", "",
                                      p.pdf + "/000124BOL000000720150102.pdf", "",
                                      "Archiviati n.2 nuovi files."}));
    QCOMPARE(p.archivio().size(), 2);
    QCOMPARE(ambiente.apertore.aperti, QStringList{PercorsoElencoImportazione()});
    QCOMPARE(ambiente.apertore.verbi, QStringList{"open"});
    QVERIFY(finestra.isNull());
}

void TestfrmImporta::annullaDuranteLImportazione_data()
{
    QTest::addColumn<QString>("come");
    QTest::newRow("Annulla, confermato") << "pulsante";
    QTest::newRow("finestra chiusa") << "finestra";
    QTest::newRow("cornice chiusa nella finestra principale") << "cornice";
}

void TestfrmImporta::annullaDuranteLImportazione()
{
    QFETCH(QString, come);
    const bool conPulsante = come == "pulsante";
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    QStringList nomi;
    for (int i = 1; i <= 3000; ++i)
        nomi.append("000001FAT" + QStringLiteral("%1").arg(i, 7, 10, QLatin1Char('0')) + "20150101.pdf");
    p.documenti(nomi);
    QMdiArea principale;
    QPointer<frmImporta> finestra = new frmImporta;
    QPointer<QMdiSubWindow> cornice;
    if (come == "cornice") {
        cornice = principale.addSubWindow(finestra);
        principale.show();
    }
    finestra->show();
    compila(*finestra, p);

    bool bloccati = false;
    bool nascostaSubito = false;
    QTimer::singleShot(0, finestra, [&] {
        bloccati = !finestra->cmdOK->isEnabled() && !finestra->cmdPercorsoCartella->isEnabled()
            && !finestra->cmdPercorsoDatabase->isEnabled() && finestra->cmdAnnulla->isEnabled();
        if (conPulsante) {
            ambiente.dialoghi.RispondiPoi(Risposta::Si);
            QTest::mouseClick(finestra->cmdAnnulla, Qt::LeftButton);
        } else if (cornice) {
            cornice->close();
        } else {
            finestra->close();
        }
        nascostaSubito = !finestra->isVisible() && (!cornice || !cornice->isVisible());
    });
    QTest::mouseClick(finestra->cmdOK, Qt::LeftButton);
    scarica();

    QVERIFY(bloccati);
    QVERIFY(nascostaSubito);
    QVERIFY(finestra.isNull());
    QVERIFY(cornice.isNull());
    const QStringList elenco = p.elenco();
    QCOMPARE(elenco.size(), 4);
    QCOMPARE(elenco.mid(2), (QStringList{"Procedura annullata dall'operatore.",
                                         "Nessun nuovo file archiviato."}));
    QCOMPARE(ambiente.apertore.aperti, QStringList{PercorsoElencoImportazione()});
    QCOMPARE(ambiente.dialoghi.messaggi.size(), conPulsante ? 1 : 0);
}

QTEST_MAIN(TestfrmImporta)
#include "tst_frmImporta.moc"
