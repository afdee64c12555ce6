#pragma once

#include <QString>

// Reads and writes single values of an INI file, as the settings component of
// the office workstations does: section and key names ignore case, a missing
// file, section or key reads as empty text, a write creates what is missing.
// A file written on Windows in its 8-bit code page is read as Windows-1252.

QString LeggiValoreIni(const QString& fileIni, const QString& sezione, const QString& chiave);

// Writes through a temporary file renamed over the old one, so a crash never
// leaves half a settings file. A file created here is readable by its owner
// only (Velmira.ini holds the mail password). Returns false, after telling the
// user, when the file cannot be written, is not a text file at all, or the
// value holds a line break or a NUL, which no line of the file can keep (the
// file is then left untouched rather than replaced).
bool ScriviValoreIni(const QString& fileIni, const QString& sezione, const QString& chiave,
                     const QString& valore);
