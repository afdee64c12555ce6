#pragma once

#include "common/Errore.h"
#include "mail/CasellaPosta.h"

#include <QByteArray>
#include <QString>
#include <functional>

// The certified-mail receipts read from the sender's mailbox into the
// archive, each once, and how far the mailbox has been read.

enum class EsitoFirma {
    Verificata,    // signed by a provider whose certificate the user gave
    NonVerificata, // no certificates given: nobody checked
    NonValida      // checked and failed, or not signed at all
};
// Checks a receipt's signature over the part it signs.
using VerificaFirma = std::function<EsitoFirma(const QByteArray& parteFirmata, const QByteArray& firma)>;

struct EsitoRicevute
{
    int lette = 0;        // receipts read from the mailbox this time
    int accettazioni = 0; // recorded: accepted by the provider
    int consegne = 0;     // recorded: delivered
    int mancate = 0;      // recorded: not accepted, not delivered, warnings of non-delivery
    int nonValide = 0;    // signature failed: recorded as such, changing no state
    int sconosciute = 0;  // about a Message-ID never sent from here: kept aside
    int doppie = 0;       // already recorded
    int illeggibili = 0;  // headers or daticert.xml missing, malformed or at odds
    int altre = 0;        // receipts that change no state (taken in charge by the recipient's provider...)
    Errore errore;
};

// Reads what arrived in `casella` since the last reading of the mailbox
// called `nomeCasella` (all of it again when the server's UIDVALIDITY
// changed) and records it in the archive. The receipts and the place
// reached are stored together, a batch at a time: a run cut short is taken
// up where its last batch ended.
EsitoRicevute AggiornaRicevute(CasellaPosta& casella, const QString& nomeCasella, const QString& archivio,
                               const VerificaFirma& verifica);

// One line for the user: what was read, recorded and set aside, and why.
QString RiepilogoRicevute(const EsitoRicevute& esito);
