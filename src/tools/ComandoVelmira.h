#pragma once

#include <QStringList>
#include <cstdio>

// The command-line tool `velmira`: imports documents, creates archives and searches them
// without any window, for scheduled jobs and other programs.
//
// Exit status of `importa`: 0 when every file was handled, 3 when the run
// went to its end but some files were not archived (or the clean-up failed
// or was skipped), 1 when an error stopped the run, 2 when a path failed its
// check or the command line is wrong.
// `cerca` prints what a search finds: 0 when it ran, 1 when the archive could
// not be read, 2 for a wrong command line.
// `sorveglia` runs until SIGTERM or SIGINT, then returns 0; 2 as above.
int EseguiVelmira(const QStringList& argomenti, std::FILE* uscita, std::FILE* errori);
