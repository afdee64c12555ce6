#include "search/frmRicercaTesto.h"

#include "archive/Archivio.h"
#include "archive/Recordset.h"
#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"
#include "common/Testo.h"
#include "indice/Parole.h"
#include "search/IstruzioniRicerca.h"
#include "shell/ApriStampaFile.h"

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTextDocument>

namespace {

enum Colonna { Data, Tipo, Numero, Codice, Estratto };
// The row's document in the archive, and its file.
constexpr int ruoloId = Qt::UserRole;
constexpr int ruoloStampa = Qt::UserRole + 1;
// The piece of text with the words found in bold.
constexpr int ruoloEvidenziato = Qt::UserRole + 2;

// Draws the piece of text with the words found in bold; what assistive
// technology reads is the same text, plain.
class EstrattoEvidenziato : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pittore, const QStyleOptionViewItem& opzione, const QModelIndex& indice) const override
    {
        const QString html = indice.data(ruoloEvidenziato).toString();
        if (html.isEmpty())
            return QStyledItemDelegate::paint(pittore, opzione, indice);
        QStyleOptionViewItem sfondo = opzione;
        initStyleOption(&sfondo, indice);
        sfondo.text.clear();
        sfondo.widget->style()->drawControl(QStyle::CE_ItemViewItem, &sfondo, pittore, sfondo.widget);
        QTextDocument documento;
        documento.setDefaultFont(opzione.font);
        documento.setDocumentMargin(2);
        documento.setHtml(html);
        QAbstractTextDocumentLayout::PaintContext contesto;
        contesto.palette.setColor(QPalette::Text, opzione.palette.color(
            opzione.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        pittore->save();
        pittore->translate(opzione.rect.topLeft());
        pittore->setClipRect(opzione.rect.translated(-opzione.rect.topLeft()));
        documento.documentLayout()->draw(pittore, contesto);
        pittore->restore();
    }
};

QDateEdit* selettoreData(const QString& nome, QWidget* genitore)
{
    auto* data = new QDateEdit(genitore);
    data->setObjectName(nome);
    data->setCalendarPopup(true);
    data->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    data->setEnabled(false);
    return data;
}

} // namespace

