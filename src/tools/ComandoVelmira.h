#pragma once

#include <QStringList>
#include <cstdio>

// The command-line tool `velmira`: imports documents and creates archives
// without any window, for scheduled jobs and other programs.
//
// Exit status of `importa`: 0 when every file was handled, 3 when the run
// went to its end but some files were not archived (or the clean-up failed
// or was skipped), 1 when an error stopped the run, 2 when a path failed its
// check or the command line is wrong.
// `sorveglia` runs until SIGTERM or SIGINT, then returns 0; 2 as above.
int EseguiVelmira(const QStringList& argomenti, std::FILE* uscita, std::FILE* errori);
