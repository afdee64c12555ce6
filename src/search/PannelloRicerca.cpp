#include "search/PannelloRicerca.h"
#include "search/IstruzioniRicerca.h"

#include "archive/Archivio.h"
#include "archive/Recordset.h"
#include "common/Dialoghi.h"
#include "common/Testo.h"
#include "components/Finestre.h"

#include <QApplication>
#include <QCompleter>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QDateEdit* NuovoSelettoreData(const QString& nome, QWidget* genitore)
{
    auto* data = new QDateEdit(genitore);
    data->setObjectName(nome);
    data->setCalendarPopup(true);
    data->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    return data;
}

QLineEdit* NuovaCasella(const QString& nome, QWidget* genitore)
{
    auto* casella = new QLineEdit(genitore);
    casella->setObjectName(nome);
    return casella;
}

QLabel* NuovaEtichetta(const QString& testo, QWidget* campo, QWidget* genitore)
{
    auto* etichetta = new QLabel(testo, genitore);
    etichetta->setBuddy(campo);
    return etichetta;
}

// A failure of the archive while the panel prepares itself: the window stays
// usable and the user knows why the lists are empty.
void MostraErroreArchivio(const QString& archivio, const Errore& errore)
{
    MostraMessaggio(QStringLiteral("Impossibile leggere i tipi di documento dall'archivio ")
                        + archivio + QStringLiteral(":\n") + errore.testo(),
                    Icona::Critica);
}

// Swallows the mouse press now being delivered, whose focus change was just
// refused, so that the control under the pointer does not act on it (nor stay
// pressed, its release having gone to the message box). Gone by the next turn
// of the event loop whether or not a press came.
class PressioneIgnorata : public QObject
{
public:
    PressioneIgnorata()
    {
        qApp->installEventFilter(this);
        QTimer::singleShot(0, this, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject*, QEvent* evento) override
    {
        if (evento->type() != QEvent::MouseButtonPress)
            return false;
        deleteLater();
        qApp->removeEventFilter(this);
        return true;
    }
};

void IgnoraPressione()
{
    new PressioneIgnorata;
}

} // namespace

PannelloRicerca::PannelloRicerca(QWidget* finestra, const Contesto& contesto, const OpzioniPannello& opzioni)
    : QWidget(finestra), finestra_(finestra), contesto_(contesto), leggiEmail_(opzioni.leggiImpostazioniEmail)
{
    setObjectName(QStringLiteral("PannelloRicerca"));

    Frame1 = new QGroupBox(QStringLiteral("Tipo di ricerca"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    const QStringList testiOpzioni{QStringLiteral("Ricerca per data"),
                                   QStringLiteral("Ricerca Num. Documento"),
                                   QStringLiteral("Ricerca Cod.Cliente/fornitore"),
                                   QStringLiteral("Ricerca per casa rappresentata")};
    auto* layoutOpzioni = new QVBoxLayout(Frame1);
    const int numeroOpzioni = opzioni.opzioneCasaRappresentata ? 4 : 3;
    for (int i = 0; i < numeroOpzioni; ++i) {
        optRicerca[i] = new QRadioButton(testiOpzioni[i], Frame1);
        optRicerca[i]->setObjectName(QStringLiteral("optRicerca_%1").arg(i));
        layoutOpzioni->addWidget(optRicerca[i]);
        connect(optRicerca[i], &QRadioButton::clicked, this, [this, i] { optRicerca_Click(i); });
    }
    // No criterion belongs to this option: it is shown, never usable.
    if (optRicerca[3])
        optRicerca[3]->setEnabled(false);
    optRicerca[0]->setChecked(true);
    layoutOpzioni->addStretch();

    FraRicerca = new QGroupBox(QStringLiteral("Seleziona Periodo di ricerca"), this);
    FraRicerca->setObjectName(QStringLiteral("FraRicerca"));
    dtData = NuovoSelettoreData(QStringLiteral("dtData"), FraRicerca);
    dtDataFin = NuovoSelettoreData(QStringLiteral("dtDataFin"), FraRicerca);
    auto* layoutPeriodo = new QFormLayout(FraRicerca);
    layoutPeriodo->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layoutPeriodo->addRow(NuovaEtichetta(QStringLiteral("Data Iniziale : "), dtData, FraRicerca), dtData);
    layoutPeriodo->addRow(NuovaEtichetta(QStringLiteral("Data Finale : "), dtDataFin, FraRicerca),
                          dtDataFin);

    FraTipo = new QGroupBox(QStringLiteral("Altri parametri"), this);
    FraTipo->setObjectName(QStringLiteral("FraTipo"));
    txtAnno = NuovaCasella(QStringLiteral("txtAnno"), FraTipo);
    if (opzioni.lunghezzaAnno > 0)
        txtAnno->setMaxLength(opzioni.lunghezzaAnno);
    txtAnno->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 12);
    cmbTipo = new QComboBox(FraTipo);
    cmbTipo->setObjectName(QStringLiteral("cmbTipo"));
    cmbTipo->setEditable(true);
    cmbTipo->setInsertPolicy(QComboBox::NoInsert);
    cmbTipo->setEditText(QStringLiteral("Tutti"));
    // What is typed is what the search uses: "tutti" names a type of its
    // own, so neither completion nor Enter may turn it into "Tutti".
    cmbTipo->completer()->setCaseSensitivity(Qt::CaseSensitive);
    txtDoc = NuovaCasella(QStringLiteral("txtDoc"), FraTipo);
    txtCodice = NuovaCasella(QStringLiteral("txtCodice"), FraTipo);
    auto* layoutAltri = new QGridLayout(FraTipo);
    const auto aDestra = Qt::AlignRight | Qt::AlignVCenter;
    layoutAltri->addWidget(NuovaEtichetta(QStringLiteral("Anno Doc. : "), txtAnno, FraTipo), 0, 0, aDestra);
    layoutAltri->addWidget(txtAnno, 0, 1);
    layoutAltri->addWidget(NuovaEtichetta(opzioni.etichettaTipo, cmbTipo, FraTipo), 0, 2, aDestra);
    layoutAltri->addWidget(cmbTipo, 0, 3);
    layoutAltri->addWidget(NuovaEtichetta(QStringLiteral("Num. Documento :    "), txtDoc, FraTipo), 1, 0,
                           aDestra);
    layoutAltri->addWidget(txtDoc, 1, 1);
    layoutAltri->addWidget(NuovaEtichetta(QStringLiteral("Cod. Cliente / Fornitore :"), txtCodice, FraTipo),
                           1, 2, aDestra);
    layoutAltri->addWidget(txtCodice, 1, 3);
    layoutAltri->setColumnStretch(1, 1);
    layoutAltri->setColumnStretch(3, 1);

    cmdCerca = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                               QStringLiteral("&Cerca"), this);
    cmdCerca->setObjectName(QStringLiteral("cmdCerca"));
    cmdAnnulla = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), opzioni.testoChiudi,
                                 this);
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    connect(cmdCerca, &QPushButton::clicked, this, &PannelloRicerca::cmdCerca_Click);
    connect(cmdAnnulla, &QPushButton::clicked, this, [this] {
        if (AnnoAccettato())
            ScaricaFinestra(finestra_);
    });

    auto* alto = new QHBoxLayout;
    alto->addWidget(Frame1);
    alto->addWidget(FraRicerca, 1);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(cmdCerca);
    pulsanti->addWidget(cmdAnnulla);
    areaAggiuntiva_ = new QVBoxLayout;
    auto* principale = new QVBoxLayout(this);
    principale->setContentsMargins(0, 0, 0, 0);
    principale->addLayout(alto);
    principale->addWidget(FraTipo);
    principale->addLayout(areaAggiuntiva_);
    principale->addStretch();
    principale->addLayout(pulsanti);

    txtAnno->installEventFilter(this);
    cmdCerca->installEventFilter(this);
    cmdAnnulla->installEventFilter(this);
    finestra_->installEventFilter(this);
}

