#include "app/IndicatoreIndice.h"

#include "indice/IndicizzazioneInSottofondo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>

IndicatoreIndice::IndicatoreIndice(QWidget* parent)
    : QWidget(parent), lblIndice(new QLabel(this)), prgIndice(new QProgressBar(this)), nascondi_(new QTimer(this))
{
    setObjectName(QStringLiteral("IndicatoreIndice"));
    lblIndice->setObjectName(QStringLiteral("lblIndice"));
    prgIndice->setObjectName(QStringLiteral("prgIndice"));
    prgIndice->setMaximumWidth(160);
    prgIndice->setTextVisible(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblIndice);
    layout->addWidget(prgIndice);
    // The outcome stays long enough to be read.
    nascondi_->setSingleShot(true);
    nascondi_->setInterval(15000);
    connect(nascondi_, &QTimer::timeout, this, &QWidget::hide);
    const IndicizzazioneInSottofondo& indice = IndicizzazioneInSottofondo::Istanza();
    connect(&indice, &IndicizzazioneInSottofondo::Avanzamento, this, &IndicatoreIndice::Avanzamento);
    connect(&indice, &IndicizzazioneInSottofondo::Terminata, this, &IndicatoreIndice::Terminata);
    hide();
}

IndicatoreIndice* IndicatoreIndice::Installa(QStatusBar* barra)
{
    auto* indicatore = new IndicatoreIndice(barra);
    barra->insertPermanentWidget(0, indicatore);
    indicatore->hide();
    return indicatore;
}

void IndicatoreIndice::Avanzamento(int letti, int daLeggere)
{
    nascondi_->stop();
    lblIndice->setText(QStringLiteral("Lettura del testo dei documenti: %1 di %2").arg(letti).arg(daLeggere));
    prgIndice->setRange(0, qMax(daLeggere, 1));
    prgIndice->setValue(letti);
    prgIndice->show();
    show();
}

void IndicatoreIndice::Terminata(const ConteggiIndice& conteggi, const Errore& errore)
{
    if (errore.presente())
        lblIndice->setText(QStringLiteral("Testo dei documenti non indicizzato: %1").arg(errore.testo()));
    else if (conteggi.letti == 0)
        return; // nothing new: nothing to say
    else
        lblIndice->setText(QStringLiteral("Testo dei documenti indicizzato: %1 letti, %2 senza testo, %3 non letti")
                               .arg(conteggi.letti).arg(conteggi.senzaTesto).arg(conteggi.falliti));
    prgIndice->hide();
    show();
    nascondi_->start();
}
