#pragma once

#include "common/ServizioInstallabile.h"

#include <QString>

class QWidget;

// Which printer a print goes to and how many copies: Qt's print dialog in
// the program, an answer given in advance in tests.
class SceltaStampante
{
public:
    struct Scelta
    {
        QString stampante; // empty when the user cancelled
        int copie = 1;
    };

    virtual ~SceltaStampante() = default;
    virtual Scelta Scegli(QWidget* finestra) = 0;
};

// Qt's print dialog; the printer chosen last is offered again.
class SceltaStampanteQt : public SceltaStampante
{
public:
    Scelta Scegli(QWidget* finestra) override;

private:
    QString ultima_;
};

using SceltaStampanteAttuale = ServizioInstallabile<SceltaStampante, SceltaStampanteQt>;
