#pragma once

#include <QString>

class QWidget;

// The folder picker, behind a seam so that tests can answer it.
class SelettoreCartella
{
public:
    virtual ~SelettoreCartella() = default;
    // The full path of the folder chosen, or empty text when the user cancels.
    virtual QString Scegli(QWidget* proprietario, const QString& richiesta) = 0;

    static SelettoreCartella& Attuale();
    static void Installa(SelettoreCartella* selettore);
};

// Shows the folder picker with `richiesta` as its prompt.
QString SelezionaCartella(QWidget* proprietario, const QString& richiesta);
