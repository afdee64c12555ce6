#include "DialoghiRegistratore.h"

Risposta DialoghiRegistratore::Messaggio(const QString& testo, Icona icona,
                                         const QString& titolo, Pulsanti pulsanti)
{
    messaggi.append({testo, icona, titolo, pulsanti});
    if (alMessaggio)
        alMessaggio(messaggi.last());
    if (!risposte.isEmpty())
        return risposte.dequeue();
    return pulsanti == Pulsanti::Ok ? Risposta::Ok : Risposta::No;
}

QString DialoghiRegistratore::Input(const QString& richiesta, const QString&, const QString&)
{
    richiesteInput.append(richiesta);
    return risposteInput.isEmpty() ? QString() : risposteInput.dequeue();
}
