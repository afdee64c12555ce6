#pragma once

#include <QString>

class QFileDevice;

// A failure of the system in the user's words: the usual causes in Italian
// ("disco pieno"...), any other by its number. No English text of the
// system's reaches a message.
QString TestoErroreSistema(int numero);

// The system's own text of an error (alone or after a "call: " prefix, as
// Qt gives it) in the same words; empty when it is not one.
QString TraduciErroreSistema(const QString& testo);

// Why the last operation on `file` failed, in the same words. Qt gives the
// system's own text for the error of the failing call: it is told back to
// its number here.
QString TestoErroreFile(const QFileDevice& file);
