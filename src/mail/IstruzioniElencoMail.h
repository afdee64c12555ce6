#pragma once

#include "search/CriteriRicerca.h"

#include <QString>

// The list of sent e-mails: the statement on qryEmail for a search mode, its
// rows by client/supplier code and time of sending, and the line that heads
// the report. Modes 1, 2, 3 and 5; any other mode gives empty texts.

// Type, number and code trimmed and their quotes doubled; the year as typed.
QString IstruzioneElencoMail(ModoRicerca modo, const CriteriRicerca& criteri);
// The texts as typed; the type never shows.
QString TitoloElencoMail(ModoRicerca modo, const CriteriRicerca& criteri);
