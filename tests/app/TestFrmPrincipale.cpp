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
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QUrl>

namespace {

// Caps lock on; num lock a state the platform cannot tell.
struct TastieraFinta : StatoTastiera
{
    std::optional<bool> BloccoMaiuscole() const override { return true; }
    std::optional<bool> BloccoNumerico() const override { return std::nullopt; }
};

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

// The cursor the label shows once the mouse passes over it.
QCursor CursoreSopra(QWidget* etichetta)
{
    QMouseEvent movimento(QEvent::MouseMove, QPointF(3, 3), etichetta->mapToGlobal(QPointF(3, 3)),
                          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(etichetta, &movimento);
    return etichetta->cursor();
}

} // namespace

class TestFrmPrincipale : public QObject
{
    Q_OBJECT

public slots:
    void RegistraIndirizzo(const QUrl& indirizzo) { indirizziAperti << indirizzo; }

private slots:
    void init();

    void menuEBarra();
    void unaSolaIstanzaPerFinestra();
    void collegamento();
    void barraDiStato();
    void attivazioneCreaImpostazioni();

private:
    void Registra(const QString& nome);
    QMdiArea* Area() const { return principale->findChild<QMdiArea*>(); }
    QAction* Azione(const char* nome) const
    {
        return principale->findChild<QAction*>(QLatin1String(nome));
    }
    // Exit closes the main window and every child window with it, asking nothing.
    void VerificaUscita()
    {
        QVERIFY(!principale->isVisible());
        QTRY_VERIFY(principale->findChildren<QWidget*>(QRegularExpression("^mnuFile[A-Z]")).isEmpty());
        QVERIFY(ambiente->dialoghi.messaggi.isEmpty());
    }

