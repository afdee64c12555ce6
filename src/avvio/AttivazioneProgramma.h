#pragma once

#include <QDateTime>

// What the main window does each time it becomes active: make sure the
// settings file holds how long list files are kept, then delete the older
// ones from the folder `elenchi` of the program's folder.
//
// On the very first start it only creates Velmira.ini with
// [EliminaTemp] Durata=7 and cleans nothing. An empty Durata is written back
// as 7. Durata is read as a 16-bit whole number (7.6 is 8; a negative period
// deletes every list, today's too); a text that is no number, or out of
// range, counts as 7 and is left as the user wrote it.
//
// Returns false when the settings file could not be written (the user has
// been told by the settings layer, once: a later activation cleans anyway).
bool AttivazioneProgramma(const QDateTime& adesso);
