#include "AmbienteProva.h"

#include "app/frmPrincipale.h"
#include "components/Finestre.h"
#include "settings/Impostazioni.h"

#include <QAction>
#include <QBuffer>
#include <QDesktopServices>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QUrl>

namespace {

class TastieraFinta : public StatoTastiera
{
public:
    TastieraFinta(std::optional<bool> maiuscole, std::optional<bool> numerico)
        : maiuscole_(maiuscole), numerico_(numerico)
    {
    }
    std::optional<bool> BloccoMaiuscole() const override { return maiuscole_; }
    std::optional<bool> BloccoNumerico() const override { return numerico_; }

private:
    std::optional<bool> maiuscole_;
    std::optional<bool> numerico_;
};

const QStringList nomiMenuFinestre = {
    QStringLiteral("mnuFileRistampa"),   QStringLiteral("mnuFileEmail"),
    QStringLiteral("mnuFileElencoMail"), QStringLiteral("mnuFileSeleziona"),
    QStringLiteral("mnuFileImpostazioni"), QStringLiteral("mnuFileImporta"),
};

// Entries as "objectName|caption", a separator as "objectName|-".
QStringList Voci(const QList<QAction*>& azioni, bool perChiave)
{
    QStringList voci;
    for (const QAction* azione : azioni) {
        const QString testo = perChiave ? azione->toolTip() : azione->text();
        voci << (azione->isSeparator() ? QStringLiteral("|-")
                                       : azione->objectName() + QLatin1Char('|') + testo);
        if (!azione->isSeparator() && perChiave)
            voci.last().prepend(azione->data().toString() + QLatin1Char('/'));
    }
    return voci;
}

// Writes a 32x32 cursor file with its hot spot at (5, 7): an icon file of
// type 2 whose first entry holds the hot spot.
void ScriviCursore(const QString& percorso)
{
    QImage immagine(32, 32, QImage::Format_ARGB32);
    immagine.fill(Qt::blue);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(immagine.save(&buffer, "ICO"));
    QByteArray dati = buffer.data();
    dati.replace(2, 1, "\x02").replace(10, 4, QByteArray("\x05\x00\x07\x00", 4));
    QFile cursore(percorso);
    QVERIFY(cursore.open(QIODevice::WriteOnly));
    cursore.write(dati);
}

void MuoviSopra(QWidget* etichetta)
{
    QMouseEvent movimento(QEvent::MouseMove, QPointF(3, 3), etichetta->mapToGlobal(QPointF(3, 3)),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(etichetta, &movimento);
}

} // namespace

class TestFrmPrincipale : public QObject
{
    Q_OBJECT

public slots:
    void RegistraIndirizzo(const QUrl& indirizzo) { indirizziAperti << indirizzo; }

private slots:
    void init();
    void cleanup();

    void menuFile();
    void barraStrumenti();
    void pulsanteAprePerChiave_data();
    void pulsanteAprePerChiave();
    void unaSolaIstanzaPerFinestra();
    void finestraCheSiScaricaCaricando();
    void uscitaChiudeTutto_data();
    void uscitaChiudeTutto();
    void collegamentoADestra();
    void collegamentoApreIlSito();
    void cursoreCollegamento();
    void barraDiStato();
    void attivazioneCreaImpostazioni();

private:
    frmPrincipale* CreaPrincipale(std::optional<bool> maiuscole = std::nullopt,
                                  std::optional<bool> numerico = std::nullopt);
    void RegistraTutte(const QStringList& nomi = nomiMenuFinestre);
    QMdiArea* Area() const { return principale->findChild<QMdiArea*>(); }
    QAction* Azione(const QString& nome) const
    {
        return principale->findChild<QAction*>(nome);
    }

