#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The pieces of a mail message that need care: addresses, header texts that
// are not plain ASCII, attachment names, and which documents travel together.

// A single address as an SMTP server takes it (blanks around are ignored).
bool IndirizzoValido(const QString& indirizzo);

// The server's address for curl. Port 465 speaks TLS from the first byte
// (smtps), any other port starts in clear and turns to TLS (smtp); 0 leaves
// the scheme's usual port. A server written with its scheme keeps it, for a
// server with TLS from the first byte on a port of its own.
QByteArray IndirizzoServerSmtp(const QString& server, int porta);

// A header value as it goes on the wire: unchanged when plain ASCII, otherwise
// UTF-8 encoded words of at most 75 characters, folded onto lines of their own.
QByteArray TestoIntestazione(const QString& testo);

// The Content-Disposition of an attachment, with the file name quoted when it
// is plain ASCII and in the UTF-8 parameter form otherwise.
QByteArray DisposizioneAllegato(const QString& nomeFile);

// A Message-ID of ours, in angle brackets, unique to one message: a random
// part and the sender's domain, as the receipts of certified mail quote it.
QString NuovoMessageId(const QString& mittente);

// Line breaks of the body as the wire wants them (CRLF), whatever they were.
QString TestoConRitorniCarrello(const QString& testo);

// A document that can go: its column in the dispatch table, recipient and size.
struct DocumentoDaInviare
{
    int colonna;
    QString destinatario;
    qint64 dimensione;
};

struct MessaggioDaInviare
{
    QString destinatario;
    QList<int> colonne; // in the order of the table
};

// One message per recipient (compared without regard to case), recipients in
// the order they first appear, a new message whenever the attachments would
// pass `limite` bytes; a document larger than that goes alone.
QList<MessaggioDaInviare> RaggruppaMessaggi(const QList<DocumentoDaInviare>& documenti, qint64 limite);
