#pragma once

#include "common/Dialoghi.h"

// Message and input boxes shown with Qt's own dialogs, owned by the window the
// user is working in so that they stay in front of it.
class DialoghiQt : public Dialoghi
{
public:
    Risposta Messaggio(const QString& testo, Icona icona, const QString& titolo,
                       Pulsanti pulsanti) override;
    QString Input(const QString& richiesta, const QString& titolo,
                  const QString& predefinito) override;
};
