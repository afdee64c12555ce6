#include "common/Dialoghi.h"

#include "common/ServizioInstallabile.h"

#include <cstdio>

using ServizioDialoghi = ServizioInstallabile<Dialoghi, DialoghiConsole>;

Dialoghi& Dialoghi::Attuale()
{
    return ServizioDialoghi::Attuale();
}

void Dialoghi::Installa(Dialoghi* dialoghi)
{
    ServizioDialoghi::Installa(dialoghi);
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
