#include "app/DialoghiQt.h"
#include "app/FinestreProgramma.h"
#include "app/frmPrincipale.h"
#include "common/Orologio.h"
#include "components/ReportManX.h"
#include "mail/CorvexProcesso.h"
#include "settings/Contesto.h"
#include "shell/ApertoreDesktop.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

#include <cstdio>
#include <cstring>

namespace {
const char* const guida =
    "Uso: clientvelmira [--help]\n"
    "\n"
    "Apre la finestra \"Seleziona Stampe\", da cui si importano nell'archivio i\n"
    "documenti PDF della cartella del server, si cercano per data, numero o\n"
    "cliente, si ristampano, si copiano e si inviano per email.\n"
    "\n"
    "Dove tiene impostazioni ed elenchi\n"
    "  Nella propria cartella, quella di questo eseguibile, quando vi può scrivere\n"
    "  (l'uso portatile). Altrimenti, come dopo l'installazione del pacchetto,\n"
    "  Velmira.ini va in ~/.config/ClientVelmira e gli elenchi (elenchi/,\n"
    "  ElencoFileImp.txt, gli elenchi delle email inviate) in\n"
    "  ~/.local/share/ClientVelmira, o dove dicono XDG_CONFIG_HOME e XDG_DATA_HOME.\n"
    "  Un ElencoInvioMail.rep messo tra gli elenchi prende il posto del modello\n"
    "  di report che accompagna il programma.\n"
    "\n"
    "Le altre opzioni sono quelle di ogni programma Qt (per esempio -platform).\n"
    "Il comando velmira fa importazioni e ricerche senza finestre: velmira --help.\n";
}

int main(int argc, char* argv[])
{
    // Answered before any window exists, so that it works without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(guida, stdout);
            return 0;
        }
    }
    FissaFusoOrario();
    QApplication applicazione(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ClientVelmira"));
    // Ties the windows to the menu entry and its icon, where both are installed.
    QApplication::setDesktopFileName(QStringLiteral("it.velmira.ClientVelmira"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("clientvelmira")));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));

    // Qt's own texts (Sì/No, calendars, file dialogs) in Italian too.
    QTranslator traduzioneQt;
    if (traduzioneQt.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduzioneQt);

    DialoghiQt dialoghi;
    Dialoghi::Installa(&dialoghi);
    ApertoreDesktop apertore;
    ApertoreFile::Installa(&apertore);
    // Each dispatch runs in a helper process of its own.
    Corvex::InstallaFabbrica([](const Contesto& contesto) { return std::make_unique<CorvexProcesso>(contesto); });
    ReportManX::Registra();

    // Read from the settings file by each window as it loads, never before:
    // a damaged file is told when a window needs it, once.
    const Contesto contesto;
    frmPrincipale principale;
    RegistraFinestreProgramma(principale, contesto);
    if (const QScreen* schermo = principale.screen())
        principale.setGeometry(schermo->availableGeometry());
    principale.showMaximized();
    // Without a window manager nobody hands the window the focus, and its
    // start-up housekeeping runs when it becomes active.
    principale.activateWindow();
    const int esito = applicazione.exec();

    ApertoreFile::Installa(nullptr);
    Dialoghi::Installa(nullptr);
    return esito;
}
