// Takes the README's pictures of the program, working on a demo workspace:
//
//   velmira-schermate DEMO CARTELLA
//
// DEMO is a workspace made by velmira-demo (with ElencoInvioMail.rep beside
// its Velmira.ini); a few dispatches are recorded in its archive so that the
// list of sent e-mails has something to show. The windows are driven as a
// user would and each picture is taken from the screen, so run it on a
// virtual one (scripts/schermate starts Xvfb). Written into CARTELLA:
// principale.png, ristampa.png, anteprima-email.png, elenco-email.png.

#include "app/FinestreProgramma.h"
#include "app/frmPrincipale.h"
#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"
#include "common/Orologio.h"
#include "components/ReportManX.h"
#include "components/Tabulario.h"
#include "components/frmAnteprimaReport.h"
#include "mail/frmListaMail.h"
#include "mail/frmRiEmail.h"
#include "search/PannelloRicerca.h"
#include "search/frmRistampa.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QLibraryInfo>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

namespace {

// Lets the windows lay themselves out and paint (the PDF preview renders
// in the background).
void Attendi(int millisecondi)
{
    QEventLoop attesa;
    QTimer::singleShot(millisecondi, &attesa, &QEventLoop::quit);
    attesa.exec();
}

// The part of the screen the windows cover, as a PNG of few colours.
bool Fotografa(const QList<QWidget*>& finestre, const QString& file)
{
    Attendi(700);
    QRect area;
    for (const QWidget* finestra : finestre)
        area |= finestra->frameGeometry();
    const QImage immagine = QGuiApplication::primaryScreen()
                                ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                .toImage()
                                .convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    if (immagine.isNull() || !immagine.save(file))
        return std::fprintf(stderr, "velmira-schermate: impossibile scrivere %s\n", qUtf8Printable(file)), false;
    std::printf("%s\n", qUtf8Printable(file));
    return true;
}

void Periodo(PannelloRicerca* pannello, const QDate& dal, const QDate& al)
{
    pannello->dtData->setDate(dal);
    pannello->dtDataFin->setDate(al);
}

// Two dispatches of the demo's documents, one of them refused by the server.
Errore RegistraInviiDimostrativi(const QString& database)
{
    Connessione connessione;
    Errore errore = connessione.Apri(StringaConnessione(database));
    if (!errore.presente())
        errore = connessione.Esegui(QStringLiteral(
            "insert into EmailInviate (Stampa, dtinvio, EmailDest, Esito) select Stampa, Data || ' 09:15:00', "
            "email, case when Codice = '245' then 'Non inviato: casella piena' else 'Inviato' end "
            "from Posta where Data between '2026-09-01' and '2026-10-31'"));
    return errore;
}

} // namespace

int main(int argc, char* argv[])
{
    FissaFusoOrario();
    QApplication applicazione(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ClientVelmira"));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    if (argc != 3) {
        std::fprintf(stderr, "Uso: velmira-schermate DEMO CARTELLA\n");
        return 2;
    }
    QTranslator traduzioneQt;
    if (traduzioneQt.load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&traduzioneQt);
    // A message nobody would answer on a virtual screen goes to the log instead.
    DialoghiConsole dialoghi;
    Dialoghi::Installa(&dialoghi);
    ReportManX::Registra();
    ImpostaCartellaProgramma(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    const QDir uscita(QString::fromLocal8Bit(argv[2]));
    if (!QDir().mkpath(uscita.path()))
        return std::fprintf(stderr, "velmira-schermate: impossibile creare %s\n", argv[2]), 1;

    frmPrincipale principale;
    RegistraFinestreProgramma(principale);
    principale.setGeometry(0, 0, 1280, 800);
    principale.show();
    principale.activateWindow();
    const auto apri = [&principale](const char* voce) { principale.findChild<QAction*>(voce)->trigger(); };
    const QDate giugno(2026, 6, 1), novembre(2026, 11, 30);

    apri("mnuFileRistampa");
    auto* ristampa = principale.findChild<frmRistampa*>();
    if (!ristampa)
        return std::fprintf(stderr, "velmira-schermate: la finestra di ristampa non si apre\n"), 1;
    Periodo(ristampa->Pannello(), giugno, novembre);
    if (!Fotografa({&principale}, uscita.filePath(QStringLiteral("principale.png"))))
        return 1;
    ristampa->Pannello()->cmdCerca->click();
    Tabulario* lista = ristampa->Trova();
    if (!lista)
        return std::fprintf(stderr, "velmira-schermate: nessun elenco di documenti\n"), 1;
    lista->setGeometry(470, 170, 780, 480);
    if (!Fotografa({&principale, lista}, uscita.filePath(QStringLiteral("ristampa.png"))))
        return 1;
    lista->close();

    apri("mnuFileEmail");
    auto* email = principale.findChild<frmRiEmail*>();
    Periodo(email->Pannello(), QDate(2026, 9, 1), QDate(2026, 9, 30));
    email->Pannello()->cmdCerca->click();
    if (!email->Anteprima())
        return std::fprintf(stderr, "velmira-schermate: nessun documento da inviare\n"), 1;
    if (!Fotografa({&principale}, uscita.filePath(QStringLiteral("anteprima-email.png"))))
        return 1;

    if (const Errore errore = RegistraInviiDimostrativi(
            QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("server/marvena/dati.mdb")));
        errore.presente())
        return std::fprintf(stderr, "velmira-schermate: %s\n", qUtf8Printable(errore.testo())), 1;
    apri("mnuFileElencoMail");
    auto* elenco = principale.findChild<frmListaMail*>();
    Periodo(elenco->Pannello(), QDate(2026, 9, 1), QDate(2026, 10, 31));
    elenco->Pannello()->cmdCerca->click();
    frmAnteprimaReport* report = nullptr;
    for (QWidget* finestra : QApplication::topLevelWidgets())
        if (auto* trovata = qobject_cast<frmAnteprimaReport*>(finestra); trovata && trovata->isVisible())
            report = trovata;
    if (!report)
        return std::fprintf(stderr, "velmira-schermate: il report non si apre\n"), 1;
    report->setGeometry(0, 0, 1000, 720);
    return Fotografa({report}, uscita.filePath(QStringLiteral("elenco-email.png"))) ? 0 : 1;
}
