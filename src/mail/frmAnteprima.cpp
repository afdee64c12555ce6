#include "mail/frmAnteprima.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/Recordset.h"
#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"
#include "components/Finestre.h"
#include "mail/Spedizione.h"
#include "mail/StatoInvii.h"
#include "mail/moduloListView.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMap>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPdfDocument>
#include <QPdfView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {
QPushButton* NuovoPulsante(const QString& nome, const QString& testo, QStyle::StandardPixmap icona,
                           QWidget* genitore)
{
    auto* pulsante = new QPushButton(genitore->style()->standardIcon(icona), testo, genitore);
    pulsante->setObjectName(nome);
    return pulsante;
}
}

void EvidenziaRiga(QTreeWidgetItem* riga, bool attiva)
{
    if (!riga)
        return;
    for (int colonna = 0; colonna < riga->columnCount(); ++colonna) {
        QFont carattere = riga->font(colonna);
        carattere.setBold(attiva);
        riga->setFont(colonna, carattere);
    }
}

frmAnteprima::frmAnteprima(QWidget* parent)
    : QWidget(parent),
      lista(new QTreeWidget(this)),
      Label1(new QLabel(QStringLiteral("Deselezionare per escludere l'invio."), this)),
      lblStato(new QLabel(this)),
      fraAnteprima(new QGroupBox(QStringLiteral("Anteprima"), this)),
      WebBrowser(new QPdfView(fraAnteprima)),
      cmdAddEmail(NuovoPulsante(QStringLiteral("cmdAddEmail"), QStringLiteral("&Aggiungi email"),
                                QStyle::SP_FileDialogNewFolder, this)),
      cmdAnnulla(NuovoPulsante(QStringLiteral("cmdAnnulla"), QStringLiteral("&Annulla"),
                               QStyle::SP_DialogCancelButton, this)),
      cmdOk(NuovoPulsante(QStringLiteral("cmdOk"), QStringLiteral("&Invia"), QStyle::SP_DialogApplyButton,
                          this)),
      documento_(new QPdfDocument(this))
{
    setObjectName(QStringLiteral("frmAnteprima"));
    setWindowTitle(QStringLiteral("Invio email..."));
    lista->setObjectName(QStringLiteral("lista"));
    lista->setToolTip(QStringLiteral("Click tasto destro per anteprima documento"));
    lista->setRootIsDecorated(false);
    lista->setUniformRowHeights(true);
    lista->setAlternatingRowColors(true);
    lista->setTextElideMode(Qt::ElideNone);
    lista->header()->setStretchLastSection(false);
    lista->setAllColumnsShowFocus(true);
    lista->installEventFilter(this);
    lista->viewport()->installEventFilter(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setBuddy(lista);
    lblStato->setObjectName(QStringLiteral("lblStato"));
    lblStato->setWordWrap(true);
    lblStato->hide();
    fraAnteprima->setObjectName(QStringLiteral("fraAnteprima"));
    WebBrowser->setObjectName(QStringLiteral("WebBrowser"));
    WebBrowser->setDocument(documento_);
    WebBrowser->setPageMode(QPdfView::PageMode::MultiPage);
    WebBrowser->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    WebBrowser->hide();
    (new QVBoxLayout(fraAnteprima))->addWidget(WebBrowser);

    auto* elenco = new QVBoxLayout;
    elenco->addWidget(lista, 1);
    elenco->addWidget(Label1);
    elenco->addWidget(lblStato);
    auto* centro = new QHBoxLayout;
    centro->addLayout(elenco, 2);
    centro->addWidget(fraAnteprima, 1);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addWidget(cmdAddEmail);
    pulsanti->addStretch();
    pulsanti->addWidget(cmdOk);
    pulsanti->addWidget(cmdAnnulla);
    auto* principale = new QVBoxLayout(this);
    principale->addLayout(centro, 1);
    principale->addLayout(pulsanti);

    connect(lista, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* riga) { lista_Click(riga); });
    connect(cmdAddEmail, &QPushButton::clicked, this, &frmAnteprima::cmdAddEmail_Click);
    connect(cmdOk, &QPushButton::clicked, this, &frmAnteprima::cmdOk_Click);
    connect(cmdAnnulla, &QPushButton::clicked, this, [this] { ScaricaFinestra(this); });
}

