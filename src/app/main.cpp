#include "app/DialoghiQt.h"
#include "app/FinestreProgramma.h"
#include "app/frmPrincipale.h"
#include "common/Orologio.h"
#include "components/ReportManX.h"
#include "mail/CorvexProcesso.h"
#include "settings/Contesto.h"
#include "shell/ApertoreDesktop.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

int main(int argc, char* argv[])
{
    FissaFusoOrario();
    QApplication applicazione(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ClientVelmira"));
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