    std::unique_ptr<AmbienteProva> ambiente;
    std::unique_ptr<frmPrincipale> principale;
    QHash<QString, int> create;
    QList<QUrl> indirizziAperti;
};

void TestFrmPrincipale::init()
{
    ambiente = std::make_unique<AmbienteProva>();
    create.clear();
    indirizziAperti.clear();
    CreaPrincipale();
}

void TestFrmPrincipale::cleanup()
{
    principale.reset();
    ambiente.reset();
}

frmPrincipale* TestFrmPrincipale::CreaPrincipale(std::optional<bool> maiuscole,
                                                  std::optional<bool> numerico)
{
    principale.reset();
    principale = std::make_unique<frmPrincipale>(
        std::make_unique<TastieraFinta>(maiuscole, numerico));
    principale->resize(900, 600);
    return principale.get();
}

void TestFrmPrincipale::RegistraTutte(const QStringList& nomi)
{
    for (const QString& nome : nomi) {
        principale->RegistraFinestra(nome, [this, nome] {
            ++create[nome];
            auto* finestra = new QWidget;
            finestra->setObjectName(QStringLiteral("finestra_") + nome);
            return finestra;
        });
    }
}

void TestFrmPrincipale::menuFile()
{
    QCOMPARE(principale->windowTitle(), QStringLiteral("Seleziona Stampe"));
    const QMenu* mnuFile = principale->findChild<QMenu*>(QStringLiteral("mnuFile"));
    QVERIFY(mnuFile);
    QCOMPARE(mnuFile->title(), QStringLiteral("File"));
    QCOMPARE(Voci(mnuFile->actions(), false),
             QStringList({"mnuFileRistampa|Ricerca e Ristampa Documenti", "|-",
                          "mnuFileEmail|Invia documenti tramite email",
                          "mnuFileElencoMail|Elenco mail inviate", "|-",
                          "mnuFileSeleziona|Copia Documenti", "|-",
                          "mnuFileImpostazioni|Impostazioni programma", "|-",
                          "mnuFileImporta|Importa Documenti", "|-", "mnuFileEsci|Uscita"}));
    QStringList separatori;
    for (const QAction* azione : mnuFile->actions())
        if (azione->isSeparator())
            separatori << azione->objectName();
    QCOMPARE(separatori, QStringList({"mnuSep4", "mnuSep5", "mnuFileSep1", "mnuFileSep2",
                                      "mnuFileSep3"}));
}

void TestFrmPrincipale::barraStrumenti()
{
    const QToolBar* barra = principale->findChild<QToolBar*>(QStringLiteral("ToolBar"));
    QVERIFY(barra);
    QCOMPARE(Voci(barra->actions(), true),
             QStringList({"Impostazioni/Impostazioni|impostazioni programma",
                          "Ristampa/Ristampa|Ricerca e ristampa documenti",
                          "SelStampe/SelStampe|Seleziona e copia documenti", "|-",
                          "Email/Email|Seleziona e invia i documenti tramite email",
                          "ElencoMail/ElencoMail|Visualizza elenco email inviate", "|-",
                          "Importa/Importa|Importa documenti", "|-", "Uscita/Uscita|Uscita"}));
    for (const QAction* azione : barra->actions()) {
        if (azione->isSeparator())
            continue;
        QVERIFY2(!azione->icon().isNull(), qPrintable(azione->objectName()));
        QVERIFY(azione->text().isEmpty() || azione->text() == azione->toolTip());
    }
}

void TestFrmPrincipale::pulsanteAprePerChiave_data()
{
    QTest::addColumn<QString>("chiave");
    QTest::addColumn<QString>("voceMenu");
    QTest::newRow("Impostazioni") << "Impostazioni" << "mnuFileImpostazioni";
    QTest::newRow("Ristampa") << "Ristampa" << "mnuFileRistampa";
    QTest::newRow("SelStampe") << "SelStampe" << "mnuFileSeleziona";
    QTest::newRow("Email") << "Email" << "mnuFileEmail";
    QTest::newRow("ElencoMail") << "ElencoMail" << "mnuFileElencoMail";
    QTest::newRow("Importa") << "Importa" << "mnuFileImporta";
    QTest::newRow("maiuscole diverse") << "importa" << "";
    QTest::newRow("chiave sconosciuta") << "Stampa" << "";
}

void TestFrmPrincipale::pulsanteAprePerChiave()
{
    QFETCH(QString, chiave);
    QFETCH(QString, voceMenu);
    RegistraTutte();

    principale->ToolBar_ButtonClick(chiave);

    const QList<QMdiSubWindow*> aperte = Area()->subWindowList();
    if (voceMenu.isEmpty()) {
        QVERIFY(aperte.isEmpty());
        return;
    }
    QCOMPARE(aperte.size(), 1);
    QCOMPARE(aperte.first()->widget()->objectName(), QStringLiteral("finestra_") + voceMenu);
}

void TestFrmPrincipale::unaSolaIstanzaPerFinestra()
{
    RegistraTutte({QStringLiteral("mnuFileRistampa"), QStringLiteral("mnuFileImporta")});
    principale->show();

    Azione(QStringLiteral("mnuFileRistampa"))->trigger();
    QMdiSubWindow* ristampa = Area()->activeSubWindow();
    QVERIFY(ristampa);
    Azione(QStringLiteral("mnuFileImporta"))->trigger();
    QVERIFY(Area()->activeSubWindow() != ristampa);

    Azione(QStringLiteral("mnuFileRistampa"))->trigger();
    principale->ToolBar_ButtonClick(QStringLiteral("Ristampa"));
    QCOMPARE(Area()->activeSubWindow(), ristampa);
    QCOMPARE(Area()->subWindowList().size(), 2);
    QCOMPARE(create.value(QStringLiteral("mnuFileRistampa")), 1);

    // An entry whose window is not built yet does nothing.
    Azione(QStringLiteral("mnuFileEmail"))->trigger();
    QCOMPARE(Area()->subWindowList().size(), 2);

    // A window that unloads itself is built anew next time.
    QPointer<QWidget> finestra = ristampa->widget();
    ScaricaFinestra(finestra);
    QTRY_VERIFY(finestra.isNull());
    QTRY_COMPARE(Area()->subWindowList().size(), 1);
    Azione(QStringLiteral("mnuFileRistampa"))->trigger();
    QCOMPARE(create.value(QStringLiteral("mnuFileRistampa")), 2);
}

void TestFrmPrincipale::finestraCheSiScaricaCaricando()
{
    principale->RegistraFinestra(QStringLiteral("mnuFileElencoMail"), [] {
        auto* finestra = new QWidget;
        ScaricaFinestra(finestra); // as a window does when its settings are missing
        return finestra;
    });
    principale->show();
    Azione(QStringLiteral("mnuFileElencoMail"))->trigger();
    QTRY_VERIFY(Area()->subWindowList().isEmpty());
}

void TestFrmPrincipale::uscitaChiudeTutto_data()
{
    QTest::addColumn<bool>("dallaBarra");
    QTest::newRow("menu") << false;
    QTest::newRow("barra") << true;
}

void TestFrmPrincipale::uscitaChiudeTutto()
{
    QFETCH(bool, dallaBarra);
    RegistraTutte();
    principale->show();
    Azione(QStringLiteral("mnuFileRistampa"))->trigger();
    Azione(QStringLiteral("mnuFileImporta"))->trigger();
    QPointer<QWidget> ristampa = Area()->subWindowList().at(0)->widget();
    QPointer<QWidget> importa = Area()->subWindowList().at(1)->widget();

    if (dallaBarra)
        principale->findChild<QToolBar*>()->actions().last()->trigger();
    else
        Azione(QStringLiteral("mnuFileEsci"))->trigger();

    QVERIFY(!principale->isVisible());
    QTRY_VERIFY(ristampa.isNull() && importa.isNull());
    QVERIFY(ambiente->dialoghi.messaggi.isEmpty());
}

void TestFrmPrincipale::collegamentoADestra()
{
    principale->show();
    const QWidget* pic = principale->findChild<QWidget*>(QStringLiteral("Pic"));
    const QLabel* etichetta = principale->findChild<QLabel*>(QStringLiteral("lblInternet"));
    QVERIFY(pic && etichetta);
    QVERIFY(!etichetta->text().isEmpty());
    for (const int larghezza : {1100, 640}) {
        principale->resize(larghezza, 500);
        QTRY_COMPARE(pic->width(), principale->centralWidget()->width());
        QCOMPARE(pic->width() - etichetta->geometry().right() - 1, Twip(200));
        QVERIFY(etichetta->y() >= 0 && etichetta->geometry().bottom() < pic->height());
    }
}

void TestFrmPrincipale::collegamentoApreIlSito()
{
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "RegistraIndirizzo");
    principale->show();
    auto* etichetta = principale->findChild<QLabel*>(QStringLiteral("lblInternet"));
    QTest::mouseClick(etichetta, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

    QCOMPARE(indirizziAperti, QList<QUrl>{QUrl(frmPrincipale::IndirizzoSito)});
    QCOMPARE(QUrl(frmPrincipale::IndirizzoSito).path(), QStringLiteral("/software.php"));
    // The credits panel has no action of its own.
    QTest::mouseClick(principale->findChild<QLabel*>(QStringLiteral("Sito")), Qt::LeftButton);
    QCOMPARE(indirizziAperti.size(), 1);
}

void TestFrmPrincipale::cursoreCollegamento()
{
    principale->show();
    auto* etichetta = principale->findChild<QLabel*>(QStringLiteral("lblInternet"));

    MuoviSopra(etichetta);
    QCOMPARE(etichetta->cursor().shape(), Qt::PointingHandCursor);

    ambiente->scriviFile(QStringLiteral("link.cur"), "questo non è un cursore");
    MuoviSopra(etichetta);
    QCOMPARE(etichetta->cursor().shape(), Qt::PointingHandCursor);

    ScriviCursore(ambiente->percorso(QStringLiteral("link.cur")));
    MuoviSopra(etichetta);
    QCOMPARE(etichetta->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(etichetta->cursor().hotSpot(), QPoint(5, 7));
    QCOMPARE(etichetta->cursor().pixmap().size(), QSize(32, 32));
}

void TestFrmPrincipale::barraDiStato()
{
    ambiente->fermaOrologio(QDateTime(QDate(2026, 3, 5), QTime(9, 7, 30)));
    CreaPrincipale(true, std::nullopt);
    principale->show();

    QStringList testi;
    const QList<QLabel*> pannelli = principale->statusBar()->findChildren<QLabel*>();
    for (const QLabel* pannello : pannelli)
        testi << pannello->objectName();
    QCOMPARE(testi, QStringList({"Ora", "Data", "Sito", "BloccoMaiuscole", "BloccoNumerico"}));
    for (int i = 1; i < pannelli.size(); ++i)
        QVERIFY(pannelli[i]->x() > pannelli[i - 1]->x());

    QCOMPARE(pannelli[0]->text(), QStringLiteral("09:07"));
    QCOMPARE(pannelli[1]->text(), QStringLiteral("05/03/2026"));
    QVERIFY(!pannelli[2]->text().isEmpty());
    QCOMPARE(pannelli[2]->toolTip(), QStringLiteral("clicca per accedere al sito internet"));
    QCOMPARE(pannelli[3]->text(), QStringLiteral("BLOC MAIUSC"));
    QCOMPARE(pannelli[4]->text(), QStringLiteral("BLOC NUM"));
    QVERIFY(pannelli[3]->isEnabled());
    QVERIFY(!pannelli[4]->isEnabled());

    // Time and date follow the clock while the window stays open.
    ambiente->fermaOrologio(QDateTime(QDate(2026, 3, 6), QTime(0, 1)));
    QTRY_COMPARE(pannelli[0]->text(), QStringLiteral("00:01"));
    QCOMPARE(pannelli[1]->text(), QStringLiteral("06/03/2026"));
}

void TestFrmPrincipale::attivazioneCreaImpostazioni()
{
    QVERIFY(!EsisteVelmiraIni());
    principale->show();
    principale->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(principale.get()));
    QTRY_VERIFY(EsisteVelmiraIni());
    QCOMPARE(LeggiIni(QStringLiteral("EliminaTemp"), QStringLiteral("Durata")),
             QStringLiteral("7"));
}

QTEST_MAIN(TestFrmPrincipale)
#include "TestFrmPrincipale.moc"
