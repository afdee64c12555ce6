#include "app/frmPrincipale.h"

#include "app/CursoreCollegamento.h"
#include "avvio/AttivazioneProgramma.h"
#include "common/Dialoghi.h"
#include "common/Orologio.h"
#include "components/Finestre.h"
#include "components/ImmaginiBarra.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

const QString frmPrincipale::IndirizzoSito = QStringLiteral("http://www.velmira.it/software.php");

namespace {

using Gestore = void (frmPrincipale::*)();

// A null caption marks a separator.
struct VoceMenu
{
    const char* nome;
    const char* testo;
    Gestore gestore;
};

enum Pannello { Ora, Data, Sito, Maiuscole, Numeri };

QLabel* CreaPannello(const char* nome, const QString& testo)
{
    auto* pannello = new QLabel(testo);
    pannello->setObjectName(QString::fromLatin1(nome));
    pannello->setAlignment(Qt::AlignCenter);
    return pannello;
}

// A child window's frame that reports when it really closes: a frame only
// hidden (a window waiting for another, a run still ending) stays open.
class CorniceFinestra : public QMdiSubWindow
{
public:
    explicit CorniceFinestra(std::function<void(QMdiSubWindow*)> chiusa) : chiusa_(std::move(chiusa)) {}

protected:
    void closeEvent(QCloseEvent* evento) override
    {
        QMdiSubWindow::closeEvent(evento);
        if (evento->isAccepted())
            chiusa_(this);
    }

private:
    std::function<void(QMdiSubWindow*)> chiusa_;
};

// A lock panel is lit while its key is on, greyed while off or unknown.
void MostraSpia(QLabel* pannello, std::optional<bool> accesa)
{
    pannello->setEnabled(accesa.value_or(false));
    pannello->setToolTip(accesa ? QString()
                                : QStringLiteral("stato del tasto non disponibile su questo sistema"));
}

} // namespace

frmPrincipale::frmPrincipale(std::unique_ptr<StatoTastiera> tastiera, QWidget* parent)
    : QMainWindow(parent)
    , tastiera_(std::move(tastiera))
{
    setObjectName(QStringLiteral("frmPrincipale"));
    setWindowTitle(QStringLiteral("Seleziona Stampe"));

    AreaFinestre = new QMdiArea;
    AreaFinestre->setObjectName(QStringLiteral("AreaFinestre"));
    AreaFinestre->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    AreaFinestre->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto* centro = new QWidget;
    auto* colonna = new QVBoxLayout(centro);
    colonna->setContentsMargins(0, 0, 0, 0);
    colonna->setSpacing(0);
    colonna->addWidget(AreaFinestre, 1);
    colonna->addWidget(CreaPic());
    setCentralWidget(centro);

    CreaMenu();
    CreaToolBar();
    CreaStatusBar();

    auto* orologio = new QTimer(this);
    connect(orologio, &QTimer::timeout, this, &frmPrincipale::AggiornaStatusBar);
    orologio->start(1000);
}

frmPrincipale::~frmPrincipale() = default;