frmAnteprima::~frmAnteprima() = default;

void frmAnteprima::setREcoR(std::unique_ptr<Recordset> recordset, const Contesto& contesto)
{
    rEcoR_ = std::move(recordset);
    contesto_ = contesto;
}

void frmAnteprima::closeEvent(QCloseEvent* evento)
{
    emit Scaricata();
    QWidget::closeEvent(evento);
}

bool frmAnteprima::event(QEvent* evento)
{
    if (evento->type() == QEvent::Show && !evento->spontaneous()) {
        // In the main window the list is built whenever the user comes to this
        // window from another child window; alone, whenever it is shown.
        auto* cornice = qobject_cast<QMdiSubWindow*>(parentWidget());
        if (QMdiArea* area = cornice ? cornice->mdiArea() : nullptr) {
            if (!seguiAttivazione_) {
                seguiAttivazione_ = true;
                connect(area, &QMdiArea::subWindowActivated, this, &frmAnteprima::SeguiAttivazione);
            }
            SeguiAttivazione(area->activeSubWindow());
        } else {
            Form_Activate();
        }
    }
    return QWidget::event(evento);
}

void frmAnteprima::SeguiAttivazione(QMdiSubWindow* attivata)
{
    // None active means the program itself lost the keyboard (a message box,
    // another program): coming back from it is not coming to this window.
    if (!attivata)
        return;
    if (attivata == parentWidget() && ultimaAttiva_ != attivata)
        Form_Activate();
    ultimaAttiva_ = attivata;
}

void frmAnteprima::Form_Activate()
{
    SpostaInAltoASinistra(this);
    rigaCorrente_ = nullptr;
    NascondiDocumento();
    MostraStato(nullptr);
    if (!rEcoR_) {
        lista->clear();
        return;
    }
    // The list itself goes on past a failed step; the user is told why the
    // documents found are missing.
    if (const Errore errore = rEcoR_->MoveFirst(); errore.presente())
        MostraMessaggio(QStringLiteral("Impossibile rileggere i documenti trovati dall'archivio:\n") + errore.testo(),
                        Icona::Critica);
    MostraRecordset(*rEcoR_, lista);
    // One repaint for the whole list rather than one per row.
    lista->model()->blockSignals(true);
    for (int i = 0; i < lista->topLevelItemCount(); ++i)
        lista->topLevelItem(i)->setCheckState(0, Qt::Checked);
    lista->model()->blockSignals(false);
    lista->viewport()->update();
    if (lista->topLevelItemCount() == 0)
        return;
    // The current row is bold, and the first column holds the tick box too.
    QFont grassetto = lista->font();
    grassetto.setBold(true);
    const QString campione = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz@._");
    const double allargamento = QFontMetricsF(grassetto).horizontalAdvance(campione)
        / QFontMetricsF(lista->font()).horizontalAdvance(campione);
    for (int colonna = 0; colonna < lista->columnCount(); ++colonna)
        lista->setColumnWidth(colonna, int(std::ceil(lista->columnWidth(colonna) * allargamento)));
    lista->setColumnWidth(0, lista->columnWidth(0) + style()->pixelMetric(QStyle::PM_IndicatorWidth)
                                 + 2 * style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing));
    rigaCorrente_ = lista->topLevelItem(0);
    lista->setCurrentItem(rigaCorrente_);
    MostraDocumento(rigaCorrente_);
    EvidenziaRiga(rigaCorrente_, true);
    MostraStato(rigaCorrente_);
}

void frmAnteprima::lista_Click(QTreeWidgetItem* riga)
{
    EvidenziaRiga(rigaCorrente_, false);
    NascondiDocumento();
    rigaCorrente_ = riga;
    MostraStato(riga);
}

void frmAnteprima::MostraStato(QTreeWidgetItem* riga)
{
    // The last sending to each recipient: the list comes in the order sent.
    QMap<QString, QString> ultimi;
    Connessione connessione;
    if (riga && !connessione.Apri(StringaConnessione(contesto_.strDatabase, u";")).presente())
        if (const auto stati = StatiInvii(connessione, riga->text(0)))
            for (const StatoInvio& s : *stati)
                ultimi.insert(s.destinatario.toLower(), s.destinatario + QStringLiteral(": ") + TestoStato(s));
    const QStringList righe = ultimi.values();
    lblStato->setText(QStringLiteral("Invii precedenti del documento:\n") + righe.join(QLatin1Char('\n')));
    lblStato->setVisible(!righe.isEmpty());
}

