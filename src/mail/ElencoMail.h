#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// The list of messages sent that the mail helper leaves in the program's
// folder: one line per document, fields joined by " - ": when, sender,
// recipient, outcome, full path of the document.

struct VoceElencoMail
{
    QDateTime quando;
    QString mittente;
    QString destinatario;
    QString esito;
    QString percorso;
};

QString RigaElencoMail(const VoceElencoMail& voce);

// Writes the lines, UTF-8, under a new name containing "ElencoMail" in
// `cartella`: first under a name a reader does not look for, then renamed, so
// nobody ever reads half a list. The path written, or the reason it failed.
struct EsitoElencoMail
{
    QString percorso;
    QString errore;
};
EsitoElencoMail ScriviElencoMail(const QString& cartella, const QStringList& righe);

// What the closing message says when the list could not be written.
QString AvvisoElencoNonScritto(const QString& cartella, const QString& errore);
