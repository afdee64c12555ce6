#include "mail/IndicatoreInvio.h"

#include "mail/Spedizione.h"

IndicatoreInvio::IndicatoreInvio(QWidget* parent)
    : IndicatoreBarra(QStringLiteral("IndicatoreInvio"), QStringLiteral("lblInvio"), QStringLiteral("prgInvio"), parent),
      lblInvio(testo), prgInvio(barra)
{
    const AvanzamentoInvii& avanzamento = AvanzamentoInvii::Istanza();
    connect(&avanzamento, &AvanzamentoInvii::Avanzamento, this, &IndicatoreInvio::Avanzamento);
    connect(&avanzamento, &AvanzamentoInvii::InCorsoCambiato, this, &IndicatoreInvio::InCorsoCambiato);
    InCorsoCambiato(avanzamento.InCorso());
}

IndicatoreInvio* IndicatoreInvio::Installa(QStatusBar* barra)
{
    auto* indicatore = new IndicatoreInvio;
    indicatore->Inserisci(barra);
    indicatore->InCorsoCambiato(AvanzamentoInvii::Istanza().InCorso());
    return indicatore;
}

void IndicatoreInvio::Avanzamento(int fatti, int totale)
{
    Avanza(QStringLiteral("Invio email: %1 di %2 documenti").arg(fatti).arg(totale), fatti, qMax(totale, 1));
}

void IndicatoreInvio::InCorsoCambiato(int inCorso)
{
    // Until the component says how far it is: a busy bar.
    if (inCorso > 0 && !isVisible())
        Avanza(QStringLiteral("Invio email in corso..."), 0, 0);
    setVisible(inCorso > 0);
}
