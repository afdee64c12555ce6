#include "AmbienteProva.h"
#include "ProvaImportazione.h"
#include "import/cImporta.h"
#include "import/frmImporta.h"
#include "settings/Impostazioni.h"

#include <QtTest>
#include <QtWidgets>

// The import window driven as a user would drive it.
class TestfrmImporta : public QObject
{
    Q_OBJECT

private slots:
    void aspetto();
    void caricamentoESfoglia();
    void annulla_data();
    void annulla();
    void percorsiErrati();
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

// A window shown as the main window shows it; the pointer clears when it unloads.
QPointer<frmImporta> aperta()
{
    auto* finestra = new frmImporta;
    finestra->show();
    return finestra;
}

void compila(frmImporta& finestra, const ProvaImportazione& p)
{
    scrivi(finestra.txtPercorsoCartella, p.pdf);
    scrivi(finestra.txtDatabase, p.marvena);
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
    }
    QCOMPARE(finestra.cmdPercorsoCartella->text(), "S&foglia");
    QCOMPARE(finestra.cmdPercorsoDatabase->text(), "Sf&oglia");
    QCOMPARE(finestra.cmdOK->text(), "&Importa");
    QCOMPARE(finestra.cmdAnnulla->text(), "&Annulla");
    QVERIFY(finestra.prgAvanzamento->y() > finestra.cmdOK->geometry().bottom());
    // Without Velmira.ini only the database name is filled in, and no file is made.
    QCOMPARE(finestra.PercorsiImportazione(), QStringList({"", "/dati.mdb", "/spooling.ini"}));
    QVERIFY(!QFile::exists(PercorsoVelmiraIni()));
}

void TestfrmImporta::caricamentoESfoglia()
{
    AmbienteProva ambiente;
    ambiente.scriviFile("Velmira.ini", "[Percorsi]\nCartellaPDF=/server/pdf\nDataBase=/server/marvena\n");
    frmImporta finestra;
    QCOMPARE(finestra.txtPercorsoCartella->text(), "/server/pdf");
    QCOMPARE(finestra.txtDatabase->text(), "/server/marvena");
    QCOMPARE(finestra.txtBaseDati->text(), "dati.mdb");
    QCOMPARE(finestra.pos(), QPoint(0, 0));

    // A picker answered fills its box; one cancelled (an empty answer) leaves it as it was.
    for (const char* risposta : {"/scelta/pdf", "", "", "/scelta/marvena"})
        ambiente.selettore.risposte.enqueue(risposta);
    QTest::mouseClick(finestra.cmdPercorsoCartella, Qt::LeftButton);
    QTest::mouseClick(finestra.cmdPercorsoDatabase, Qt::LeftButton);
    QCOMPARE(finestra.PercorsiImportazione(), QStringList({"/scelta/pdf", "/server/marvena/dati.mdb",
                                                           "/server/marvena/spooling.ini"}));
    QTest::mouseClick(finestra.cmdPercorsoCartella, Qt::LeftButton);
    QTest::mouseClick(finestra.cmdPercorsoDatabase, Qt::LeftButton);
    QCOMPARE(finestra.PercorsiImportazione(), QStringList({"/scelta/pdf", "/scelta/marvena/dati.mdb",
                                                           "/scelta/marvena/spooling.ini"}));
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
    QPointer<frmImporta> finestra = aperta();
    ambiente.dialoghi.RispondiPoi(conferma ? Risposta::Si : Risposta::No);
    QTest::mouseClick(finestra->cmdAnnulla, Qt::LeftButton);
    scarica();
    QCOMPARE(ambiente.dialoghi.messaggi.size(), 1);
    const auto& domanda = ambiente.dialoghi.messaggi[0];
    QCOMPARE(domanda.testo, "Annullare l'operazione?");
    QVERIFY(domanda.icona == Icona::Domanda && domanda.pulsanti == Pulsanti::SiNo);
    QCOMPARE(finestra.isNull(), conferma);
    QVERIFY(ambiente.apertore.aperti.isEmpty());
    delete finestra;
}

// Paths that fail their checks: every message in order, no run, the old list shown.
void TestfrmImporta::percorsiErrati()
{
    AmbienteProva ambiente;
    ProvaImportazione p(ambiente);
    QFile::remove(p.fileIni);
    QDir().mkpath(p.fileIni); // a folder is not a settings file
    ambiente.scriviFile("ElencoFileImp.txt", "elenco di ieri\r\n");
    QPointer<frmImporta> finestra = aperta();
    scrivi(finestra->txtPercorsoCartella, p.pdf + "/manca");
    scrivi(finestra->txtDatabase, p.marvena);
    scrivi(finestra->txtBaseDati, "manca.mdb");
    QTest::mouseClick(finestra->cmdOK, Qt::LeftButton);
    scarica();

    QStringList mostrati;
    for (const auto& m : std::as_const(ambiente.dialoghi.messaggi)) {
        mostrati.append(m.testo);
        QCOMPARE(m.icona, Icona::Esclamazione);
        QCOMPARE(m.titolo, TitoloApplicazione);
    }
    QCOMPARE(mostrati, (QStringList{"Manca il percorso della cartella contenente i documenti pdf, "
                                    "impossibile effettuare un controllo sui documenti prodotti da "
                                    "'Marvena'",
                                    "Manca il percorso del database, impossibile effettuare un "
                                    "controllo sui documenti prodotti da 'Marvena'",
                                    "Manca il percorso del file INI, impossibile effettuare un "
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
    QPointer<frmImporta> finestra = aperta();
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
    QCOMPARE(p.elenco().last(), "Archiviati n.2 nuovi files.");
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
    p.documentiNumerati(3000);
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
