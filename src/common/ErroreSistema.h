#pragma once

#include <QString>

class QFileDevice;

// A failure of the system in the user's words: the usual causes in Italian
// ("disco pieno"...), any other by its number. No English text of the
// system's reaches a message.
QString TestoErroreSistema(int numero);

// Why the last operation on `file` failed, in the same words. Qt gives the
// system's own text for the error of the failing call: it is told back to
// its number here.
QString TestoErroreFile(const QFileDevice& file);
