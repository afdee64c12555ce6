#pragma once

#include <QString>

class QWidget;

// The dialog that asks where to save a file, behind a seam so that tests can
// answer it.
class SelettoreFileDaSalvare
{
public:
    virtual ~SelettoreFileDaSalvare() = default;
    // The full path chosen, or empty text when the user cancels.
    virtual QString Scegli(QWidget* proprietario, const QString& titolo, const QString& proposto,
                           const QString& filtro) = 0;

    static SelettoreFileDaSalvare& Attuale();
    static void Installa(SelettoreFileDaSalvare* selettore);
};

// Asks where to save, proposing `proposto`; `filtro` as the dialog's file types.
QString ScegliFileDaSalvare(QWidget* proprietario, const QString& titolo, const QString& proposto,
                            const QString& filtro);
