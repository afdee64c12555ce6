#pragma once

#include <QCursor>

// The pointer shown over the link to the web site: the cursor file link.cur
// of the program's folder when it can be read, else the usual pointing hand.
// The file is read at every call, so a cursor put there later is used at once.
QCursor CursoreCollegamento();
