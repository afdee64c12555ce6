#include "mail/IndicatoreInvio.h"

#include "mail/Spedizione.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

IndicatoreInvio::IndicatoreInvio(QWidget* parent)
    : QWidget(parent), lblInvio(new QLabel(this)), prgInvio(new QProgressBar(this))
{
    setObjectName(QStringLiteral("IndicatoreInvio"));
    lblInvio->setObjectName(QStringLiteral("lblInvio"));
    prgInvio->setObjectName(QStringLiteral("prgInvio"));
    prgInvio->setMaximumWidth(160);
    prgInvio->setTextVisible(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblInvio);
    layout->addWidget(prgInvio);
    const AvanzamentoInvii& avanzamento = AvanzamentoInvii::Istanza();
    connect(&avanzamento, &AvanzamentoInvii::Avanzamento, this, &IndicatoreInvio::Avanzamento);
    connect(&avanzamento, &AvanzamentoInvii::InCorsoCambiato, this, &IndicatoreInvio::InCorsoCambiato);
    InCorsoCambiato(avanzamento.InCorso());
}

IndicatoreInvio* IndicatoreInvio::Installa(QStatusBar* barra)
{
    auto* indicatore = new IndicatoreInvio(barra);
    barra->insertPermanentWidget(0, indicatore);
    indicatore->InCorsoCambiato(AvanzamentoInvii::Istanza().InCorso());
    return indicatore;
}

void IndicatoreInvio::Avanzamento(int fatti, int totale)
{
    lblInvio->setText(QStringLiteral("Invio email: %1 di %2 documenti").arg(fatti).arg(totale));
    prgInvio->setRange(0, qMax(totale, 1));
    prgInvio->setValue(qBound(0, fatti, qMax(totale, 1)));
}

void IndicatoreInvio::InCorsoCambiato(int inCorso)
{
    if (inCorso > 0 && !isVisible()) {
        // Until the component says how far it is: a busy bar.
        lblInvio->setText(QStringLiteral("Invio email in corso..."));
        prgInvio->setRange(0, 0);
    }
    setVisible(inCorso > 0);
}
