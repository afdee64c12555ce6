#include "ArchivioProva.h"
#include "DiscoPiccolo.h"

#include "app/frmPrincipale.h"
#include "common/CartellaProgramma.h"
#include "components/Finestre.h"
#include "settings/Impostazioni.h"

#include <QTest>
#include <QtWidgets>

namespace {

// Caps lock on; num lock a state the platform cannot tell.
struct TastieraFinta : StatoTastiera
{
    std::optional<bool> BloccoMaiuscole() const override { return true; }
    std::optional<bool> BloccoNumerico() const override { return std::nullopt; }
};

// A 32x32 cursor file with its hot spot at (5, 7): an icon file of type 2
// whose first entry holds the hot spot.
QByteArray Cursore()
{
    QImage immagine(32, 32, QImage::Format_ARGB32);
    immagine.fill(Qt::blue);
    QByteArray dati;
    QBuffer buffer(&dati);
    buffer.open(QIODevice::WriteOnly);
    immagine.save(&buffer, "ICO");
    return dati.replace(2, 1, "\x02").replace(10, 4, QByteArray("\x05\x00\x07\x00", 4));
}

} // namespace

class TestFrmPrincipale : public QObject
{
    Q_OBJECT

public slots:
    void RegistraIndirizzo(const QUrl& indirizzo) { indirizziAperti << indirizzo; }

private slots:
    void init()
    {
        principale.reset(); // the window goes before the folder it stands on
        ambiente.reset();
        ambiente = std::make_unique<AmbienteProva>();
        ambiente->fermaOrologio(QDateTime(QDate(2026, 3, 5), QTime(9, 7, 30)));
        principale = std::make_unique<frmPrincipale>(std::make_unique<TastieraFinta>());
        principale->resize(900, 600);
    }

