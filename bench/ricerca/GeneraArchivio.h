#pragma once

#include "common/Errore.h"

#include <QString>

// Fills a new archive with `righe` documents spread like an office's:
// a dozen types, a few thousand clients, sixteen years of dates, numbers
// counted per type and year. The same call always makes the same archive.
Errore GeneraArchivio(const QString& percorso, int righe);