void frmAnteprima::lista_MouseUp()
{
    if (!rigaCorrente_)
        return;
    if (MostraDocumento(rigaCorrente_))
        EvidenziaRiga(rigaCorrente_, true);
    else
        MostraMessaggio(QStringLiteral("il documento non esiste più."), Icona::Informazione);
}

bool frmAnteprima::eventFilter(QObject* oggetto, QEvent* evento)
{
    // The space bar ticks or unticks the row under the cursor, whichever
    // column the cursor stands in.
    if (oggetto == lista && evento->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(evento)->key() == Qt::Key_Space && lista->currentItem()) {
        QTreeWidgetItem* riga = lista->currentItem();
        riga->setCheckState(0, riga->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        return true;
    }
    if (oggetto == lista->viewport()) {
        const auto tipo = evento->type();
        const bool destro = (tipo == QEvent::MouseButtonPress || tipo == QEvent::MouseButtonRelease
                             || tipo == QEvent::MouseButtonDblClick)
            && static_cast<QMouseEvent*>(evento)->button() == Qt::RightButton;
        // The right button previews the current row; it does not choose another.
        if (destro) {
            if (tipo == QEvent::MouseButtonRelease)
                lista_MouseUp();
            return true;
        }
    }
    return QWidget::eventFilter(oggetto, evento);
}

bool frmAnteprima::MostraDocumento(QTreeWidgetItem* riga)
{
    const QString percorso = UnisciPercorso(contesto_.strCartellaPDF, riga->text(0));
    if (!QFileInfo(percorso).isFile())
        return false;
    documento_->load(percorso);
    WebBrowser->show();
    return true;
}

void frmAnteprima::NascondiDocumento()
{
    WebBrowser->hide();
    documento_->close();
}

int frmAnteprima::ColonnaEmail() const
{
    for (int colonna = 0; colonna < lista->columnCount(); ++colonna)
        if (lista->headerItem()->text(colonna).compare(QLatin1String("email"), Qt::CaseInsensitive) == 0)
            return colonna;
    return lista->columnCount() - 1;
}

void frmAnteprima::cmdAddEmail_Click()
{
    if (!rigaCorrente_)
        return;
    rigaCorrente_->setText(ColonnaEmail(),
                           Dialoghi::Attuale().Input(QStringLiteral("Email:"),
                                                     QStringLiteral("inserire email destinatario"), QString()));
}

TabellaInvio frmAnteprima::DocumentiSelezionati() const
{
    TabellaInvio tabella;
    const int email = ColonnaEmail();
    for (int i = 0; i < lista->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* riga = lista->topLevelItem(i);
        if (riga->checkState(0) == Qt::Unchecked)
            continue;
        tabella.percorsi.append(UnisciPercorso(contesto_.strCartellaPDF, riga->text(0)));
        tabella.destinatari.append(riga->text(email));
    }
    return tabella;
}

void frmAnteprima::cmdOk_Click()
{
    const TabellaInvio tabella = DocumentiSelezionati();
    if (tabella.Vuota()) {
        MostraMessaggio(QStringLiteral("Selezionare almeno un documento da inviare."), Icona::Esclamazione);
        return;
    }
    const auto porta = PortaSmtp(contesto_.email.Porta);
    if (!porta) {
        MostraMessaggio(QStringLiteral("La porta del server di posta \"%1\" non è valida: indicare nelle "
                                       "impostazioni un numero intero da 1 a 65535, oppure 0 o nessun valore "
                                       "per usare la porta usuale. Nessun documento è stato inviato.")
                            .arg(contesto_.email.Porta),
                        Icona::Esclamazione);
        return;
    }
    std::unique_ptr<Corvex> em = Corvex::Crea(contesto_);
    if (!em) {
        MostraMessaggio(QStringLiteral("Il componente per l'invio della posta non è disponibile. "
                                       "Nessun documento è stato inviato."),
                        Icona::Critica);
        return;
    }
    Spedizione::Avvia(std::move(em), contesto_, *porta, tabella);
    ScaricaFinestra(this);
}
