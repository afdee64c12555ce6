#pragma once

#include "common/Errore.h"

#include <QDateTime>
#include <QList>
#include <QString>

class Connessione;

// Where each document sent stands with each recipient: sent, accepted,
// delivered or not, as its receipts say. A receipt whose signature failed
// never counts; it shows only where nothing genuine has come.
struct StatoInvio
{
    QString stampa;
    QString destinatario;
    QString messageId;
    QDateTime inviato;
    QString stato = QStringLiteral("inviato"); // "accettato", "consegnato", "non consegnato", "non accettato", "ricevuta non valida"
    QDateTime quando;
    QString motivo;
    bool verificato = true; // false: the receipt's signature was not checked (no certificates given)
};

// Every document and recipient sent to with a proof kept, in the order sent;
// `stampa` not empty: that document's alone. An archive without the tables
// yet has sent nothing with a proof.
Risultato<QList<StatoInvio>> StatiInvii(Connessione& connessione, const QString& stampa = {});

// File name, recipient, Message-ID, state, its time (dd/MM/yyyy HH:mm:ss) and
// reason, separated by tabulations.
QString RigaStato(const StatoInvio& s);
// The state as a window shows it, with its time and what the user should
// know of it: "consegnato il 15/03/2014 10:31 (ricevuta non verificata)".
QString TestoStato(const StatoInvio& s);

// The column "StatoConsegna" a report on qryEmail may print: each row's last
// state (TestoStato), found by document, recipient and time of sending;
// empty for a row sent without a proof kept.
void RegistraStatoConsegna();
