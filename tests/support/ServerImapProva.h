#pragma once

#include "ServerSmtpProva.h"

// A private IMAP server (the demo's scripts/server/server_imap.py, over Debian's dovecot) on
// loopback with TLS, one user, its mailbox in `cartella`/Maildir.
class ServerImapProva : public ServerProva
{
public:
    explicit ServerImapProva(const QString& cartella);
    ~ServerImapProva() override;

    QString certificato() const { return cartella_ + QStringLiteral("/cert.pem"); }
    // Puts a message into the mailbox, as a delivery would.
    void consegna(const QString& nome, const QByteArray& messaggio) const;
    // The mailbox's files and their flags, to see that nothing was changed.
    QStringList contenuto() const;

    static constexpr const char* utente = "ufficio";
    static constexpr const char* password = "segreta";

private:
    QString cartella_;
};
