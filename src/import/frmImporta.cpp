#include "import/frmImporta.h"

#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"
#include "components/Finestre.h"
#include "import/cImporta.h"
#include "indice/IndicizzazioneInSottofondo.h"
#include "settings/Impostazioni.h"
#include "shell/SelezionaCartella.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

namespace {

template <typename T>
T* controllo(QWidget* genitore, const QString& nome, int sinistra, int alto, int larghezza,
             int altezza)
{
    auto* c = new T(genitore);
    c->setObjectName(nome);
    c->setGeometry(Twip(sinistra), Twip(alto), Twip(larghezza), Twip(altezza));
    return c;
}

QPushButton* pulsante(QWidget* genitore, const QString& nome, const QString& testo, int sinistra,
                      int alto, int larghezza, int altezza)
{
    auto* p = controllo<QPushButton>(genitore, nome, sinistra, alto, larghezza, altezza);
    p->setText(testo);
    return p;
}

} // namespace

frmImporta::frmImporta(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmImporta"));
    setWindowTitle(QStringLiteral("Importa Documenti"));
    // The forms were drawn for MS Sans Serif; where it is missing, a face of
    // similar width keeps the captions within their places.
    QFont carattere(QStringLiteral("MS Sans Serif"), 8);
    carattere.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                           QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                           QStringLiteral("Nimbus Sans")});
    setFont(carattere);
    setFixedSize(Twip(7215), Twip(3255));

    fraImposta = controllo<QGroupBox>(this, QStringLiteral("fraImposta"), 120, 120, 6975, 2010);
    fraImposta->setTitle(QStringLiteral("Cartella documenti PDF su server"));

    const QString didascalie[3] = {QStringLiteral("Percorso Cartella documenti :"),
                                   QStringLiteral("Percorso Cartella Database :"),
                                   QStringLiteral("Nome Database :")};
    const int alti[3] = {480, 960, 1440};
    for (int i = 0; i < 3; ++i) {
        Label2[i] = controllo<QLabel>(fraImposta, QStringLiteral("Label2_%1").arg(i), 120, alti[i],
                                      2175, 285);
        Label2[i]->setText(didascalie[i]);
    }
    txtPercorsoCartella = controllo<QLineEdit>(fraImposta, QStringLiteral("txtPercorsoCartella"),
                                               2400, 480, 3135, 285);
    cmdPercorsoCartella = pulsante(fraImposta, QStringLiteral("cmdPercorsoCartella"),
                                   QStringLiteral("S&foglia"), 5760, 435, 975, 375);
    txtDatabase = controllo<QLineEdit>(fraImposta, QStringLiteral("txtDatabase"), 2400, 960, 3135,
                                       285);
    cmdPercorsoDatabase = pulsante(fraImposta, QStringLiteral("cmdPercorsoDatabase"),
                                   QStringLiteral("Sf&oglia"), 5760, 915, 975, 375);
    // The archive keeps this name everywhere else in the program.
    txtBaseDati = controllo<QLineEdit>(fraImposta, QStringLiteral("txtBaseDati"), 2400, 1440, 3135,
                                       285);
    txtBaseDati->setText(QStringLiteral("dati.mdb"));
    Label2[0]->setBuddy(txtPercorsoCartella);
    Label2[1]->setBuddy(txtDatabase);
    Label2[2]->setBuddy(txtBaseDati);

    cmdOK = pulsante(this, QStringLiteral("cmdOK"), QStringLiteral("&Importa"), 2925, 2280, 1335, 375);
    cmdAnnulla = pulsante(this, QStringLiteral("cmdAnnulla"), QStringLiteral("&Annulla"), 4455, 2280,
                          1095, 375);
    prgAvanzamento = controllo<QProgressBar>(this, QStringLiteral("prgAvanzamento"), 120, 2790,
                                             6975, 285);
    prgAvanzamento->setRange(0, 1);
    prgAvanzamento->setValue(0);
    prgAvanzamento->setFormat(QStringLiteral("%v di %m file"));
    prgAvanzamento->setTextVisible(false); // until a run tells how many files there are
    prgAvanzamento->setAccessibleName(QStringLiteral("File esaminati"));

    connect(cmdOK, &QPushButton::clicked, this, &frmImporta::cmdOK_Click);
    connect(cmdAnnulla, &QPushButton::clicked, this, &frmImporta::cmdAnnulla_Click);
    connect(cmdPercorsoCartella, &QPushButton::clicked, this, &frmImporta::cmdPercorsoCartella_Click);
    connect(cmdPercorsoDatabase, &QPushButton::clicked, this, &frmImporta::cmdPercorsoDatabase_Click);

    Form_Load();
}

