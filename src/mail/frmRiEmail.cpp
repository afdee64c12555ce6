#include "mail/frmRiEmail.h"

#include "archive/Archivio.h"
#include "archive/Recordset.h"
#include "common/Dialoghi.h"
#include "components/Finestre.h"
#include "mail/IstruzioniEmail.h"
#include "mail/frmAnteprima.h"
#include "search/PannelloRicerca.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace {
// The window as the user sees it: its frame in the main window, or itself.
QWidget* Cornice(QWidget* finestra)
{
    auto* cornice = qobject_cast<QMdiSubWindow*>(finestra->parentWidget());
    return cornice ? static_cast<QWidget*>(cornice) : finestra;
}
}

frmRiEmail::frmRiEmail(const Contesto& contesto, QWidget* parent) : QWidget(parent)
{
    OpzioniPannello opzioni;
    opzioni.leggiImpostazioniEmail = true;
    pannello_ = new PannelloRicerca(this, contesto, opzioni);
    setObjectName(QStringLiteral("frmRiEmail"));
    setWindowTitle(QStringLiteral("Invia Documenti via email..."));
    (new QVBoxLayout(this))->addWidget(pannello_);
    connect(pannello_, &PannelloRicerca::Cerca, this, &frmRiEmail::cmdCerca_Click);
    pannello_->Carica();
}

frmAnteprima* frmRiEmail::Anteprima() const
{
    return anteprima_;
}

void frmRiEmail::cmdCerca_Click()
{
    auto recordset = std::make_unique<Recordset>();
    const Errore errore = recordset->ApriSql(
        StringaConnessione(pannello_->contesto().strDatabase),
        IstruzioneEmail(pannello_->Modo(), pannello_->Criteri()));
    if (errore.presente()) {
        MostraMessaggio(errore.testo(), Icona::Critica);
        return;
    }
    if (recordset->FineFile()) {
        MostraMessaggio(QStringLiteral("Esito negativo ricerca."), Icona::Informazione);
        ChiudiRecordset(recordset);
        return;
    }
    MostraAnteprima(std::move(recordset));
}

void frmRiEmail::MostraAnteprima(std::unique_ptr<Recordset> recordset)
{
    QWidget* cornice = Cornice(this);
    auto* sotto = qobject_cast<QMdiSubWindow*>(cornice);
    QMdiArea* area = sotto ? sotto->mdiArea() : nullptr;
    // One preview at a time in the program: a search made while it is open
    // (this window brought back from the menu, or opened anew after the one
    // that started the preview was closed) hands it the new documents, and
    // coming to the front rebuilds its list from them.
    bool nuova = false;
    if (!anteprima_) {
        anteprima_ = area ? area->findChild<frmAnteprima*>() : nullptr;
        nuova = !anteprima_;
        if (nuova)
            anteprima_ = new frmAnteprima;
        // Back with its criteria as typed whenever the preview closes, sent or not.
        connect(anteprima_, &frmAnteprima::Scaricata, this, [cornice, sotto, area] {
            cornice->show();
            if (area)
                area->setActiveSubWindow(sotto);
        });
    }
    anteprima_->setREcoR(std::move(recordset), pannello_->contesto());
    cornice->hide();
    if (!nuova) {
        RiprendiFinestra(anteprima_);
    } else if (area) {
        QMdiSubWindow* finestra = area->addSubWindow(anteprima_);
        finestra->setAttribute(Qt::WA_DeleteOnClose);
        finestra->resize(finestra->sizeHint().expandedTo(QSize(1260, 760)).boundedTo(area->viewport()->size()));
        finestra->show();
        area->setActiveSubWindow(finestra);
    } else {
        anteprima_->setAttribute(Qt::WA_DeleteOnClose);
        anteprima_->show();
    }
}
