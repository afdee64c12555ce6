// A message of the sender's mailbox taken for a certified-mail receipt: its
// headers, its parts, its daticert.xml. Input: the whole message.
//
// What must hold: the headers read are one line each and say the kind and
// the Message-ID the daticert.xml says; a signed part is bytes of the
// message itself; and what follows the headers never changes what they say.

#include "SupportoFuzz.h"

#include "mail/MessaggioMime.h"
#include "mail/RicevutaPec.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PreparaAmbienteFuzz();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione)
{
    const QByteArray messaggio(reinterpret_cast<const char*>(dati), qsizetype(dimensione));
    const ParteMime parti = DividiParte(messaggio);
    const auto intestazioni = LeggiIntestazioniRicevuta(parti.intestazioni);
    if (intestazioni) {
        for (const QString& valore : {intestazioni->tipo, intestazioni->riferimento, intestazioni->messageId})
            if (valore.contains(QLatin1Char('\n')) || valore.contains(QLatin1Char('\r')))
                Violazione("a header read is one line", valore);
        const auto altre = LeggiIntestazioniRicevuta(DividiParte(parti.intestazioni + "\r\n\r\nX-Ricevuta: altro\r\n").intestazioni);
        if (!altre || altre->tipo != intestazioni->tipo || altre->riferimento != intestazioni->riferimento)
            Violazione("the body never changes the headers", intestazioni->tipo);
    }
    const auto ricevuta = LeggiMessaggioRicevuta(messaggio);
    if (!ricevuta)
        return 0;
    if (!intestazioni || ricevuta->dati.tipo != intestazioni->tipo || ricevuta->dati.msgid != intestazioni->riferimento)
        Violazione("a receipt read says what its headers say", ricevuta->dati.tipo + QLatin1Char(' ') + ricevuta->dati.msgid);
    if (!ricevuta->parteFirmata.isEmpty() && !messaggio.contains(ricevuta->parteFirmata))
        Violazione("the part signed is bytes of the message", QString::number(ricevuta->parteFirmata.size()));
    return 0;
}
