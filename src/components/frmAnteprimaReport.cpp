#include "components/frmAnteprimaReport.h"

#include "common/Dialoghi.h"
#include "components/DocumentoReport.h"
#include "components/ImmaginiBarra.h"
#include "shell/SceltaFileDaSalvare.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {
constexpr int spazio = 16; // around and between the pages, in pixels
const QString adattaLarghezza = QStringLiteral("Adatta alla larghezza");
}

PagineReport::PagineReport(std::shared_ptr<const DocumentoReport> documento, QWidget* genitore)
    : QWidget(genitore), documento_(std::move(documento))
{
    setObjectName(QStringLiteral("pagine"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize PagineReport::DimensionePagina() const
{
    return (documento_->DimensionePagina() * scala_).toSize();
}

void PagineReport::ImpostaScala(double scala)
{
    scala_ = scala;
    const QSize pagina = DimensionePagina();
    resize(pagina.width() + 2 * spazio, documento_->NumeroPagine() * (pagina.height() + spazio) + spazio);
    update();
}

int PagineReport::AltoPagina(int pagina) const
{
    return spazio + pagina * (DimensionePagina().height() + spazio);
}

int PagineReport::PaginaA(int y) const
{
    const int passo = DimensionePagina().height() + spazio;
    return qBound(0, (y - spazio / 2) / qMax(passo, 1), documento_->NumeroPagine() - 1);
}

void PagineReport::paintEvent(QPaintEvent* evento)
{
    QPainter p(this);
    p.fillRect(evento->rect(), palette().color(QPalette::Dark));
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const QSize dimensione = DimensionePagina();
    const int x = (width() - dimensione.width()) / 2;
    for (int pagina = PaginaA(evento->rect().top()); pagina < documento_->NumeroPagine(); ++pagina) {
        const QRect area(QPoint(x, AltoPagina(pagina)), dimensione);
        if (area.top() > evento->rect().bottom())
            break;
        p.fillRect(area.translated(3, 3), QColor(0, 0, 0, 60));
        p.fillRect(area, Qt::white);
        p.save();
        p.setClipRect(area);
        p.translate(area.topLeft());
        p.scale(scala_, scala_);
        documento_->DisegnaPagina(p, pagina);
        p.restore();
    }
}

frmAnteprimaReport::frmAnteprimaReport(std::shared_ptr<const DocumentoReport> documento, const QString& titolo,
                                       QWidget* genitore)
    : QMainWindow(genitore, Qt::Window), documento_(std::move(documento)), titolo_(titolo)
{
    setObjectName(QStringLiteral("frmAnteprimaReport"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(titolo);
    resize(1000, 760);

    barra = addToolBar(QStringLiteral("Barra degli strumenti"));
    barra->setObjectName(QStringLiteral("barra"));
    barra->setMovable(false);
    barra->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto azione = [this](const QIcon& icona, const QString& testo, const QString& nome,
                               const QKeySequence& tasto, auto gestore) {
        QAction* a = barra->addAction(icona, testo);
        a->setObjectName(nome);
        a->setShortcut(tasto);
        a->setToolTip(testo.endsWith(QLatin1String("...")) ? testo.chopped(3) : testo);
        connect(a, &QAction::triggered, this, gestore);
        return a;
    };
    // Page arrows show their picture only; their name stays for tooltips and screen readers.
    const auto soloIcona = [this](QAction* a) {
        if (auto* pulsante = qobject_cast<QToolButton*>(barra->widgetForAction(a)))
            pulsante->setToolButtonStyle(Qt::ToolButtonIconOnly);
    };
    const auto icona = [this](QStyle::StandardPixmap figura) { return style()->standardIcon(figura); };
    azione(IconaBarra(QStringLiteral("Ristampa")), QStringLiteral("Stampa..."), QStringLiteral("cmdStampa"),
           QKeySequence::Print, &frmAnteprimaReport::Stampa);
    azione(icona(QStyle::SP_FileIcon), QStringLiteral("Esporta PDF..."), QStringLiteral("cmdEsportaPdf"),
           QKeySequence(Qt::CTRL | Qt::Key_E), &frmAnteprimaReport::ChiediEsportaPdf);
    barra->addSeparator();
    soloIcona(azione(icona(QStyle::SP_MediaSkipBackward), QStringLiteral("Prima pagina"),
                     QStringLiteral("cmdPrimaPagina"), QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { VaiAPagina(0); }));
    soloIcona(azione(icona(QStyle::SP_ArrowLeft), QStringLiteral("Pagina precedente"),
                     QStringLiteral("cmdPaginaPrecedente"), QKeySequence(Qt::Key_PageUp),
                     [this] { VaiAPagina(PaginaCorrente() - 1); }));
    spnPagina = new QSpinBox(barra);
    spnPagina->setObjectName(QStringLiteral("spnPagina"));
    spnPagina->setRange(1, documento_->NumeroPagine());
    spnPagina->setAccessibleName(QStringLiteral("Pagina"));
    barra->addWidget(new QLabel(QStringLiteral(" Pagina "), barra));
    barra->addWidget(spnPagina);
    lblPagine = new QLabel(QStringLiteral(" di %1 ").arg(documento_->NumeroPagine()), barra);
    lblPagine->setObjectName(QStringLiteral("lblPagine"));
    barra->addWidget(lblPagine);
    soloIcona(azione(icona(QStyle::SP_ArrowRight), QStringLiteral("Pagina successiva"),
                     QStringLiteral("cmdPaginaSuccessiva"), QKeySequence(Qt::Key_PageDown),
                     [this] { VaiAPagina(PaginaCorrente() + 1); }));
    soloIcona(azione(icona(QStyle::SP_MediaSkipForward), QStringLiteral("Ultima pagina"),
                     QStringLiteral("cmdUltimaPagina"), QKeySequence(Qt::CTRL | Qt::Key_End),
                     [this] { VaiAPagina(documento_->NumeroPagine() - 1); }));
    barra->addSeparator();
    cmbZoom = new QComboBox(barra);
    cmbZoom->setObjectName(QStringLiteral("cmbZoom"));
    cmbZoom->setAccessibleName(QStringLiteral("Zoom"));
    cmbZoom->addItems({adattaLarghezza, QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                       QStringLiteral("150%"), QStringLiteral("200%")});
    barra->addWidget(cmbZoom);
    barra->addSeparator();
    azione(icona(QStyle::SP_DialogCloseButton), QStringLiteral("Chiudi"), QStringLiteral("cmdChiudi"),
           QKeySequence(Qt::Key_Escape), &QWidget::close);

    areaPagine = new QScrollArea(this);
    areaPagine->setObjectName(QStringLiteral("areaPagine"));
    areaPagine->setAlignment(Qt::AlignHCenter);
    areaPagine->setBackgroundRole(QPalette::Dark);
    pagine = new PagineReport(documento_, areaPagine);
    areaPagine->setWidget(pagine);
    areaPagine->verticalScrollBar()->setSingleStep(40);
    areaPagine->viewport()->installEventFilter(this);

    setCentralWidget(areaPagine);

    connect(spnPagina, &QSpinBox::valueChanged, this, [this](int numero) {
        if (numero - 1 != PaginaCorrente())
            VaiAPagina(numero - 1);
    });
    connect(areaPagine->verticalScrollBar(), &QScrollBar::valueChanged, this, &frmAnteprimaReport::AggiornaPagina);
    connect(cmbZoom, &QComboBox::currentIndexChanged, this, &frmAnteprimaReport::ApplicaZoom);
    ApplicaZoom();
}

void frmAnteprimaReport::VaiAPagina(int pagina)
{
    pagina_ = qBound(0, pagina, documento_->NumeroPagine() - 1);
    scorrimentoProprio_ = true;
    areaPagine->verticalScrollBar()->setValue(pagine->AltoPagina(pagina_) - spazio / 2);
    scorrimentoProprio_ = false;
    const QSignalBlocker blocco(spnPagina);
    spnPagina->setValue(pagina_ + 1);
}

void frmAnteprimaReport::AggiornaPagina()
{
    if (scorrimentoProprio_)
        return;
    // Scrolled by the user: the page that fills the middle of the view.
    const QScrollBar* barraVerticale = areaPagine->verticalScrollBar();
    pagina_ = pagine->PaginaA(barraVerticale->value() + areaPagine->viewport()->height() / 2);
    const QSignalBlocker blocco(spnPagina);
    spnPagina->setValue(pagina_ + 1);
}

void frmAnteprimaReport::ApplicaZoom()
{
    const int pagina = PaginaCorrente();
    const double base = logicalDpiX() / DocumentoReport::UnitaPerPollice;
    const QString scelta = cmbZoom->currentText();
    const double scala = scelta == adattaLarghezza
        ? (areaPagine->viewport()->width() - 2 * spazio) / documento_->DimensionePagina().width()
        : base * QStringView(scelta).chopped(1).toDouble() / 100;
    pagine->ImpostaScala(qMax(scala, 0.01));
    VaiAPagina(pagina);
}

bool frmAnteprimaReport::eventFilter(QObject* oggetto, QEvent* evento)
{
    // The view's width is known only once the window is laid out.
    if (oggetto == areaPagine->viewport() && evento->type() == QEvent::Resize
        && cmbZoom->currentText() == adattaLarghezza)
        ApplicaZoom();
    return QMainWindow::eventFilter(oggetto, evento);
}

void frmAnteprimaReport::Stampa()
{
    QPrinter stampante(QPrinter::HighResolution);
    stampante.setDocName(titolo_);
    QPrintDialog dialogo(&stampante, this);
    dialogo.setMinMax(1, documento_->NumeroPagine());
    dialogo.setOption(QAbstractPrintDialog::PrintPageRange);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    if (!documento_->Stampa(stampante))
        MostraMessaggio(QStringLiteral("Impossibile stampare il report: la stampante non è disponibile."),
                        Icona::Esclamazione);
}

void frmAnteprimaReport::ChiediEsportaPdf()
{
    QString percorso = ScegliFileDaSalvare(this, QStringLiteral("Esporta PDF"),
                                           QDir::home().filePath(titolo_ + QStringLiteral(".pdf")),
                                           QStringLiteral("Documenti PDF (*.pdf)"));
    if (percorso.isEmpty())
        return;
    if (!percorso.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        percorso += QStringLiteral(".pdf");
    EsportaPdf(percorso);
}

bool frmAnteprimaReport::EsportaPdf(const QString& percorso)
{
    if (documento_->EsportaPdf(percorso, titolo_))
        return true;
    MostraMessaggio(QStringLiteral("Impossibile scrivere il file ") + percorso
                        + QStringLiteral(": controllare la cartella e lo spazio libero."),
                    Icona::Esclamazione);
    return false;
}
