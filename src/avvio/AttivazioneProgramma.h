#pragma once

#include <QDateTime>

// What the main window does each time it becomes active: make sure the
// settings file holds how long list files are kept, then delete the older
// ones from the folder `elenchi` of the program's folder.
//
// On the very first start it only creates Velmira.ini with
// [EliminaTemp] Durata=7 and cleans nothing. An empty Durata is written back
// as 7. A Durata that is not a whole number from 0 to 32767 counts as 7 and is
// left as the user wrote it: a mistyped value must not wipe today's lists.
//
// Returns false when the settings file could not be written (the user has
// already been told by the settings layer).
bool AttivazioneProgramma(const QDateTime& adesso);