frmRicercaTesto::frmRicercaTesto(const Contesto& contesto, QWidget* parent) : QWidget(parent), contesto_(contesto)
{
    setObjectName(QStringLiteral("frmRicercaTesto"));
    setWindowTitle(QStringLiteral("Ricerca nel testo dei documenti"));

    txtParole = new QLineEdit(this);
    txtParole->setObjectName(QStringLiteral("txtParole"));
    txtParole->setToolTip(QStringLiteral("Tutte le parole devono comparire nel documento; maiuscole e accenti non "
                                         "contano. parola* cerca l'inizio di una parola, \"tra virgolette\" una frase."));
    cmbTipo = new QComboBox(this);
    cmbTipo->setObjectName(QStringLiteral("cmbTipo"));
    chkPeriodo = new QCheckBox(QStringLiteral("Solo nel &periodo dal"), this);
    chkPeriodo->setObjectName(QStringLiteral("chkPeriodo"));
    dtDal = selettoreData(QStringLiteral("dtDal"), this);
    dtAl = selettoreData(QStringLiteral("dtAl"), this);
    const QDate oggi = contesto_.adesso().date();
    dtDal->setDate(QDate(oggi.year(), 1, 1));
    dtAl->setDate(oggi);
    cmdCerca = new QPushButton(QStringLiteral("&Cerca"), this);
    cmdCerca->setObjectName(QStringLiteral("cmdCerca"));
    cmdCerca->setDefault(true);
    lblTrovati = new QLabel(this);
    lblTrovati->setObjectName(QStringLiteral("lblTrovati"));

    lstDocumenti = new QTableWidget(0, 5, this);
    lstDocumenti->setObjectName(QStringLiteral("lstDocumenti"));
    lstDocumenti->setHorizontalHeaderLabels({QStringLiteral("Data"), QStringLiteral("Tipo"), QStringLiteral("Numero"),
                                             QStringLiteral("Codice"), QStringLiteral("Testo")});
    lstDocumenti->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstDocumenti->setSelectionMode(QAbstractItemView::SingleSelection);
    lstDocumenti->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstDocumenti->verticalHeader()->hide();
    lstDocumenti->horizontalHeader()->setStretchLastSection(true);
    lstDocumenti->setItemDelegateForColumn(Estratto, new EstrattoEvidenziato(lstDocumenti));
    lstDocumenti->installEventFilter(this);

    auto* etichettaParole = new QLabel(QStringLiteral("&Parole da cercare:"), this);
    etichettaParole->setBuddy(txtParole);
    auto* etichettaTipo = new QLabel(QStringLiteral("&Tipo documento:"), this);
    etichettaTipo->setBuddy(cmbTipo);
    auto* etichettaAl = new QLabel(QStringLiteral("&al"), this);
    etichettaAl->setBuddy(dtAl);
    auto* griglia = new QGridLayout(this);
    griglia->addWidget(etichettaParole, 0, 0);
    griglia->addWidget(txtParole, 0, 1, 1, 4);
    griglia->addWidget(cmdCerca, 0, 5);
    griglia->addWidget(etichettaTipo, 1, 0);
    griglia->addWidget(cmbTipo, 1, 1);
    griglia->addWidget(chkPeriodo, 1, 2);
    griglia->addWidget(dtDal, 1, 3);
    griglia->addWidget(etichettaAl, 1, 4);
    griglia->addWidget(dtAl, 1, 5);
    griglia->addWidget(lstDocumenti, 2, 0, 1, 6);
    griglia->addWidget(lblTrovati, 3, 0, 1, 6);
    resize(760, 480);

    connect(chkPeriodo, &QCheckBox::toggled, dtDal, &QWidget::setEnabled);
    connect(chkPeriodo, &QCheckBox::toggled, dtAl, &QWidget::setEnabled);
    connect(cmdCerca, &QPushButton::clicked, this, &frmRicercaTesto::cmdCerca_Click);
    connect(txtParole, &QLineEdit::returnPressed, this, &frmRicercaTesto::cmdCerca_Click);
    connect(lstDocumenti, &QTableWidget::cellDoubleClicked, this, [this](int riga, int) { ApriDocumento(riga); });
    connect(lstDocumenti->verticalScrollBar(), &QScrollBar::valueChanged, this, &frmRicercaTesto::CompletaEstratti);
    CaricaTipi();
}

void frmRicercaTesto::CaricaTipi()
{
    contesto_ = LeggiContesto(contesto_, false);
    cmbTipo->addItem(QStringLiteral("Tutti"));
    Recordset tipi;
    if (!QFileInfo(contesto_.strDatabase).isFile()
        || tipi.ApriSql(StringaConnessione(contesto_.strDatabase), IstruzioneTipi).presente())
        return; // the search itself tells what is wrong
    for (; !tipi.FineFile(); tipi.MoveNext())
        if (const QString tipo = TestoDelCampo(tipi.Valore(0)); !tipo.isEmpty())
            cmbTipo->addItem(tipo);
}

