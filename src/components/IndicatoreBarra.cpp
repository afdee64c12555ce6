#include "components/IndicatoreBarra.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

IndicatoreBarra::IndicatoreBarra(const QString& nome, const QString& nomeTesto, const QString& nomeBarra, QWidget* parent)
    : QWidget(parent), testo(new QLabel(this)), barra(new QProgressBar(this))
{
    setObjectName(nome);
    testo->setObjectName(nomeTesto);
    barra->setObjectName(nomeBarra);
    barra->setMaximumWidth(160);
    barra->setTextVisible(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(testo);
    layout->addWidget(barra);
}

void IndicatoreBarra::Inserisci(QStatusBar* barraDiStato)
{
    barraDiStato->insertPermanentWidget(0, this);
}

void IndicatoreBarra::Avanza(const QString& descrizione, int fatti, int totale)
{
    testo->setText(descrizione);
    barra->setRange(0, totale > 0 ? totale : 0);
    barra->setValue(qBound(0, fatti, qMax(totale, 0)));
    barra->show();
}
