#pragma once

#include <QString>

class QLineEdit;
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

// The prompts of the two folders every settings form asks for.
inline const QString RichiestaCartellaPdf =
    QStringLiteral("Seleziona il percorso della cartella che contiene i documenti in formato PDF:");
inline const QString RichiestaCartellaDatabase =
    QStringLiteral("Seleziona il percorso della cartella dove è installato il programma 'Marvena':");

// The folder picker for a path field: the folder chosen replaces the field's
// text, a cancel leaves it as it was.
void SfogliaCartella(QWidget* proprietario, QLineEdit* campo, const QString& richiesta);