void frmRicercaTesto::cmdCerca_Click()
{
    contesto_ = LeggiContesto(contesto_, false);
    if (!QFileInfo(contesto_.strDatabase).isFile()) {
        MostraMessaggio(MessaggioImpostazioniAssenti, Icona::Critica, Pulsanti::Ok, windowTitle());
        return;
    }
    const auto frasi = LeggiRicerca(txtParole->text());
    if (!frasi) {
        MostraMessaggio(frasi.errore().descrizione, Icona::Esclamazione, Pulsanti::Ok, windowTitle());
        txtParole->setFocus();
        return;
    }
    frasi_ = *frasi;
    CriteriRicerca criteri{dtDal->date(), dtAl->date(), cmbTipo->currentText(), {}, {}, {}};
    if (!chkPeriodo->isChecked()) {
        criteri.dataIniziale = QDate(1, 1, 1);
        criteri.dataFinale = QDate(9999, 12, 31);
    }
    QList<DocumentoTrovato> trovati;
    const Errore errore = archivio_.Cerca(contesto_.strDatabase, frasi_, ModoRicerca::Periodo, criteri,
                                          [&trovati](const DocumentoTrovato& d) { trovati.append(d); });
    lstDocumenti->setRowCount(0);
    if (errore.presente()) {
        lblTrovati->clear();
        MostraMessaggio(errore.testo(), Icona::Critica, Pulsanti::Ok, windowTitle());
        return;
    }
    lstDocumenti->setRowCount(int(trovati.size()));
    for (int riga = 0; riga < trovati.size(); ++riga) {
        const DocumentoTrovato& d = trovati[riga];
        const QString valori[] = {d.data.toString(QStringLiteral("dd/MM/yyyy")), d.tipo, d.numero, d.codice, {}};
        for (int colonna = Data; colonna <= Estratto; ++colonna)
            lstDocumenti->setItem(riga, colonna, new QTableWidgetItem(valori[colonna]));
        lstDocumenti->item(riga, Data)->setData(ruoloId, d.id);
        lstDocumenti->item(riga, Data)->setData(ruoloStampa, d.stampa);
    }
    lblTrovati->setText(trovati.isEmpty() ? QStringLiteral("Nessun documento trovato.")
                                          : QStringLiteral("Documenti trovati: %1").arg(trovati.size()));
    lstDocumenti->resizeColumnsToContents();
    lstDocumenti->horizontalHeader()->setStretchLastSection(true);
    if (!trovati.isEmpty()) {
        lstDocumenti->selectRow(0);
        lstDocumenti->setFocus();
    }
    CompletaEstratti();
}

void frmRicercaTesto::CompletaEstratti()
{
    // The rows in sight, and as many again below, read in one go.
    const int prima = std::max(0, lstDocumenti->rowAt(0));
    const int quante = std::max(30, 2 * (lstDocumenti->viewport()->height() / std::max(1, lstDocumenti->rowHeight(0))));
    QHash<qint64, int> righe;
    for (int riga = prima; riga < std::min(lstDocumenti->rowCount(), prima + quante); ++riga)
        if (lstDocumenti->item(riga, Estratto)->text().isEmpty())
            righe.insert(lstDocumenti->item(riga, Data)->data(ruoloId).toLongLong(), riga);
    archivio_.Testi(contesto_.strDatabase, righe.keys(), [&](qint64 id, const QString& testo) {
        QString semplice;
        QString html;
        for (const PezzoEstratto& pezzo : EstrattoTesto(testo, frasi_)) {
            semplice += pezzo.testo;
            html += pezzo.trovato ? QStringLiteral("<b>%1</b>").arg(pezzo.testo.toHtmlEscaped()) : pezzo.testo.toHtmlEscaped();
        }
        QTableWidgetItem* voce = lstDocumenti->item(righe.value(id), Estratto);
        voce->setText(semplice);
        voce->setData(ruoloEvidenziato, html);
    });
}

bool frmRicercaTesto::eventFilter(QObject* oggetto, QEvent* evento)
{
    if (oggetto == lstDocumenti && evento->type() == QEvent::KeyPress) {
        const int tasto = static_cast<QKeyEvent*>(evento)->key();
        if ((tasto == Qt::Key_Return || tasto == Qt::Key_Enter) && lstDocumenti->currentRow() >= 0) {
            ApriDocumento(lstDocumenti->currentRow());
            return true;
        }
    }
    return QWidget::eventFilter(oggetto, evento);
}

void frmRicercaTesto::ApriDocumento(int riga)
{
    const QString stampa = lstDocumenti->item(riga, Data)->data(ruoloStampa).toString();
    const QString esito = ApriStampaFile(UnisciPercorso(contesto_.strCartellaPDF, stampa), QStringLiteral("open"));
    if (!esito.isEmpty())
        MostraMessaggio(esito, Icona::Esclamazione);
}
