#pragma once

#include "mail/CasellaPosta.h"

#include <QString>

typedef void CURL;

// The sender's mailbox over IMAP with libcurl. TLS always: from the first
// byte on any port but 143, where the server must turn to it (STARTTLS).
// One connection for the whole reading: the inbox examined by the first
// command stays open, read-only, for the ones that follow.
struct AccountImap
{
    QString server;
    int porta = 993;
    QString utente;
    QString password;
    QString certificatoCA; // a CA file for an office's own server; empty: the system's store
    int attesa = 45;       // seconds a silent server is waited for
};

class CasellaCurl : public CasellaPosta
{
public:
    explicit CasellaCurl(const AccountImap& account);
    ~CasellaCurl() override;
    CasellaCurl(const CasellaCurl&) = delete;
    CasellaCurl& operator=(const CasellaCurl&) = delete;

    Risultato<StatoCasella> Esamina() override;
    Risultato<QList<quint32>> Ricevute(quint32 daUid) override;
    Risultato<QMap<quint32, QByteArray>> Messaggi(const QList<quint32>& uid) override;

private:
    // Sends one command; the server's whole answer, or why there is none.
    Risultato<QByteArray> Comando(const QByteArray& comando);

    CURL* curl_;
    QString server_;
    QByteArray risposta_;
};
