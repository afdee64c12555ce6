#pragma once

#include <QProcess>
#include <QString>

// A private IMAP server (server_imap.py beside it over Debian's dovecot) on
// loopback with TLS, one user, its mailbox in `cartella`/Maildir. Stopped
// when the object goes, also when a test fails half way.
class ServerImapProva
{
public:
    explicit ServerImapProva(const QString& cartella);
    ~ServerImapProva();

    int porta() const { return porta_; } // 0 when it did not start
    QString errore() const { return errore_; }
    QString certificato() const { return cartella_ + QStringLiteral("/cert.pem"); }
    // Puts a message into the mailbox, as a delivery would.
    void consegna(const QString& nome, const QByteArray& messaggio) const;
    // The mailbox's files and their flags, to see that nothing was changed.
    QStringList contenuto() const;

    static constexpr const char* utente = "ufficio";
    static constexpr const char* password = "segreta";

private:
    QString cartella_;
    QProcess processo_;
    int porta_ = 0;
    QString errore_;
};
