#pragma once

#include "common/Errore.h"

// The archive's errors are the program's Errore; the import and the mail
// list still name them this way until their own errors take the same shape.
using ErroreArchivio = Errore;
