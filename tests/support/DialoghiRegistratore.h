#pragma once

#include "common/Dialoghi.h"

#include <QList>
#include <functional>
#include <QQueue>

// Keeps every message the program shows and answers from a script
// (No to every question left unanswered).
class DialoghiRegistratore : public Dialoghi
{
public:
    struct Voce
    {
        QString testo;
        Icona icona;
        QString titolo;
        Pulsanti pulsanti;
    };

    Risposta Messaggio(const QString& testo, Icona icona, const QString& titolo,
                       Pulsanti pulsanti) override;
    QString Input(const QString& richiesta, const QString& titolo,
                  const QString& predefinito) override;

    void RispondiPoi(Risposta risposta) { risposte.enqueue(risposta); }
    void RispondiInputPoi(const QString& testo) { risposteInput.enqueue(testo); }

    // Called as each message is shown, to see what is on screen with it.
    std::function<void(const Voce&)> alMessaggio;

    QList<Voce> messaggi;
    QStringList richiesteInput;
    QQueue<Risposta> risposte;
    QQueue<QString> risposteInput;
};
