#pragma once

#include "common/Errore.h"

#include <QByteArray>
#include <QList>
#include <QMap>

// The sender's mailbox, where the receipts arrive, opened read-only: nothing
// in it is ever deleted, moved or marked as read.

struct StatoCasella
{
    quint32 uidValidity = 0;
    quint32 uidNext = 0;
};

class CasellaPosta
{
public:
    virtual ~CasellaPosta() = default;
    // Opens the inbox read-only (EXAMINE).
    virtual Risultato<StatoCasella> Esamina() = 0;
    // The UIDs, from `daUid` on, of the messages that carry an X-Ricevuta header.
    virtual Risultato<QList<quint32>> Ricevute(quint32 daUid) = 0;
    // The whole messages, by UID, read without marking them as read.
    virtual Risultato<QMap<quint32, QByteArray>> Messaggi(const QList<quint32>& uid) = 0;
};

// What an IMAP server answers, read from the lines it sent (literals whole).
StatoCasella LeggiEsame(const QByteArray& risposta);
QList<quint32> LeggiRicerca(const QByteArray& risposta);
QMap<quint32, QByteArray> LeggiMessaggi(const QByteArray& risposta);