void frmPrincipale::CreaMenu()
{
    static const VoceMenu voci[] = {
        {"mnuFileRistampa", "Ricerca e Ristampa Documenti", &frmPrincipale::mnuFileRistampa_Click},
        {"mnuFileRicercaTesto", "Ricerca nel testo dei documenti", &frmPrincipale::mnuFileRicercaTesto_Click},
        {"mnuSep4", nullptr, nullptr},
        {"mnuFileEmail", "Invia documenti tramite email", &frmPrincipale::mnuFileEmail_Click},
        {"mnuFileElencoMail", "Elenco mail inviate", &frmPrincipale::mnuFileElencoMail_Click},
        {"mnuSep5", nullptr, nullptr},
        {"mnuFileSeleziona", "Copia Documenti", &frmPrincipale::mnuFileSeleziona_Click},
        {"mnuFileSep1", nullptr, nullptr},
        {"mnuFileImpostazioni", "Impostazioni programma",
         &frmPrincipale::mnuFileImpostazioni_Click},
        {"mnuFileSep2", nullptr, nullptr},
        {"mnuFileImporta", "Importa Documenti", &frmPrincipale::mnuFileImporta_Click},
        {"mnuFileSep3", nullptr, nullptr},
        {"mnuFileEsci", "Uscita", &frmPrincipale::mnuFileEsci_Click},
    };
    mnuFile = menuBar()->addMenu(QStringLiteral("File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    for (const VoceMenu& voce : voci) {
        QAction* azione = voce.testo ? mnuFile->addAction(QString::fromUtf8(voce.testo))
                                     : mnuFile->addSeparator();
        azione->setObjectName(QString::fromLatin1(voce.nome));
        if (voce.gestore)
            connect(azione, &QAction::triggered, this, voce.gestore);
    }
}

std::span<const frmPrincipale::PulsanteBarra> frmPrincipale::PulsantiBarra()
{
    static const PulsanteBarra pulsanti[] = {
        {"Impostazioni", "impostazioni programma", &frmPrincipale::mnuFileImpostazioni_Click},
        {"Ristampa", "Ricerca e ristampa documenti", &frmPrincipale::mnuFileRistampa_Click},
        {"RicercaTesto", "Ricerca nel testo dei documenti", &frmPrincipale::mnuFileRicercaTesto_Click},
        {"SelStampe", "Seleziona e copia documenti", &frmPrincipale::mnuFileSeleziona_Click},
        {nullptr, nullptr, nullptr},
        {"Email", "Seleziona e invia i documenti tramite email",
         &frmPrincipale::mnuFileEmail_Click},
        {"ElencoMail", "Visualizza elenco email inviate", &frmPrincipale::mnuFileElencoMail_Click},
        {nullptr, nullptr, nullptr},
        {"Importa", "Importa documenti", &frmPrincipale::mnuFileImporta_Click},
        {nullptr, nullptr, nullptr},
        {"Uscita", "Uscita", &frmPrincipale::mnuFileEsci_Click},
    };
    return pulsanti;
}

void frmPrincipale::CreaToolBar()
{
    ToolBar = addToolBar(QStringLiteral("Barra degli strumenti"));
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    ToolBar->setIconSize(QSize(32, 32));
    ToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const PulsanteBarra& pulsante : PulsantiBarra()) {
        if (!pulsante.chiave) {
            ToolBar->addSeparator();
            continue;
        }
        const QString chiave = QString::fromLatin1(pulsante.chiave);
        QAction* azione = ToolBar->addAction(IconaBarra(chiave), QString());
        azione->setObjectName(chiave);
        azione->setData(chiave);
        azione->setToolTip(QString::fromUtf8(pulsante.suggerimento));
        connect(azione, &QAction::triggered, this, [this, chiave] { ToolBar_ButtonClick(chiave); });
    }
}

QWidget* frmPrincipale::CreaPic()
{
    Pic = new QFrame;
    Pic->setObjectName(QStringLiteral("Pic"));
    Pic->setFixedHeight(Twip(360));
    Pic->setStyleSheet(QStringLiteral("#Pic { border-top: 1px solid #c4c4c4; }"));
    Pic->installEventFilter(this);

    lblInternet = new QLabel(QStringLiteral("www.velmira.it"), Pic);
    lblInternet->setObjectName(QStringLiteral("lblInternet"));
    lblInternet->setStyleSheet(QStringLiteral("color: #1a4fa0; text-decoration: underline;"));
    lblInternet->setToolTip(QStringLiteral("Visita il sito internet di Velmira"));
    lblInternet->setMouseTracking(true);
    lblInternet->adjustSize();
    lblInternet->installEventFilter(this);
    return Pic;
}

void frmPrincipale::CreaStatusBar()
{
    Pannelli[Ora] = CreaPannello("Ora", QString());
    Pannelli[Data] = CreaPannello("Data", QString());
    Pannelli[Sito] = CreaPannello(
        "Sito", QStringLiteral("Velmira Software - assistenza e recapiti su www.velmira.it"));
    Pannelli[Sito]->setToolTip(QStringLiteral("clicca per accedere al sito internet"));
    Pannelli[Maiuscole] = CreaPannello("BloccoMaiuscole", QStringLiteral("BLOC MAIUSC"));
    Pannelli[Numeri] = CreaPannello("BloccoNumerico", QStringLiteral("BLOC NUM"));

    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setStyleSheet(QStringLiteral(
        "QStatusBar::item { border: none; }"
        "QStatusBar QLabel { border: 1px solid #b8b8b8; border-radius: 2px;"
        " padding: 1px 10px; margin: 2px 1px; background: #f8f8f8; }"));
    for (QLabel* pannello : Pannelli)
        statusBar()->addPermanentWidget(pannello, pannello == Pannelli[Sito] ? 1 : 0);
    AggiornaStatusBar();
}

void frmPrincipale::RegistraFinestra(const QString& nomeMenu, std::function<QWidget*()> crea)
{
    creatori_.insert(nomeMenu, std::move(crea));
}

void frmPrincipale::ToolBar_ButtonClick(const QString& chiave)
{
    // Exact, case-sensitive comparison: any other key does nothing.
    for (const PulsanteBarra& pulsante : PulsantiBarra()) {
        if (pulsante.chiave && chiave == QLatin1String(pulsante.chiave)) {
            (this->*pulsante.gestore)();
            return;
        }
    }
}

