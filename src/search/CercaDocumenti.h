#pragma once

#include "common/Errore.h"
#include "search/CriteriRicerca.h"

#include <QString>
#include <functional>

// The documents a search of the reprint window finds, in the order it lists
// them, each as one line of five fields separated by a tab: file name, type,
// number, date as dd/MM/yyyy and code. For scripts and for checking one
// archive against another. Stops at the first error reading the archive.
Errore CercaDocumenti(const QString& database, ModoRicerca modo, const CriteriRicerca& criteri,
                              const std::function<void(const QString& riga)>& riga);
