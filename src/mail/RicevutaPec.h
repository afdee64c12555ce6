#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

// A receipt of certified mail (PEC) as its provider sends it to the sender:
// the headers that say what it is and which message it is about, and the
// signed daticert.xml that says the same with the time and the recipient.

// X-Ricevuta and X-Riferimento-Message-ID of a message's headers; nothing
// when either is missing (not a receipt).
struct IntestazioniRicevuta
{
    QString tipo;        // "accettazione", "avvenuta-consegna"... in lower case
    QString riferimento; // the Message-ID of the message sent, <...>
    QString messageId;   // the receipt's own Message-ID, <...> or empty
};
std::optional<IntestazioniRicevuta> LeggiIntestazioniRicevuta(const QByteArray& intestazioni);

// daticert.xml. The time is the one the provider wrote (its own zone, as
// the receipt shows it).
struct DatiCert
{
    QString tipo;   // attribute tipo of postacert
    QString errore; // attribute errore: "nessuno" or a reason
    QString mittente;
    QStringList destinatari;
    QString oggetto;
    QString gestore;
    QDateTime data;
    QString identificativo;
    QString msgid;    // of the message sent, <...>
    QString consegna; // the recipient a delivery (or its failure) is for
    QString erroreEsteso;
};
// Nothing when the text is not a well-formed daticert.xml with a tipo, a
// time and the Message-ID it is about; `difetto` then says why, in Italian.
std::optional<DatiCert> LeggiDatiCert(const QByteArray& xml, QString* difetto = nullptr);

// A Message-ID written with or without its angle brackets, with them.
QString MessageIdNormale(const QString& testo);

// A whole receipt message: its headers, its daticert.xml and, for a signed
// one (multipart/signed), the part signed exactly as sent and the signature.
struct MessaggioRicevuta
{
    IntestazioniRicevuta intestazioni;
    DatiCert dati;
    QByteArray parteFirmata;
    QByteArray firma; // DER; empty when the receipt is not signed that way
};
std::optional<MessaggioRicevuta> LeggiMessaggioRicevuta(const QByteArray& messaggio, QString* difetto = nullptr);

// What a receipt says of the message it is about, in the words of the state
// kept per document and recipient; nothing for a message that is not a
// receipt for our documents (presa-in-carico, posta-certificata...).
struct EffettoRicevuta
{
    QString stato;        // "accettato", "consegnato", "non consegnato", "non accettato"
    int peso = 0;         // a state of greater weight is not undone by one of less
    QString destinatario; // empty: every recipient of the message
    QString motivo;
};
std::optional<EffettoRicevuta> EffettoDi(const DatiCert& dati);
// The weight of a receipt of kind `tipo` (0 for one that changes nothing):
// a delivery or its failure is final, a warning of non-delivery may still
// be followed by either, the provider's acceptance comes first.
int PesoRicevuta(const QString& tipo);
