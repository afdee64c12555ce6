#pragma once

#include <QString>

// Every message box and input box of the program goes through this seam, so
// that tests can read what the user would read and answer in advance, and the
// command-line tool can write to standard error instead.

enum class Icona { Nessuna, Critica, Esclamazione, Informazione, Domanda };
enum class Pulsanti { Ok, SiNo };
enum class Risposta { Ok, Si, No };

inline const QString TitoloApplicazione = QStringLiteral("ClientVelmira");

class Dialoghi
{
public:
    virtual ~Dialoghi() = default;

    virtual Risposta Messaggio(const QString& testo, Icona icona, const QString& titolo,
                               Pulsanti pulsanti = Pulsanti::Ok) = 0;
    // Returns the text typed, or an empty text when the user cancels.
    virtual QString Input(const QString& richiesta, const QString& titolo,
                          const QString& predefinito) = 0;

    // The implementation in use; the program installs the Qt one at start.
    static Dialoghi& Attuale();
    static void Installa(Dialoghi* dialoghi);
};

// Shorthand for the common case: a message titled with the program's title.
Risposta MostraMessaggio(const QString& testo, Icona icona,
                         Pulsanti pulsanti = Pulsanti::Ok,
                         const QString& titolo = TitoloApplicazione);

// Writes messages to standard error and answers No: for programs without windows.
class DialoghiConsole : public Dialoghi
{
public:
    Risposta Messaggio(const QString& testo, Icona icona, const QString& titolo,
                       Pulsanti pulsanti) override;
    QString Input(const QString& richiesta, const QString& titolo,
                  const QString& predefinito) override;
};
