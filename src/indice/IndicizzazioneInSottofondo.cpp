#include "indice/IndicizzazioneInSottofondo.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

IndicizzazioneInSottofondo::IndicizzazioneInSottofondo(QObject* genitore) : QObject(genitore)
{
}

IndicizzazioneInSottofondo::~IndicizzazioneInSottofondo()
{
    fermato_ = true;
    if (lavoro_.joinable())
        lavoro_.join();
}

IndicizzazioneInSottofondo& IndicizzazioneInSottofondo::Istanza()
{
    // Goes with the application, which stops a run still under way.
    static QPointer<IndicizzazioneInSottofondo> istanza;
    if (!istanza)
        istanza = new IndicizzazioneInSottofondo(QCoreApplication::instance());
    return *istanza;
}

void IndicizzazioneInSottofondo::Avvia(const ImpostazioniIndice& impostazioni)
{
    if (InCorso()) {
        prossima_ = impostazioni;
        return;
    }
    fermato_ = false;
    lavoro_ = std::thread([this, impostazioni] {
        ConteggiIndice conteggi;
        const Errore errore = Indicizza(impostazioni, conteggi, fermato_, [this](const ConteggiIndice& c, const PassoIndice&) {
            QMetaObject::invokeMethod(this, [this, letti = c.letti, totale = c.daLeggere] {
                emit Avanzamento(letti, totale);
            }, Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(this, [this, conteggi, errore] { Concluso(conteggi, errore); }, Qt::QueuedConnection);
    });
}

void IndicizzazioneInSottofondo::Ferma()
{
    prossima_.reset();
    fermato_ = true;
}

void IndicizzazioneInSottofondo::Concluso(const ConteggiIndice& conteggi, const Errore& errore)
{
    lavoro_.join();
    emit Terminata(conteggi, errore);
    if (prossima_) {
        const ImpostazioniIndice impostazioni = *prossima_;
        prossima_.reset();
        Avvia(impostazioni);
    }
}
