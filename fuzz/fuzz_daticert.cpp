// The daticert.xml a certified-mail provider puts in every receipt. Input:
// the file.
//
// What must hold: a file read has a kind, a valid time and a Message-ID in
// angle brackets; what it says of the message is one of the states kept;
// and the same file inside a receipt message (base64, headers agreeing) is
// read to the very same data.

#include "SupportoFuzz.h"

#include "mail/RicevutaPec.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PreparaAmbienteFuzz();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione)
{
    const QByteArray xml(reinterpret_cast<const char*>(dati), qsizetype(dimensione));
    const auto letti = LeggiDatiCert(xml);
    if (!letti)
        return 0;
    const QString dettagli = letti->tipo + QLatin1Char(' ') + letti->msgid;
    if (letti->tipo.isEmpty() || !letti->data.isValid() || !letti->msgid.startsWith(QLatin1Char('<'))
        || !letti->msgid.endsWith(QLatin1Char('>')))
        Violazione("a daticert.xml read has a kind, a time and a Message-ID", dettagli);
    if (const auto effetto = EffettoDi(*letti)) {
        static const QStringList stati{QStringLiteral("accettato"), QStringLiteral("non accettato"),
                                       QStringLiteral("consegnato"), QStringLiteral("non consegnato")};
        if (!stati.contains(effetto->stato) || effetto->peso < 1 || effetto->peso > 3)
            Violazione("a receipt leads to a state kept", dettagli + QLatin1String(" -> ") + effetto->stato);
    }
    // Header values are one line: a kind or a Message-ID with a line break is
    // one no receipt's headers can agree with.
    if (letti->tipo.contains(QLatin1Char('\n')) || letti->msgid.contains(QLatin1Char('\n'))
        || letti->tipo.contains(QLatin1Char('\r')) || letti->msgid.contains(QLatin1Char('\r')))
        return 0;
    QByteArray base64 = xml.toBase64();
    for (qsizetype i = 76; i < base64.size(); i += 78)
        base64.insert(i, "\r\n");
    const QByteArray messaggio = "X-Ricevuta: " + letti->tipo.toUtf8() + "\r\nX-Riferimento-Message-ID: "
        + letti->msgid.toUtf8()
        + "\r\nContent-Type: multipart/mixed; boundary=\"b1\"\r\n\r\n--b1\r\nContent-Type: text/plain\r\n\r\ntesto\r\n"
          "--b1\r\nContent-Type: application/xml; name=\"daticert.xml\"\r\nContent-Transfer-Encoding: base64\r\n\r\n"
        + base64 + "\r\n--b1--\r\n";
    const auto ricevuta = LeggiMessaggioRicevuta(messaggio);
    if (!ricevuta || ricevuta->dati.tipo != letti->tipo || ricevuta->dati.msgid != letti->msgid
        || ricevuta->dati.data != letti->data || ricevuta->dati.consegna != letti->consegna
        || ricevuta->dati.identificativo != letti->identificativo)
        Violazione("the same daticert.xml inside a receipt reads the same", dettagli);
    return 0;
}
