#pragma once

#include <QString>

// What RegistraInvii did with the mail component's list of messages sent.
struct EsitoRegistrazione
{
    QString file;       // the list read; empty when there was none
    int registrate = 0; // lines stored in EmailInviate
    int incomplete = 0; // lines with fewer than five fields
    int rifiutate = 0;  // lines the archive did not take
    QString errore;     // why the first line or the whole list was not taken
    bool conservato = false; // the file stays, holding only the lines not stored
};

// Stores the first list found in the program's folder (a file whose name
// contains "ElencoMail") into EmailInviate, one row per line: fields joined
// by " - ", date of sending, sender (not read), recipient, outcome, full path
// of the document. The file goes only when every line was stored; otherwise
// it is written again with the lines not stored, so that a later run stores
// them without storing the others twice.
EsitoRegistrazione RegistraInvii();

// What the user is told besides the component's message; empty when every
// line was stored or there was no list.
QString NotaRegistrazione(const EsitoRegistrazione& esito);
