#pragma once

#include <QString>

// A failure of the archive as the user sees it: a number and a description,
// shown as the number in decimal, one space and the description.
struct ErroreArchivio
{
    int numero = 0;
    QString descrizione;

    bool presente() const { return numero != 0 || !descrizione.isEmpty(); }
    QString testo() const { return QString::number(numero) + QLatin1Char(' ') + descrizione; }
};
