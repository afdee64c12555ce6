#pragma once

#include "components/IndicatoreBarra.h"

class QTimer;
struct ConteggiIndice;
struct Errore;

// In the main window's status bar while the new documents' text is indexed
// in the background: how many were read, then for a while what came of it.
class IndicatoreIndice : public IndicatoreBarra
{
    Q_OBJECT

public:
    explicit IndicatoreIndice(QWidget* parent = nullptr);

    static IndicatoreIndice* Installa(QStatusBar* barra);

private:
    void Avanzamento(int letti, int daLeggere);
    void Terminata(const ConteggiIndice& conteggi, const Errore& errore);

    QTimer* nascondi_;
};