    // The menu: captions on its entries, separators between their groups.
    // Then the windows, each opened by its menu entry: one that unloads itself
    // while loading leaves no empty frame behind; one unloaded later is built
    // anew next time. Every window opens at the top left over those already
    // open; one open but hidden, minimised or behind comes back as it was
    // (still maximised), never as a second copy. Last, each toolbar button,
    // with its icon and tooltip, as "objectName>the window it brings up"; the
    // last one exits.
    void menuFinestreEBarra()
    {
        for (const QAction* azione : principale->findChild<QMenu*>("mnuFile")->actions())
            QVERIFY2(azione->isSeparator() == azione->objectName().contains("Sep")
                         && azione->isSeparator() == azione->text().isEmpty(),
                     qPrintable(azione->objectName()));

        // Stand-in windows, each named after its menu entry; the mail list
        // unloads itself the first time, as a window does when its settings are missing.
        for (const QString nome : {"mnuFileRistampa", "mnuFileRicercaTesto", "mnuFileEmail", "mnuFileElencoMail",
                                   "mnuFileSeleziona", "mnuFileImpostazioni", "mnuFileImporta"})
            principale->RegistraFinestra(nome, [nome, volte = 0]() mutable {
                auto* finestra = new QWidget;
                finestra->setObjectName(nome);
                if (nome == "mnuFileElencoMail" && volte++ == 0)
                    ScaricaFinestra(finestra);
                return finestra;
            });
        principale->show();
        // "top-left corner of each frame, the active one, the one on top"
        const auto Disposizione = [this] {
            QStringList voci;
            for (const QMdiSubWindow* cornice : Area()->subWindowList())
                voci << cornice->widget()->objectName() + '@' + QString::number(cornice->x()) + ','
                        + QString::number(cornice->y()) + (cornice->isVisible() ? "" : " (nascosta)")
                        + (cornice->isMaximized() ? " (ingrandita)" : "");
            const QMdiSubWindow* attiva = Area()->activeSubWindow();
            return voci << (attiva ? attiva->widget()->objectName() : QStringLiteral("nessuna"))
                        << Area()->subWindowList(QMdiArea::StackingOrder).last()->widget()->objectName();
        };

        Azione("mnuFileRistampa")->trigger();
        QPointer<QMdiSubWindow> ristampa = Area()->activeSubWindow();
        Azione("mnuFileImporta")->trigger();
        QCOMPARE(Disposizione(), QStringList({"mnuFileRistampa@0,0", "mnuFileImporta@0,0",
                                              "mnuFileImporta", "mnuFileImporta"}));
        principale->ToolBar_ButtonClick("Ristampa");
        QCOMPARE(Disposizione(), QStringList({"mnuFileRistampa@0,0", "mnuFileImporta@0,0",
                                              "mnuFileRistampa", "mnuFileRistampa"}));

        Azione("mnuFileEmail")->trigger();
        QPointer<QMdiSubWindow> email = Area()->activeSubWindow();
        Azione("mnuFileElencoMail")->trigger();
        QTRY_COMPARE(Area()->subWindowList().size(), 3);

        email->showMaximized();
        NascondiFinestra(email->widget()); // as the e-mail search does while its preview is open
        ristampa->showMinimized();
        QCOMPARE(Disposizione().mid(1, 2), QStringList({"mnuFileImporta@0,0", "mnuFileEmail@0,0 (nascosta) (ingrandita)"}));
        principale->ToolBar_ButtonClick("Email");
        QCOMPARE(Disposizione().mid(2), QStringList({"mnuFileEmail@0,0 (ingrandita)", "mnuFileEmail",
                                                     "mnuFileEmail"}));
        email->showNormal();
        Azione("mnuFileRistampa")->trigger();
        QVERIFY(!ristampa->isMinimized() && ristampa->isVisible());
        QCOMPARE(Area()->activeSubWindow(), ristampa.get());

        ScaricaFinestra(ristampa->widget());
        QTRY_VERIFY(ristampa.isNull());
        Azione("mnuFileRistampa")->trigger();
        QCOMPARE(Area()->subWindowList().size(), 3);

        QStringList voci;
        for (QAction* azione : principale->findChild<QToolBar*>("ToolBar")->actions()) {
            QVERIFY2(azione->isSeparator() || (!azione->icon().isNull() && !azione->toolTip().isEmpty()),
                     qPrintable(azione->objectName()));
            azione->trigger();
            const QMdiSubWindow* attiva = Area()->activeSubWindow();
            voci << (azione->isSeparator() ? QStringLiteral("-")
                                           : azione->objectName() + '>' + (attiva ? attiva->widget()->objectName() : QString()));
        }
        QCOMPARE(voci, QStringList({"Impostazioni>mnuFileImpostazioni", "Ristampa>mnuFileRistampa",
                                    "RicercaTesto>mnuFileRicercaTesto", "SelStampe>mnuFileSeleziona", "-",
                                    "Email>mnuFileEmail", "ElencoMail>mnuFileElencoMail", "-",
                                    "Importa>mnuFileImporta", "-", "Uscita>"}));
        // Exit closes the main window and every child window with it, asking nothing.
        QVERIFY(!principale->isVisible());
        QTRY_VERIFY(principale->findChildren<QWidget*>(QRegularExpression("^mnuFile[A-Z]")).isEmpty());
        QVERIFY(ambiente->dialoghi.messaggi.isEmpty());
    }

    void attivazioneCollegamentoEBarraDiStato()
    {
        // Becoming active on a first start writes the settings file.
        QVERIFY(MostraAttiva(principale.get()));
        QTRY_COMPARE(LeggiIni("EliminaTemp", "Durata"), "7");

        // "objectName|text" (the credits by their tooltip), unlit panels marked.
        QStringList voci;
        const QList<QLabel*> pannelli = principale->statusBar()->findChildren<QLabel*>();
        for (int i = 0; i < pannelli.size(); ++i) {
            QVERIFY(i == 0 || pannelli[i]->x() > pannelli[i - 1]->x());
            voci << pannelli[i]->objectName() + '|'
                        + (i == 2 ? pannelli[i]->toolTip() : pannelli[i]->text())
                        + (pannelli[i]->isEnabled() ? "" : " (spento)");
        }
        QCOMPARE(voci, QStringList({"Ora|09:07", "Data|05/03/2026",
                                    "Sito|clicca per accedere al sito internet",
                                    "BloccoMaiuscole|BLOC MAIUSC",
                                    "BloccoNumerico|BLOC NUM (spento)"}));
        ambiente->fermaOrologio(QDateTime(QDate(2026, 3, 6), QTime(0, 1)));
        QTRY_COMPARE(pannelli[0]->text() + ' ' + pannelli[1]->text(), "00:01 06/03/2026");

        const QWidget* pic = principale->findChild<QWidget*>("Pic");
        auto* etichetta = principale->findChild<QLabel*>("lblInternet");
        principale->resize(640, 500); // the link follows the right edge
        QTRY_COMPARE(pic->width(), principale->centralWidget()->width());
        QCOMPARE(pic->width() - etichetta->geometry().right() - 1, Twip(200));
        QVERIFY(etichetta->y() >= 0 && etichetta->geometry().bottom() < pic->height());

        // The pointing hand unless link.cur holds a real cursor, read as the mouse
        // passes (each time to a new point, or no move is reported).
        int passaggi = 0;
        const auto Sopra = [&] {
            QTest::mouseMove(etichetta, QPoint(2 + passaggi++, 3));
            return etichetta->cursor().shape();
        };
        QCOMPARE(Sopra(), Qt::PointingHandCursor);
        ambiente->scriviFile("link.cur", "questo non è un cursore");
        QCOMPARE(Sopra(), Qt::PointingHandCursor);
        ambiente->scriviFile("link.cur", Cursore());
        QCOMPARE(Sopra(), Qt::BitmapCursor);
        QCOMPARE(etichetta->cursor().hotSpot(), QPoint(5, 7));

        // Only the link opens the site; the credits panel has no action of its own.
        QDesktopServices::setUrlHandler("http", this, "RegistraIndirizzo");
        QTest::mouseClick(etichetta, Qt::LeftButton);
        QTest::mouseClick(pannelli[2], Qt::LeftButton);
        QDesktopServices::unsetUrlHandler("http");
        QCOMPARE(indirizziAperti, QList<QUrl>{QUrl(frmPrincipale::IndirizzoSito)});
    }

