#include "app/IndicatoreIndice.h"

#include "indice/IndicizzazioneInSottofondo.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>

IndicatoreIndice::IndicatoreIndice(QWidget* parent)
    : IndicatoreBarra(QStringLiteral("IndicatoreIndice"), QStringLiteral("lblIndice"), QStringLiteral("prgIndice"), parent),
      nascondi_(new QTimer(this))
{
    // The outcome stays long enough to be read.
    nascondi_->setSingleShot(true);
    nascondi_->setInterval(15000);
    connect(nascondi_, &QTimer::timeout, this, &QWidget::hide);
    const IndicizzazioneInSottofondo& indice = IndicizzazioneInSottofondo::Istanza();
    connect(&indice, &IndicizzazioneInSottofondo::Avanzamento, this, &IndicatoreIndice::Avanzamento);
    connect(&indice, &IndicizzazioneInSottofondo::Terminata, this, &IndicatoreIndice::Terminata);
}

IndicatoreIndice* IndicatoreIndice::Installa(QStatusBar* barra)
{
    auto* indicatore = new IndicatoreIndice;
    indicatore->Inserisci(barra);
    indicatore->hide();
    return indicatore;
}

void IndicatoreIndice::Avanzamento(int letti, int daLeggere)
{
    nascondi_->stop();
    Avanza(QStringLiteral("Lettura del testo dei documenti: %1 di %2").arg(letti).arg(daLeggere), letti, qMax(daLeggere, 1));
    show();
}

void IndicatoreIndice::Terminata(const ConteggiIndice& conteggi, const Errore& errore)
{
    if (errore.presente())
        testo->setText(QStringLiteral("Testo dei documenti non indicizzato: %1").arg(errore.testo()));
    else if (conteggi.letti == 0)
        return; // nothing new: nothing to say
    else
        testo->setText(QStringLiteral("Testo dei documenti indicizzato: %1 letti, %2 senza testo, %3 non letti")
                           .arg(conteggi.letti).arg(conteggi.senzaTesto).arg(conteggi.falliti));
    barra->hide();
    show();
    nascondi_->start();
}