void frmPrincipale::mnuFileRistampa_Click()
{
    MostraFinestra(QStringLiteral("mnuFileRistampa"));
}

void frmPrincipale::mnuFileRicercaTesto_Click()
{
    MostraFinestra(QStringLiteral("mnuFileRicercaTesto"));
}

void frmPrincipale::mnuFileEmail_Click()
{
    MostraFinestra(QStringLiteral("mnuFileEmail"));
}

void frmPrincipale::mnuFileElencoMail_Click()
{
    MostraFinestra(QStringLiteral("mnuFileElencoMail"));
}

void frmPrincipale::mnuFileSeleziona_Click()
{
    MostraFinestra(QStringLiteral("mnuFileSeleziona"));
}

void frmPrincipale::mnuFileImpostazioni_Click()
{
    MostraFinestra(QStringLiteral("mnuFileImpostazioni"));
}

void frmPrincipale::mnuFileImporta_Click()
{
    MostraFinestra(QStringLiteral("mnuFileImporta"));
}

void frmPrincipale::mnuFileEsci_Click()
{
    close();
}

void frmPrincipale::MostraFinestra(const QString& nomeMenu)
{
    // Open means not yet closed, hidden or not: that one comes back.
    if (QMdiSubWindow* aperta = aperte_.value(nomeMenu); aperta && aperta->widget()) {
        RiprendiFinestra(aperta->widget());
        return;
    }
    const auto crea = creatori_.constFind(nomeMenu);
    if (crea == creatori_.cend())
        return;
    QWidget* finestra = (*crea)();
    if (!finestra)
        return;
    auto* cornice = new CorniceFinestra([this, nomeMenu](QMdiSubWindow* chiusa) {
        if (aperte_.value(nomeMenu) == chiusa)
            aperte_.remove(nomeMenu);
    });
    cornice->setWidget(finestra);
    cornice->setAttribute(Qt::WA_DeleteOnClose);
    AreaFinestre->addSubWindow(cornice);
    // Every window opens at the top left, over any already open, rather
    // than where the work area would fit it in.
    SpostaInAltoASinistra(finestra);
    // A window that unloads itself while loading (missing settings, say)
    // takes its empty frame with it. Queued, so that a frame already being
    // destroyed together with its window is never called back.
    connect(finestra, &QObject::destroyed, cornice, &QWidget::close, Qt::QueuedConnection);
    aperte_.insert(nomeMenu, cornice);
    cornice->show();
    AreaFinestre->setActiveSubWindow(cornice);
}

void frmPrincipale::changeEvent(QEvent* evento)
{
    QMainWindow::changeEvent(evento);
    if (evento->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void frmPrincipale::Form_Activate()
{
    // A settings file that cannot be written must not stop later clean-ups;
    // the settings layer tells its problem once.
    AttivazioneProgramma(Adesso());
}

void frmPrincipale::closeEvent(QCloseEvent* evento)
{
    AreaFinestre->closeAllSubWindows();
    evento->accept();
}

bool frmPrincipale::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (oggetto == Pic && evento->type() == QEvent::Resize) {
        Pic_Resize();
    } else if (oggetto == lblInternet) {
        if (evento->type() == QEvent::MouseMove) {
            lblInternet_MouseMove();
        } else if (evento->type() == QEvent::MouseButtonRelease) {
            const auto* clic = static_cast<QMouseEvent*>(evento);
            if (clic->button() == Qt::LeftButton && lblInternet->rect().contains(clic->position().toPoint()))
                lblInternet_Click();
        }
    }
    return QMainWindow::eventFilter(oggetto, evento);
}

void frmPrincipale::Pic_Resize()
{
    lblInternet->move(Pic->width() - lblInternet->width() - Twip(200),
                      (Pic->height() - lblInternet->height()) / 2);
}

void frmPrincipale::lblInternet_MouseMove()
{
    lblInternet->setCursor(CursoreCollegamento());
}

void frmPrincipale::lblInternet_Click()
{
    if (!QDesktopServices::openUrl(QUrl(IndirizzoSito)))
        MostraMessaggio(QStringLiteral("Impossibile aprire la pagina %1: nessun programma per "
                                       "la navigazione in internet risponde.")
                            .arg(IndirizzoSito),
                        Icona::Esclamazione);
}

void frmPrincipale::AggiornaStatusBar()
{
    const QDateTime adesso = Adesso();
    Pannelli[Ora]->setText(adesso.toString(QStringLiteral("HH:mm")));
    Pannelli[Data]->setText(adesso.toString(QStringLiteral("dd/MM/yyyy")));
    MostraSpia(Pannelli[Maiuscole], tastiera_->BloccoMaiuscole());
    MostraSpia(Pannelli[Numeri], tastiera_->BloccoNumerico());
}