    // Velmira.ini on a full disk cannot take its repaired Durata: the user is
    // told once, and every activation still cleans the old lists. Then, made
    // read-only, the folder is an installed program's: settings and lists go
    // to the user's own folders, silently.
    void cartellaPienaPoiDiSolaLettura()
    {
        const QString programma = ambiente->percorso("programma");
        DiscoPiccolo disco(programma, 256);
        if (!disco.montato())
            QSKIP(qPrintable(disco.motivo()));
        ImpostaCartellaProgramma(programma);
        ambiente->scriviFile("programma/Velmira.ini", "[EliminaTemp]\nDurata=\n");
        ambiente->scriviFile("programma/ElencoInvioMail.rep");
        QVERIFY(QDir().mkpath(programma + "/elenchi"));
        disco.riempi(0);
        ambiente->fermaOrologio(QDateTime::currentDateTime().addDays(30));
        QWidget altra;
        const auto Attiva = [](QWidget* finestra) {
            finestra->show();
            finestra->activateWindow();
            return QTest::qWaitForWindowActive(finestra);
        };
        for (const QString nome : {"copiati_1.txt", "copiati_2.txt"}) {
            const QString lista = ambiente->scriviFile("programma/elenchi/" + nome);
            QVERIFY(QFile::exists(lista) && Attiva(&altra) && Attiva(principale.get()));
            QTRY_VERIFY(!QFile::exists(lista));
            QCOMPARE(ambiente->dialoghi.messaggi.size(), 1);
            // Never emptied by a write that did not go through.
            QCOMPARE(LeggiFile(PercorsoVelmiraIni()), "[EliminaTemp]\nDurata=\n");
        }
        QVERIFY(ambiente->dialoghi.messaggi.first().testo.contains("Impossibile salvare"));

        QCOMPARE(QProcess::execute("mount", {"-o", "remount,ro", programma}), 0);
        qputenv("XDG_CONFIG_HOME", ambiente->percorso("impostazioni").toLocal8Bit());
        qputenv("XDG_DATA_HOME", ambiente->percorso("dati").toLocal8Bit());
        QVERIFY(Attiva(&altra) && Attiva(principale.get()));
        QTRY_VERIFY(QFile::exists(ambiente->percorso("impostazioni/ClientVelmira/Velmira.ini")));
        QCOMPARE(ambiente->dialoghi.messaggi.size(), 1);
        QCOMPARE(FileProgramma("ElencoInvioMail.rep"), programma + "/ElencoInvioMail.rep");
        const QString proprio = ambiente->scriviFile("dati/ClientVelmira/ElencoInvioMail.rep");
        QCOMPARE(FileProgramma("ElencoInvioMail.rep"), proprio);
    }

private:
    QMdiArea* Area() const { return principale->findChild<QMdiArea*>(); }
    QAction* Azione(const char* nome) const { return principale->findChild<QAction*>(nome); }

    std::unique_ptr<AmbienteProva> ambiente;
    std::unique_ptr<frmPrincipale> principale;
    QList<QUrl> indirizziAperti;
};

QTEST_MAIN(TestFrmPrincipale)
#include "TestFrmPrincipale.moc"
