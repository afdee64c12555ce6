#include "search/frmRistampa.h"

#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"
#include "search/IstruzioniRicerca.h"
#include "search/PannelloRicerca.h"
#include "search/RicercaTabulario.h"
#include "settings/Impostazioni.h"
#include "shell/ApriStampaFile.h"

#include <QVBoxLayout>

frmRistampa::frmRistampa(QWidget* parent)
    : QWidget(parent), pannello_(new PannelloRicerca(this)), ricerca_(new RicercaTabulario(this))
{
    setObjectName(QStringLiteral("frmRistampa"));
    setWindowTitle(QStringLiteral("Visualizza Documenti"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pannello_);

    connect(pannello_, &PannelloRicerca::Cerca, this, &frmRistampa::cmdCerca_Click);
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
    ricerca_->Avvia(IstruzioneDocumenti(pannello_->intModoRicerca(), pannello_->Criteri(), false));
}

void frmRistampa::ApriDocumento(const QString& strStampa)
{
    // Telling why nothing opened saves a call to the office's support.
    const QString esito = ApriStampaFile(UnisciPercorso(Modulo::strCartellaPDF, strStampa),
                                         QStringLiteral("open"));
    if (!esito.isEmpty())
        MostraMessaggio(esito, Icona::Esclamazione);
}
