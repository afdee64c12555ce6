#pragma once

#include "components/IndicatoreBarra.h"

class QStatusBar;

// In the main window's status bar while e-mails are being sent: how many
// documents of the dispatch have been handled. Hidden when none is running.
class IndicatoreInvio : public IndicatoreBarra
{
    Q_OBJECT

public:
    explicit IndicatoreInvio(QWidget* parent = nullptr);

    // Puts an indicator at the left of the bar's permanent panels.
    static IndicatoreInvio* Installa(QStatusBar* barra);

    QLabel* const lblInvio;
    QProgressBar* const prgInvio;

private:
    void Avanzamento(int fatti, int totale);
    void InCorsoCambiato(int inCorso);
};