    std::unique_ptr<AmbienteProva> ambiente;
    std::unique_ptr<frmPrincipale> principale;
    QList<QUrl> indirizziAperti;
};

void TestFrmPrincipale::init()
{
    principale.reset(); // the window goes before the folder it stands on
    ambiente.reset();
    ambiente = std::make_unique<AmbienteProva>();
    ambiente->fermaOrologio(QDateTime(QDate(2026, 3, 5), QTime(9, 7, 30)));
    indirizziAperti.clear();
    principale = std::make_unique<frmPrincipale>(std::make_unique<TastieraFinta>());
    principale->resize(900, 600);
}

// A stand-in window, named after its menu entry, for the entry `nome`.
void TestFrmPrincipale::Registra(const QString& nome)
{
    principale->RegistraFinestra(nome, [nome] {
        auto* finestra = new QWidget;
        finestra->setObjectName(nome);
        return finestra;
    });
}

// The menu as "objectName|caption"; each button as "objectName|tooltip>the
// window it opened" (the last one exits); a separator as "objectName|-" or "-".
void TestFrmPrincipale::menuEBarra()
{
    QCOMPARE(principale->windowTitle(), QStringLiteral("Seleziona Stampe"));
    const QMenu* mnuFile = principale->findChild<QMenu*>(QStringLiteral("mnuFile"));
    QVERIFY(mnuFile);
    QCOMPARE(mnuFile->title(), QStringLiteral("File"));
    QStringList voci;
    for (const QAction* azione : mnuFile->actions())
        voci << azione->objectName() + QLatin1Char('|')
                    + (azione->isSeparator() ? QStringLiteral("-") : azione->text());
    QCOMPARE(voci,
             QStringList({"mnuFileRistampa|Ricerca e Ristampa Documenti", "mnuSep4|-",
                          "mnuFileEmail|Invia documenti tramite email",
                          "mnuFileElencoMail|Elenco mail inviate", "mnuSep5|-",
                          "mnuFileSeleziona|Copia Documenti", "mnuFileSep1|-",
                          "mnuFileImpostazioni|Impostazioni programma", "mnuFileSep2|-",
                          "mnuFileImporta|Importa Documenti", "mnuFileSep3|-",
                          "mnuFileEsci|Uscita"}));

    for (const char* nome : {"mnuFileRistampa", "mnuFileEmail", "mnuFileElencoMail",
                             "mnuFileSeleziona", "mnuFileImpostazioni", "mnuFileImporta"})
        Registra(QLatin1String(nome));
    principale->show();
    const QToolBar* barra = principale->findChild<QToolBar*>(QStringLiteral("ToolBar"));
    QVERIFY(barra);

    voci.clear();
    for (QAction* azione : barra->actions()) {
        if (azione->isSeparator()) {
            voci << QStringLiteral("-");
            continue;
        }
        QVERIFY2(!azione->icon().isNull(), qPrintable(azione->objectName()));
        const qsizetype aperte = Area()->subWindowList().size();
        azione->trigger();
        const QList<QMdiSubWindow*> dopo = Area()->subWindowList();
        voci << azione->objectName() + QLatin1Char('|') + azione->toolTip() + QLatin1Char('>')
                    + (dopo.size() > aperte ? dopo.last()->widget()->objectName() : QString());
    }
    QCOMPARE(voci, QStringList({"Impostazioni|impostazioni programma>mnuFileImpostazioni",
                                "Ristampa|Ricerca e ristampa documenti>mnuFileRistampa",
                                "SelStampe|Seleziona e copia documenti>mnuFileSeleziona", "-",
                                "Email|Seleziona e invia i documenti tramite email>mnuFileEmail",
                                "ElencoMail|Visualizza elenco email inviate>mnuFileElencoMail",
                                "-", "Importa|Importa documenti>mnuFileImporta", "-",
                                "Uscita|Uscita>"}));
    VerificaUscita();
}

void TestFrmPrincipale::unaSolaIstanzaPerFinestra()
{
    Registra(QStringLiteral("mnuFileRistampa"));
    Registra(QStringLiteral("mnuFileImporta"));
    principale->RegistraFinestra(QStringLiteral("mnuFileElencoMail"), [] {
        auto* finestra = new QWidget;
        ScaricaFinestra(finestra); // as a window does when its settings are missing
        return finestra;
    });
    principale->show();

    Azione("mnuFileRistampa")->trigger();
    QMdiSubWindow* ristampa = Area()->activeSubWindow();
    QVERIFY(ristampa);
    Azione("mnuFileImporta")->trigger();
    principale->ToolBar_ButtonClick(QStringLiteral("Ristampa"));
    QCOMPARE(Area()->activeSubWindow(), ristampa);

    // An entry whose window is not built yet does nothing; one that unloads
    // itself while loading leaves no empty frame behind.
    Azione("mnuFileEmail")->trigger();
    Azione("mnuFileElencoMail")->trigger();
    QTRY_COMPARE(Area()->subWindowList().size(), 2);

    // A window that unloads itself is built anew next time.
    QPointer<QMdiSubWindow> cornice = ristampa;
    ScaricaFinestra(ristampa->widget());
    QTRY_VERIFY(cornice.isNull());
    Azione("mnuFileRistampa")->trigger();
    QCOMPARE(Area()->subWindowList().size(), 2);

    Azione("mnuFileEsci")->trigger();
    VerificaUscita();
}

void TestFrmPrincipale::collegamento()
{
    principale->show();
    const QWidget* pic = principale->findChild<QWidget*>(QStringLiteral("Pic"));
    auto* etichetta = principale->findChild<QLabel*>(QStringLiteral("lblInternet"));
    QVERIFY(pic && etichetta);
    QVERIFY(!etichetta->text().isEmpty());
    // Kept at the right edge whatever the width.
    for (const int larghezza : {1100, 640}) {
        principale->resize(larghezza, 500);
        QTRY_COMPARE(pic->width(), principale->centralWidget()->width());
        QCOMPARE(pic->width() - etichetta->geometry().right() - 1, Twip(200));
        QVERIFY(etichetta->y() >= 0 && etichetta->geometry().bottom() < pic->height());
    }

    // The pointing hand unless link.cur holds a real cursor.
    QCOMPARE(CursoreSopra(etichetta).shape(), Qt::PointingHandCursor);
    ambiente->scriviFile(QStringLiteral("link.cur"), "questo non è un cursore");
    QCOMPARE(CursoreSopra(etichetta).shape(), Qt::PointingHandCursor);
    ScriviCursore(ambiente->percorso(QStringLiteral("link.cur")));
    QCOMPARE(CursoreSopra(etichetta).shape(), Qt::BitmapCursor);
    QCOMPARE(etichetta->cursor().hotSpot(), QPoint(5, 7));

    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "RegistraIndirizzo");
    QTest::mouseClick(etichetta, Qt::LeftButton);
    // The credits panel has no action of its own.
    QTest::mouseClick(principale->findChild<QLabel*>(QStringLiteral("Sito")), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QCOMPARE(indirizziAperti, QList<QUrl>{QUrl(frmPrincipale::IndirizzoSito)});
    QCOMPARE(QUrl(frmPrincipale::IndirizzoSito).path(), QStringLiteral("/software.php"));
}

void TestFrmPrincipale::barraDiStato()
{
    principale->show();

    // "objectName|text", unlit panels marked; the credits' wording is ours to change.
    QStringList voci;
    const QList<QLabel*> pannelli = principale->statusBar()->findChildren<QLabel*>();
    for (int i = 0; i < pannelli.size(); ++i) {
        QVERIFY(i == 0 || pannelli[i]->x() > pannelli[i - 1]->x());
        voci << pannelli[i]->objectName() + QLatin1Char('|')
                    + (i == 2 ? QString() : pannelli[i]->text())
                    + (pannelli[i]->isEnabled() ? "" : " (spento)");
    }
    QCOMPARE(voci, QStringList({"Ora|09:07", "Data|05/03/2026", "Sito|",
                                "BloccoMaiuscole|BLOC MAIUSC", "BloccoNumerico|BLOC NUM (spento)"}));
    QVERIFY(!pannelli[2]->text().isEmpty());
    QCOMPARE(pannelli[2]->toolTip(), QStringLiteral("clicca per accedere al sito internet"));

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