bool PannelloRicerca::Carica()
{
    contesto_ = LeggiContesto(contesto_, leggiEmail_);
    if (!QFileInfo(contesto_.strDatabase).isFile()) {
        MostraMessaggio(MessaggioImpostazioniAssenti, Icona::Critica, Pulsanti::Ok, TitoloSelezionaDocumenti);
        impostazioniAssenti_ = true;
        return false;
    }
    // An archive that cannot be read says so once; the type list stays empty.
    if (ImpostaModoIniziale())
        CaricaCmbTipo();
    const QDate oggi = contesto_.adesso().date();
    dtData->setDate(oggi);
    dtDataFin->setDate(oggi);
    txtAnno->setText(QString::number(oggi.year()).rightJustified(4, QLatin1Char('0')));
    impostazioniAssenti_ = false;
    return true;
}

void PannelloRicerca::ImpostaRicerca(ModoRicerca modo)
{
    switch (modo) {
    case ModoRicerca::Periodo:
    case ModoRicerca::CodiceEPeriodo:
        dtData->setEnabled(true);
        dtDataFin->setEnabled(true);
        AbilitaCasella(txtDoc, false);
        txtAnno->setEnabled(false);
        AbilitaCasella(txtCodice, modo == ModoRicerca::CodiceEPeriodo);
        break;
    case ModoRicerca::NumeroEAnno:
        dtData->setEnabled(false);
        dtDataFin->setEnabled(false);
        AbilitaCasella(txtDoc, true);
        txtAnno->setEnabled(true);
        AbilitaCasella(txtCodice, false);
        break;
    case ModoRicerca::PeriodoSenzaTipi:
        optRicerca[1]->setEnabled(false);
        optRicerca[2]->setEnabled(false);
        AbilitaCasella(txtDoc, false);
        txtAnno->setEnabled(false);
        AbilitaCasella(txtCodice, false);
        break;
    default:
        return;
    }
    modo_ = modo;
}

