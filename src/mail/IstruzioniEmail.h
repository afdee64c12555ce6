#pragma once

#include "search/CriteriRicerca.h"

#include <QString>

// The statement on Posta that the e-mail search hands to the preview. Modes
// 1, 2 and 3 list what the reprint window lists; mode 5 lists the number,
// date, code and address of documents without a type. Every statement ends
// with the column email. Any other mode gives an empty text.
QString IstruzioneEmail(ModoRicerca modo, const CriteriRicerca& criteri);
