#include "import/cImporta.h"

#include "archive/Archivio.h"
#include "common/Dialoghi.h"
#include "shell/ApriStampaFile.h"

#include <QFileInfo>
#include <QThread>

namespace {

// Listing the folder with folders included: anything there at all.
bool EsisteCartella(const QString& percorso)
{
    return !percorso.isEmpty() && QFileInfo::exists(percorso);
}

// Listing the path as normal files: a file is there.
bool EsisteFile(const QString& percorso)
{
    return !percorso.isEmpty() && QFileInfo(percorso).isFile();
}

// A path that failed its check is reported and marks the run as not to start.
bool PercorsoAccettato(bool esiste, const QString& messaggio, bool& erronePercorso)
{
    if (!esiste) {
        MostraMessaggio(messaggio, Icona::Esclamazione);
        erronePercorso = true;
    }
    return esiste;
}

} // namespace

cImporta::cImporta(QObject* genitore) : QObject(genitore)
{
    // Raised on the run's thread, shown on this one.
    connect(this, &cImporta::Messaggio, this,
            [](const QString& testo, Icona icona) { MostraMessaggio(testo, icona); });
}

cImporta::~cImporta()
{
    if (filo_) {
        annulla_ = true;
        filo_->wait();
    }
}

QString cImporta::Database() const
{
    return stringaConnessione_;
}

void cImporta::Database(const QString& percorso)
{
    if (PercorsoAccettato(EsisteFile(percorso),
                          QStringLiteral("Manca il percorso del database, impossibile effettuare un "
                                         "controllo sui documenti prodotti da 'Marvena'"),
                          erronePercorso_))
        stringaConnessione_ = StringaConnessione(percorso);
}

QString cImporta::FileIni() const
{
    return fileIni_;
}

void cImporta::FileIni(const QString& percorso)
{
    if (PercorsoAccettato(EsisteFile(percorso),
                          QStringLiteral("Manca il percorso del file INI, impossibile effettuare un "
                                         "controllo sui documenti prodotti da 'Marvena'"),
                          erronePercorso_))
        fileIni_ = percorso;
}

QString cImporta::CartellaPDF() const
{
    return cartellaPDF_;
}

void cImporta::CartellaPDF(const QString& cartella)
{
    if (PercorsoAccettato(EsisteCartella(cartella),
                          QStringLiteral("Manca il percorso della cartella contenente i documenti "
                                         "pdf, impossibile effettuare un controllo sui documenti "
                                         "prodotti da 'Marvena'"),
                          erronePercorso_))
        cartellaPDF_ = cartella;
}

bool cImporta::Prepara(bool avvisa)
{
    risultato_ = {};
    if (erronePercorso_)
        return false;
    // A caller that skipped an assignment has nothing to run on.
    if (cartellaPDF_.isEmpty() || stringaConnessione_.isEmpty() || fileIni_.isEmpty()) {
        if (avvisa)
            MostraMessaggio(QStringLiteral("Percorsi dell'importazione incompleti: indicare la cartella "
                                           "dei documenti, il database e il file INI."),
                            Icona::Esclamazione);
        return false;
    }
    lavoro_ = std::make_unique<LavoroImportazione>(Impostazioni(), annulla_);
    return true;
}

ImpostazioniLavoro cImporta::Impostazioni()
{
    return {cartellaPDF_, stringaConnessione_, fileIni_,
            [this](qsizetype esaminati, qsizetype totale) { emit Avanzamento(esaminati, totale); },
            [this](const QString& testo, Icona icona) { emit Messaggio(testo, icona); }, daRinviare_};
}

void cImporta::Avvia()
{
    if (Prepara(true))
        risultato_ = lavoro_->Esegui();
}

void cImporta::AvviaInSottofondo(std::optional<SelezioneImportazione> selezione)
{
    if (filo_)
        return;
    if (!Prepara(!selezione)) {
        QMetaObject::invokeMethod(this, &cImporta::Terminata, Qt::QueuedConnection);
        return;
    }
    filo_.reset(QThread::create([this, selezione = std::move(selezione)] { dalFilo_ = lavoro_->Esegui(selezione); }));
    connect(filo_.get(), &QThread::finished, this, [this] {
        filo_->wait();
        filo_.reset();
        risultato_ = std::move(dalFilo_);
        emit Terminata();
    });
    filo_->start();
}

bool cImporta::AnnullaProcedura() const
{
    return annulla_;
}

void cImporta::AnnullaProcedura(bool annulla)
{
    annulla_ = annulla;
}

void cImporta::VisualizzaRisultato(qint32)
{
    ApriStampaFile(PercorsoElencoImportazione(), QStringLiteral("open"));
}

void cImporta::EliminaDocumentiDuplicati()
{
    if (erronePercorso_ || cartellaPDF_.isEmpty() || stringaConnessione_.isEmpty())
        return;
    LavoroImportazione(Impostazioni(), annulla_).EliminaDocumentiDuplicati();
}

void cImporta::ImpostaRinvio(std::function<bool(QByteArrayView)> daRinviare)
{
    daRinviare_ = std::move(daRinviare);
}
