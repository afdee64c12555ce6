#pragma once

#include "components/Corvex.h"

#include <QByteArray>
#include <QString>
#include <optional>

// What the program hands the mail helper on its standard input (never on its
// command line, where the password would show in the process list), and the
// lines the helper writes back on its standard output while it works.

// Seconds the dispatch waits for a server that does not answer: for the
// connection, and once for a reply during the dialogue.
inline constexpr int attesaServerPredefinita = 45;

struct RichiestaPosta : ValoriCorvex
{
    QString CertificatoCA;     // a CA file for an office's own server; empty: the system's store
    QString CartellaProgramma; // where the list of messages sent goes
    QString CartellaPDF;       // the documents' folder: nothing outside it is mailed
    int AttesaServer = attesaServerPredefinita; // seconds a silent server is waited for, once a dispatch
    TabellaInvio tabella;
};

// One JSON document; the helper reads its standard input to the end.
QByteArray CodificaRichiesta(const RichiestaPosta& richiesta);
// Nothing when the text is not a request (a column count that differs between
// paths and recipients included).
std::optional<RichiestaPosta> DecodificaRichiesta(const QByteArray& testo);

// One line of the helper's output: a document settled (its column of the
// table and its line of the list of messages sent), or the end with the
// closing message.
struct RigaUscitaPosta
{
    bool fine = false;
    int fatti = 0;
    int totale = 0;
    int colonna = 0;
    QString elenco;
    bool esito = false;
    QString messaggio;
    bool elencoScritto = true; // false: the list of messages sent could not be written
};

QByteArray RigaAvanzamento(int fatti, int totale, int colonna, const QString& elenco);
QByteArray RigaFine(bool esito, const QString& messaggio, bool elencoScritto = true);
std::optional<RigaUscitaPosta> LeggiRigaUscitaPosta(const QByteArray& riga);