bool PannelloRicerca::ImpostaModoIniziale()
{
    Recordset tipi;
    const Errore errore = tipi.ApriSql(StringaConnessione(contesto_.strDatabase), IstruzioneTipi);
    if (errore.presente()) {
        MostraErroreArchivio(contesto_.strDatabase, errore);
        ImpostaRicerca(ModoRicerca::Periodo);
        return false;
    }
    ModoRicerca modo = ModoRicerca::PeriodoSenzaTipi;
    while (!tipi.FineFile()) {
        const QVariant tipo = tipi.Valore(QStringLiteral("Tipo"));
        if (!tipo.isNull() && !tipo.toString().isEmpty()) {
            modo = ModoRicerca::Periodo;
            break;
        }
        // A walk cut short proves nothing about the types: said, not taken as none.
        if (const Errore erroreRiga = tipi.MoveNext(); erroreRiga.presente()) {
            MostraErroreArchivio(contesto_.strDatabase, erroreRiga);
            ImpostaRicerca(ModoRicerca::Periodo);
            return false;
        }
    }
    tipi.Chiudi();
    ImpostaRicerca(modo);
    return true;
}

void PannelloRicerca::CaricaCmbTipo()
{
    Recordset tipi;
    const Errore errore = tipi.ApriSql(StringaConnessione(contesto_.strDatabase), IstruzioneTipi);
    if (errore.presente()) {
        MostraErroreArchivio(contesto_.strDatabase, errore);
        return;
    }
    if (!tipi.FineFile())
        cmbTipo->addItem(QStringLiteral("Tutti"));
    while (!tipi.FineFile()) {
        const QVariant tipo = tipi.Valore(QStringLiteral("Tipo"));
        if (!tipo.isNull())
            cmbTipo->addItem(tipo.toString());
        const Errore erroreRiga = tipi.MoveNext();
        if (erroreRiga.presente()) {
            MostraErroreArchivio(contesto_.strDatabase, erroreRiga);
            break;
        }
    }
    tipi.Chiudi();
    cmbTipo->setEditText(QStringLiteral("Tutti"));
}

CriteriRicerca PannelloRicerca::Criteri() const
{
    return {dtData->date(), dtDataFin->date(), cmbTipo->currentText(), txtAnno->text(), txtDoc->text(),
            txtCodice->text()};
}

bool PannelloRicerca::AnnoValido() const
{
    return CriteriRicerca::AnnoValido(txtAnno->text());
}

bool PannelloRicerca::ConvalidaAnno()
{
    if (AnnoValido())
        return true;
    convalidaInCorso_ = true;
    const auto trattieni = [this] {
        txtAnno->setFocus(Qt::OtherFocusReason);
        txtAnno->setSelection(0, int(txtAnno->text().size()));
    };
    trattieni();
    MostraMessaggio(QStringLiteral("Anno documento non valido"), Icona::Nessuna);
    // The message box took the focus while it was open.
    trattieni();
    convalidaInCorso_ = false;
    return false;
}

bool PannelloRicerca::AnnoAccettato()
{
    // A press that moved no focus (a screen reader's, a program's) meets the
    // check here; presses that try to leave the field met it on the way out
    // and never get this far.
    return !txtAnno->isEnabled() || ConvalidaAnno();
}

void PannelloRicerca::AbilitaCasella(QLineEdit* casella, bool abilitata)
{
    casella->setEnabled(abilitata);
    QPalette tavolozza = casella->palette();
    tavolozza.setColor(QPalette::Base, abilitata ? QColor(255, 255, 255)
                                                 : finestra_->palette().color(QPalette::Window));
    casella->setPalette(tavolozza);
}

void PannelloRicerca::optRicerca_Click(int indice)
{
    if (indice >= 0 && indice <= 2)
        ImpostaRicerca(ModoRicerca(indice + 1));
}

void PannelloRicerca::cmdCerca_Click()
{
    if (AnnoAccettato())
        emit Cerca();
}

bool PannelloRicerca::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (oggetto == finestra_ && evento->type() == QEvent::Show && !giaMostrata_) {
        giaMostrata_ = true;
        // Once it is up, and only then: a window without its archive closes
        // as soon as it comes up.
        QTimer::singleShot(0, finestra_, [this] {
            if (impostazioniAssenti_)
                ScaricaFinestra(finestra_);
        });
    } else if ((oggetto == cmdCerca || oggetto == cmdAnnulla) && evento->type() == QEvent::Shortcut) {
        // A mnemonic would first try to leave the field, then press: one
        // refusal, one message, no press.
        if (!AnnoAccettato())
            return true;
    } else if (oggetto == txtAnno && evento->type() == QEvent::FocusOut && !convalidaInCorso_) {
        const auto motivo = static_cast<QFocusEvent*>(evento)->reason();
        QWidget* verso = QApplication::focusWidget();
        // Only a move to another control of this window leaves the field:
        // not a switch to another window, an opened list or a click on the
        // window's own frame.
        const bool lascia = motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason
            && verso && finestra_->isAncestorOf(verso);
        // A refused year keeps the field as if it had never been left, its
        // text selected for retyping, and the click that tried to leave it
        // does nothing.
        if (lascia && txtAnno->isEnabled() && !ConvalidaAnno()) {
            if (motivo == Qt::MouseFocusReason)
                IgnoraPressione();
            return true;
        }
    }
    return QWidget::eventFilter(oggetto, evento);
}
