#include "common/Dialoghi.h"

#include <cstdio>

namespace {
Dialoghi*& installati()
{
    static DialoghiConsole console;
    static Dialoghi* attuali = &console;
    return attuali;
}
}

Dialoghi& Dialoghi::Attuale()
{
    return *installati();
}

void Dialoghi::Installa(Dialoghi* dialoghi)
{
    static DialoghiConsole console;
    installati() = dialoghi ? dialoghi : &console;
}

Risposta MostraMessaggio(const QString& testo, Icona icona, Pulsanti pulsanti,
                         const QString& titolo)
{
    return Dialoghi::Attuale().Messaggio(testo, icona, titolo, pulsanti);
}

Risposta DialoghiConsole::Messaggio(const QString& testo, Icona, const QString& titolo,
                                    Pulsanti pulsanti)
{
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(titolo), qUtf8Printable(testo));
    std::fflush(stderr);
    return pulsanti == Pulsanti::Ok ? Risposta::Ok : Risposta::No;
}

QString DialoghiConsole::Input(const QString& richiesta, const QString& titolo, const QString&)
{
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(titolo), qUtf8Printable(richiesta));
    return {};
}
