#pragma once

#include <QString>

enum class EsitoCopia { Copiato, SpazioEsaurito, Errore };

struct RisultatoCopia
{
    EsitoCopia esito = EsitoCopia::Copiato;
    QString descrizione; // the system's reason when the copy failed
};

// Copies a file, replacing one of the same name, so that the destination is
// always either what it was before or the whole new copy: the data goes to a
// temporary name beside it first and takes the real name only when complete.
// A failed copy leaves no temporary file behind.
RisultatoCopia CopiaDocumento(const QString& sorgente, const QString& destinazione);
