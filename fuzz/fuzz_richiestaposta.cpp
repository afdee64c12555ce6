// The pipe between the program and its mail helper: the request the helper
// reads on its standard input, and each line the program reads back from the
// helper's output. Input: the request; each of its lines is also read as a
// line of the helper's output.
//
// What must hold: a request read, written again and read again is the same
// request, with as many recipients as documents; a line of the helper read,
// written again and read again says the same.

#include "SupportoFuzz.h"

#include "mail/ProtocolloPosta.h"

namespace {

bool Uguali(const RichiestaPosta& a, const RichiestaPosta& b)
{
    return a.Mittente == b.Mittente && a.TestoMail == b.TestoMail && a.OggettoMail == b.OggettoMail
        && a.PasswordSmtp == b.PasswordSmtp && a.PortaSmtp == b.PortaSmtp && a.ServerSmtp == b.ServerSmtp
        && a.Utente == b.Utente && a.CertificatoCA == b.CertificatoCA
        && a.CartellaProgramma == b.CartellaProgramma && a.CartellaPDF == b.CartellaPDF
        && a.AttesaServer == b.AttesaServer && a.tabella.percorsi == b.tabella.percorsi
        && a.tabella.destinatari == b.tabella.destinatari;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PreparaAmbienteFuzz();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione)
{
    const QByteArray testo(reinterpret_cast<const char*>(dati), qsizetype(dimensione));
    if (const auto richiesta = DecodificaRichiesta(testo)) {
        const QByteArray scritta = CodificaRichiesta(*richiesta);
        const auto riletta = DecodificaRichiesta(scritta);
        if (richiesta->tabella.percorsi.size() != richiesta->tabella.destinatari.size() || !riletta
            || richiesta->AttesaServer < 1 || richiesta->AttesaServer > attesaServerPredefinita
            || !Uguali(*richiesta, *riletta))
            Violazione("a request written again reads the same", QString::fromUtf8(scritta));
    }
    for (const QByteArray& riga : testo.split('\n')) {
        const auto letta = LeggiRigaUscitaPosta(riga);
        if (!letta)
            continue;
        const QByteArray scritta = letta->fine ? RigaFine(letta->esito, letta->messaggio, letta->elencoScritto)
                                               : RigaAvanzamento(letta->fatti, letta->totale,
                                                                 letta->colonna, letta->elenco);
        const auto riletta = LeggiRigaUscitaPosta(scritta);
        if (!riletta || riletta->fine != letta->fine || riletta->esito != letta->esito
            || riletta->messaggio != letta->messaggio || riletta->elencoScritto != letta->elencoScritto
            || riletta->fatti != letta->fatti
            || riletta->totale != letta->totale || riletta->colonna != letta->colonna
            || riletta->elenco != letta->elenco)
            Violazione("a line of the helper written again reads the same", QString::fromUtf8(scritta));
    }
    return 0;
}
