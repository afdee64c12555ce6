#include "mail/frmListaMail.h"

#include "common/Dialoghi.h"
#include "archive/Archivio.h"
#include "components/ComponenteReport.h"
#include "mail/IstruzioniElencoMail.h"
#include "search/PannelloRicerca.h"

#include <QVBoxLayout>

namespace {
OpzioniPannello Opzioni()
{
    OpzioniPannello opzioni;
    opzioni.leggiImpostazioniEmail = true;
    return opzioni;
}
}

frmListaMail::frmListaMail(const Contesto& contesto, QWidget* parent)
    : QWidget(parent), pannello_(new PannelloRicerca(this, contesto, Opzioni()))
{
    setObjectName(QStringLiteral("frmListaMail"));
    setWindowTitle(QStringLiteral("Elenco Email"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pannello_);
    connect(pannello_, &PannelloRicerca::Cerca, this, &frmListaMail::cmdCerca_Click);
    pannello_->Carica();
}

void frmListaMail::cmdCerca_Click()
{
    VisualizzaReport(IstruzioneElencoMail(pannello_->Modo(), pannello_->Criteri()));
}

void frmListaMail::VisualizzaReport(const QString& istruzione)
{
    auto report = ComponenteReport::Crea(QStringLiteral("ReportMan.ReportManX"));
    if (report) {
        report->FileName(QStringLiteral("ElencoInvioMail.rep"));
        report->Title(QStringLiteral("Elenco email"));
        report->SetParamValue(QStringLiteral("TITOLO"), TitoloElencoMail(pannello_->Modo(), pannello_->Criteri()));
        report->SetDatabaseConnectionString(
            QStringLiteral("MARVENA"), StringaConnessione(pannello_->contesto().strDatabase, {}));
        report->SetDatasetSQL(QStringLiteral("ELENCOMAIL"), istruzione);
        report->Preview(true);
        if (report->Execute())
            return;
        // The reason stays in the session's log for whoever looks after the office's desks.
        qWarning("Elenco email: %s", qPrintable(report->Errore()));
    }
    MostraMessaggio(QStringLiteral("Nessun elenco da visualizzare."), Icona::Informazione);
}
