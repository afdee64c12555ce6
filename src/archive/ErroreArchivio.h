#pragma once

#include <QString>

// What kind of failure an archive error is, for callers that must decide
// whether to wait, go on with the next row or stop.
enum class NaturaErrore {
    Ordinaria, // this statement failed (a refused value, a bad statement)
    Bloccato,  // another program or workstation holds the lock: it may pass
    Grave      // the archive itself failed (full disk, damage, I/O): going on is pointless
};

// A failure of the archive as the user sees it: a number and a description,
// shown as the number in decimal, one space and the description.
struct ErroreArchivio
{
    int numero = 0;
    QString descrizione;
    NaturaErrore natura = NaturaErrore::Ordinaria;

    bool presente() const { return numero != 0 || !descrizione.isEmpty(); }
    bool grave() const { return natura == NaturaErrore::Grave; }
    bool bloccato() const { return natura == NaturaErrore::Bloccato; }
    QString testo() const { return QString::number(numero) + QLatin1Char(' ') + descrizione; }
};
