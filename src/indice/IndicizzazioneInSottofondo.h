#pragma once

#include "indice/Indicizzazione.h"

#include <QObject>

#include <atomic>
#include <optional>
#include <thread>

// Indexing on a thread of its own, for the program and the watcher, which
// must stay responsive meanwhile. A request that comes while a run is under
// way is kept (the last one only) and starts when that run ends. Released,
// it stops the run at its next file and waits for it: what was indexed stays.
class IndicizzazioneInSottofondo : public QObject
{
    Q_OBJECT

public:
    explicit IndicizzazioneInSottofondo(QObject* genitore = nullptr);
    ~IndicizzazioneInSottofondo() override;

    void Avvia(const ImpostazioniIndice& impostazioni);
    // Stops the run at its next file and forgets the request kept; Terminata follows.
    void Ferma();
    bool InCorso() const { return lavoro_.joinable(); }

    // The one the program's windows share.
    static IndicizzazioneInSottofondo& Istanza();

signals:
    void Avanzamento(int letti, int daLeggere);
    void Terminata(const ConteggiIndice& conteggi, const Errore& errore);

private:
    void Concluso(const ConteggiIndice& conteggi, const Errore& errore);

    std::thread lavoro_;
    std::atomic<bool> fermato_{false};
    std::optional<ImpostazioniIndice> prossima_;
};
