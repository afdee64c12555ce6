#pragma once

#include "archive/ErroreArchivio.h"

#include <QString>

// Fills a new archive with `righe` documents spread like an office's:
// a dozen types, a few thousand clients, sixteen years of dates, numbers
// counted per type and year. The same call always makes the same archive.
ErroreArchivio GeneraArchivio(const QString& percorso, int righe);