frmImporta::~frmImporta() = default;

void frmImporta::Form_Load()
{
    if (EsisteVelmiraIni()) {
        txtPercorsoCartella->setText(LeggiIni(QStringLiteral("Percorsi"), QStringLiteral("CartellaPDF")));
        txtDatabase->setText(LeggiIni(QStringLiteral("Percorsi"), QStringLiteral("DataBase")));
    }
}

QStringList frmImporta::PercorsiImportazione() const
{
    return {txtPercorsoCartella->text(), UnisciPercorso(txtDatabase->text(), txtBaseDati->text()),
            UnisciPercorso(txtDatabase->text(), QStringLiteral("spooling.ini"))};
}

void frmImporta::cmdOK_Click()
{
    if (inEsecuzione_)
        return;
    const QStringList percorsi = PercorsiImportazione();
    // The run outlives the window: closed meanwhile, the window goes at once
    // and the list is still shown when the run has ended.
    auto* importazione = new cImporta(QCoreApplication::instance());
    objImporta = importazione;
    importazione->CartellaPDF(percorsi[0]);
    importazione->Database(percorsi[1]);
    importazione->FileIni(percorsi[2]);
    connect(importazione, &cImporta::Avanzamento, this, [this](qsizetype esaminati, qsizetype totale) {
        prgAvanzamento->setTextVisible(true);
        prgAvanzamento->setRange(0, int(qMax<qsizetype>(totale, 1)));
        prgAvanzamento->setValue(int(esaminati));
    });
    connect(importazione, &cImporta::Terminata, this, [this] { ImpostaInEsecuzione(false); });
    connect(importazione, &cImporta::Terminata, importazione, [importazione, percorsi, finestra = QPointer(this)] {
        // The new documents' text goes into the index meanwhile, the status bar telling how far.
        if (importazione->Esito() != EsitoImportazione::NonAvviata)
            IndicizzazioneInSottofondo::Istanza().Avvia({percorsi[1], percorsi[0]});
        if (!importazione->PuliziaNonEseguita().isEmpty())
            MostraMessaggio(importazione->PuliziaNonEseguita(), Icona::Esclamazione);
        importazione->VisualizzaRisultato();
        importazione->deleteLater();
        if (finestra)
            ScaricaFinestra(finestra);
    });

    ImpostaInEsecuzione(true);
    importazione->AvviaInSottofondo();
}

void frmImporta::cmdAnnulla_Click()
{
    if (MostraMessaggio(QStringLiteral("Annullare l'operazione?"), Icona::Domanda, Pulsanti::SiNo)
        == Risposta::Si)
        ScaricaFinestra(this);
}

void frmImporta::closeEvent(QCloseEvent* evento)
{
    // Closing the window while a run is under way stops the run at its next
    // file; the window goes now, and the run's list follows at its end.
    if (inEsecuzione_) {
        if (objImporta)
            objImporta->AnnullaProcedura(true);
        setAttribute(Qt::WA_DeleteOnClose);
    }
    QWidget::closeEvent(evento);
}

void frmImporta::cmdPercorsoCartella_Click()
{
    SfogliaCartella(this, txtPercorsoCartella, RichiestaCartellaPdf);
}

void frmImporta::cmdPercorsoDatabase_Click()
{
    SfogliaCartella(this, txtDatabase, RichiestaCartellaDatabase);
}

void frmImporta::ImpostaInEsecuzione(bool inEsecuzione)
{
    inEsecuzione_ = inEsecuzione;
    cmdOK->setEnabled(!inEsecuzione);
    cmdPercorsoCartella->setEnabled(!inEsecuzione);
    cmdPercorsoDatabase->setEnabled(!inEsecuzione);
}
