#include "search/frmRistampa.h"

#include "archive/Archivio.h"
#include "archive/Recordset.h"
#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"
#include "components/Tabulario.h"
#include "search/IstruzioniRicerca.h"
#include "search/PannelloRicerca.h"
#include "search/RicercaTabulario.h"
#include "search/SceltaStampante.h"
#include "search/StampaDocumenti.h"
#include "shell/ApriStampaFile.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

frmRistampa::frmRistampa(const Contesto& contesto, QWidget* parent)
    : QWidget(parent), pannello_(new PannelloRicerca(this, contesto)), ricerca_(new RicercaTabulario(this))
{
    setObjectName(QStringLiteral("frmRistampa"));
    setWindowTitle(QStringLiteral("Visualizza Documenti"));

    fraStampa = new QGroupBox(QStringLiteral("Stampa diretta"), this);
    fraStampa->setObjectName(QStringLiteral("fraStampa"));
    chkStampaScelto = new QCheckBox(QStringLiteral("Stampa il documento &scelto invece di aprirlo"), fraStampa);
    chkStampaScelto->setObjectName(QStringLiteral("chkStampaScelto"));
    cmdStampaTutti = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                     QStringLiteral("Stampa &tutti i documenti trovati..."), fraStampa);
    cmdStampaTutti->setObjectName(QStringLiteral("cmdStampaTutti"));
    auto* rigaStampa = new QHBoxLayout(fraStampa);
    rigaStampa->addWidget(chkStampaScelto, 1);
    rigaStampa->addWidget(cmdStampaTutti);
    pannello_->AreaAggiuntiva()->addWidget(fraStampa);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pannello_);

    connect(pannello_, &PannelloRicerca::Cerca, this, &frmRistampa::cmdCerca_Click);
    connect(cmdStampaTutti, &QPushButton::clicked, this, &frmRistampa::cmdStampaTutti_Click);
    connect(ricerca_, &RicercaTabulario::Valore, this, &frmRistampa::Valore);
    connect(ricerca_, &RicercaTabulario::DocumentoScelto, this, &frmRistampa::ApriDocumento);
    pannello_->Carica();
}

bool frmRistampa::RichiamoExt() const
{
    return ricerca_->RichiamoExt;
}

void frmRistampa::setRichiamoExt(bool valore)
{
    ricerca_->RichiamoExt = valore;
}

Tabulario* frmRistampa::Trova() const
{
    return ricerca_->Trova();
}

void frmRistampa::cmdCerca_Click()
{
    const QString istruzione = IstruzioneDocumenti(pannello_->Modo(), pannello_->Criteri(), false);
    if (stampaTutti_)
        StampaTrovati(istruzione);
    else
        ricerca_->Avvia(pannello_->contesto().strDatabase, istruzione);
}

// The criteria are checked as for "Cerca"; only what follows differs.
void frmRistampa::cmdStampaTutti_Click()
{
    stampaTutti_ = true;
    pannello_->cmdCerca->click();
    stampaTutti_ = false;
}

void frmRistampa::StampaTrovati(const QString& istruzione)
{
    QStringList nomi;
    Recordset righe;
    Errore errore = righe.ApriSql(StringaConnessione(pannello_->contesto().strDatabase), istruzione);
    while (!errore.presente() && !righe.FineFile()) {
        nomi.append(righe.Valore(QStringLiteral("Stampa")).toString());
        errore = righe.MoveNext();
    }
    if (errore.presente()) {
        MostraErroreRicerca(errore);
        return;
    }
    if (nomi.isEmpty()) {
        MostraMessaggio(QStringLiteral("Non ci sono documenti presenti relativamente ai parametri di ricerca "
                                       "formulati."),
                        Icona::Esclamazione);
        return;
    }
    if (MostraMessaggio(QStringLiteral("Stampare i %1 documenti trovati?").arg(nomi.size()), Icona::Domanda,
                        Pulsanti::SiNo)
        == Risposta::Si)
        Stampa(nomi);
}

void frmRistampa::Stampa(const QStringList& nomi)
{
    const SceltaStampante::Scelta scelta = SceltaStampanteAttuale::Attuale().Scegli(this);
    if (scelta.stampante.isEmpty())
        return;
    QProgressDialog avanzamento(QStringLiteral("Invio dei documenti alla stampante %1...").arg(scelta.stampante),
                                QStringLiteral("Annulla"), 0, int(nomi.size()), this);
    avanzamento.setObjectName(QStringLiteral("prgStampa"));
    avanzamento.setWindowTitle(TitoloApplicazione);
    avanzamento.setWindowModality(Qt::WindowModal);
    avanzamento.setMinimumDuration(nomi.size() > 1 ? 0 : 1000);
    const QList<EsitoStampa> esiti =
        StampaDocumenti(pannello_->contesto(), nomi, scelta.stampante, scelta.copie, [&avanzamento](int fatti, int) {
            avanzamento.setValue(fatti);
            return !avanzamento.wasCanceled();
        });
    avanzamento.reset();
    const bool tutti = esiti.size() == nomi.size()
        && std::all_of(esiti.begin(), esiti.end(), [](const EsitoStampa& e) { return e.errore.isEmpty(); });
    MostraMessaggio(RiepilogoStampa(esiti, nomi.size(), scelta.stampante),
                    tutti ? Icona::Informazione : Icona::Esclamazione);
}

void frmRistampa::ApriDocumento(const QString& strStampa)
{
    if (chkStampaScelto->isChecked()) {
        Stampa({strStampa});
        return;
    }
    // Telling why nothing opened saves a call to the office's support.
    const QString esito = ApriStampaFile(UnisciPercorso(pannello_->contesto().strCartellaPDF, strStampa),
                                         QStringLiteral("open"));
    if (!esito.isEmpty())
        MostraMessaggio(esito, Icona::Esclamazione);
}
