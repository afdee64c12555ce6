#pragma once

#include "common/Errore.h"

#include <QDateTime>
#include <QString>

// What RegistraInvii did with the mail component's list of messages sent.
struct EsitoRegistrazione
{
    QString file;       // the list read; empty when there was none
    int registrate = 0; // lines stored in EmailInviate
    int giaRegistrate = 0; // lines a run cut short had stored already
    int incomplete = 0; // lines with fewer than five fields
    int rifiutate = 0;  // lines the archive did not take
    Errore errore;      // why the first line or the whole list was not taken
    bool conservato = false; // the list stays whole, to be read again by a later run
    QString accantonato;     // where the lines that can never be stored were set aside
};

// Stores the first list found in the program's folder (a file whose name
// contains "ElencoMail") into EmailInviate of the archive file `archivio`, one row per line: fields joined
// by " - ", date of sending, sender (not read), recipient, outcome, full path
// of the document. Each line is stored once, whatever moment a run is cut
// short at: the lines stored are known by a key recorded with them. Lines that
// can never be stored (too short, refused by the archive) are set aside in a
// file of their own and the list goes; when the archive cannot be written at
// all, the whole list stays for a later run.
EsitoRegistrazione RegistraInvii(const QString& archivio);

// Stores lines of a list that could not be written to a file (a full disk):
// what the mail component reported is recorded all the same. `adesso` names
// the batch while it is stored.
EsitoRegistrazione RegistraRighe(const QString& archivio, const QStringList& righe, const QDateTime& adesso);

// What the user is told besides the component's message; empty when every
// line was stored or there was no list.
QString NotaRegistrazione(const EsitoRegistrazione& esito);
