#pragma once

#include "common/Errore.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The list of messages sent that the mail helper leaves in the program's
// folder: one line per document, fields joined by " - ": when, sender,
// recipient, outcome, full path of the document. The sender's field also
// carries, for a message that went, its Message-ID in angle brackets and the
// server's reply: "ufficio@esempio.it <id@esempio.it> 250 Ok". Written by the helper (or
// by the program for a helper that died), read back into the archive; both
// sides are here.

struct VoceElencoMail
{
    QDateTime quando;
    QString mittente;
    QString destinatario;
    QString esito;
    QString percorso;
    QString messageId = {};
    QString risposta = {};
};

QString RigaElencoMail(const VoceElencoMail& voce);

// A line read back: the fields as written, the time as its text and the path
// whole even when it holds " - "; nothing for a line of fewer than five fields.
struct CampiElencoMail
{
    QString quando;
    QString mittente;
    QString destinatario;
    QString esito;
    QString percorso;
    QString messageId = {}; // empty when the document did not go
    QString risposta = {};
};
std::optional<CampiElencoMail> LeggiRigaElencoMail(const QString& riga);

// Writes the lines, UTF-8, under a new name containing "ElencoMail" and the
// time `adesso` in `cartella`: first under a name a reader does not look for,
// then renamed, so nobody ever reads half a list. The path written, or the
// reason it failed.
Risultato<QString> ScriviElencoMail(const QString& cartella, const QStringList& righe, const QDateTime& adesso);

// The first list found in `cartella`, or empty text.
QString TrovaElencoMail(const QString& cartella);
// The non-blank lines of a list's text.
QStringList RigheElencoMail(const QByteArray& testo);
// Where the lines of `elenco` that can never be stored are set aside: a name
// the next run does not take for a list, beside the list.
QString NomeAccantonato(const QString& elenco);

// What the closing message says when the list could not be written.
QString AvvisoElencoNonScritto(const QString& cartella, const Errore& errore);
