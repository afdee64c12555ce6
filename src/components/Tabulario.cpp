#include "components/Tabulario.h"

#include "common/Errore.h"
#include "common/Dialoghi.h"
#include "components/TabularioModello.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// Enough rows to fill the list at once; the rest follow in larger blocks
// between two user events.
constexpr int PrimeRighe = 200;
constexpr int RighePerLettura = 2000;
}

Tabulario::Tabulario(QWidget* genitore)
    : QDialog(genitore),
      modello_(new TabularioModello(this)),
      filtro_(new QSortFilterProxyModel(this)),
      txtFiltro_(new QLineEdit(this)),
      tabella_(new QTableView(this)),
      lblConteggio_(new QLabel(this)),
      lettura_(new QTimer(this))
{
    setObjectName(QStringLiteral("Tabulario"));
    setWindowModality(Qt::ApplicationModal);
    resize(760, 480);

    filtro_->setSourceModel(modello_);
    filtro_->setSortRole(TabularioModello::RuoloValore);
    filtro_->setFilterKeyColumn(-1);
    filtro_->setFilterCaseSensitivity(Qt::CaseInsensitive);

    txtFiltro_->setObjectName(QStringLiteral("txtFiltro"));
    txtFiltro_->setClearButtonEnabled(true);
    txtFiltro_->setPlaceholderText(QStringLiteral("testo contenuto in una qualsiasi colonna"));
    auto* lblFiltro = new QLabel(QStringLiteral("&Filtra :"), this);
    lblFiltro->setBuddy(txtFiltro_);

    tabella_->setObjectName(QStringLiteral("tabRighe"));
    tabella_->setModel(filtro_);
    tabella_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabella_->setSelectionMode(QAbstractItemView::SingleSelection);
    tabella_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabella_->setAlternatingRowColors(true);
    tabella_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tabella_->horizontalHeader()->setStretchLastSection(true);
    // The rows first come in the statement's own order; a header click sorts.
    tabella_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tabella_->setSortingEnabled(true);
    lblConteggio_->setObjectName(QStringLiteral("lblConteggio"));

    auto* pulsanti = new QDialogButtonBox(this);
    auto* cmdScegli = pulsanti->addButton(QStringLiteral("&Seleziona"), QDialogButtonBox::AcceptRole);
    cmdScegli->setObjectName(QStringLiteral("cmdSeleziona"));
    cmdScegli->setDefault(true);
    pulsanti->addButton(QStringLiteral("&Annulla"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cmdAnnullaScelta"));

    auto* rigaFiltro = new QHBoxLayout;
    rigaFiltro->addWidget(lblFiltro);
    rigaFiltro->addWidget(txtFiltro_, 1);
    auto* piede = new QHBoxLayout;
    piede->addWidget(lblConteggio_, 1);
    piede->addWidget(pulsanti);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rigaFiltro);
    layout->addWidget(tabella_, 1);
    layout->addLayout(piede);

    connect(txtFiltro_, &QLineEdit::textChanged, this, &Tabulario::Filtra);
    connect(filtro_, &QAbstractItemModel::rowsInserted, this, &Tabulario::AggiornaConteggio);
    connect(filtro_, &QAbstractItemModel::rowsRemoved, this, &Tabulario::AggiornaConteggio);
    connect(filtro_, &QAbstractItemModel::layoutChanged, this, &Tabulario::AggiornaConteggio);
    connect(filtro_, &QAbstractItemModel::modelReset, this, &Tabulario::AggiornaConteggio);
    connect(tabella_, &QTableView::doubleClicked, this, &Tabulario::ScegliCorrente);
    connect(pulsanti, &QDialogButtonBox::accepted, this, &Tabulario::ScegliCorrente);
    connect(pulsanti, &QDialogButtonBox::rejected, this, &Tabulario::reject);
    connect(modello_, &TabularioModello::ErroreLettura, this, MostraErroreRicerca);
    connect(lettura_, &QTimer::timeout, this, &Tabulario::LeggiAncora);
    txtFiltro_->installEventFilter(this);
}

Tabulario::~Tabulario() = default;

void Tabulario::Connessione(const QString& stringaConnessione)
{
    connessione_ = stringaConnessione;
}

void Tabulario::Sql(const QString& istruzione)
{
    istruzione_ = istruzione;
}

void Tabulario::Titolo(const QString& titolo)
{
    setWindowTitle(titolo);
}

void Tabulario::Mostra()
{
    const Errore errore = modello_->Apri(connessione_, istruzione_, PrimeRighe);
    if (errore.presente()) {
        MostraErroreRicerca(errore);
        Concludi({QString()});
        return;
    }
    tabella_->resizeColumnsToContents();
    // Wide enough for the first rows' columns, within reason.
    const int larghezza = tabella_->horizontalHeader()->length() + tabella_->verticalHeader()->width() + 60;
    resize(qBound(width(), larghezza, 1100), height());
    if (filtro_->rowCount() > 0)
        tabella_->selectRow(0);
    AggiornaConteggio();
    show();
    txtFiltro_->setFocus();
    if (!modello_->TutteLette())
        lettura_->start(0);
}

int Tabulario::RigheElencate() const
{
    return filtro_->rowCount();
}

QStringList Tabulario::RigaElencata(int riga) const
{
    return modello_->TestiRiga(filtro_->mapToSource(filtro_->index(riga, 0)).row());
}

void Tabulario::Scegli(int riga)
{
    if (riga < 0 || riga >= filtro_->rowCount())
        return;
    // The list goes first: what the window then does with the choice (a
    // message, say) must not appear behind it.
    const QStringList scelta = RigaElencata(riga);
    accept();
    Concludi(scelta);
}

void Tabulario::ScegliCorrente()
{
    const QModelIndex corrente = tabella_->currentIndex();
    if (corrente.isValid())
        Scegli(corrente.row());
}

void Tabulario::Filtra(const QString& testo)
{
    filtro_->setFilterFixedString(testo);
    // Enter after typing chooses the highlighted top row.
    if (!tabella_->currentIndex().isValid() && filtro_->rowCount() > 0)
        tabella_->selectRow(0);
}

void Tabulario::reject()
{
    QDialog::reject();
    Concludi({QString()});
}

void Tabulario::Concludi(const QStringList& valore)
{
    if (concluso_)
        return;
    concluso_ = true;
    lettura_->stop();
    modello_->Chiudi();
    emit ValoreDiRitorno(valore);
}

void Tabulario::LeggiAncora()
{
    if (!modello_->LeggiBlocco(RighePerLettura))
        lettura_->stop();
    AggiornaConteggio();
}

void Tabulario::AggiornaConteggio()
{
    QString testo = QStringLiteral("Righe elencate: %1").arg(filtro_->rowCount());
    if (!modello_->TutteLette())
        testo += QStringLiteral(" (lettura in corso...)");
    lblConteggio_->setText(testo);
}

void MostraErroreRicerca(const Errore& errore)
{
    MostraMessaggio(QStringLiteral("Impossibile eseguire la ricerca nell'archivio:\n") + errore.testo(),
                    Icona::Critica);
}

bool Tabulario::eventFilter(QObject* oggetto, QEvent* evento)
{
    // From the filter box the arrow keys go straight to the rows.
    if (oggetto == txtFiltro_ && evento->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent*>(evento)->key();
        if ((tasto == Qt::Key_Down || tasto == Qt::Key_Up) && filtro_->rowCount() > 0) {
            tabella_->setFocus();
            if (!tabella_->currentIndex().isValid())
                tabella_->selectRow(0);
            return true;
        }
    }
    return QDialog::eventFilter(oggetto, evento);
}
