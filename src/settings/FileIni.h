#pragma once

#include <QString>

// Reads and writes single values of an INI file, as the settings component of
// the office workstations does: section and key names ignore case, a missing
// file, section or key reads as empty text, a write creates what is missing.
// A file written on Windows in its 8-bit code page is read as Windows-1252.

QString LeggiValoreIni(const QString& fileIni, const QString& sezione, const QString& chiave);

// A file that is not a settings file (a note, a binary) reads as empty
// values. Each distinct problem with a file is told to the user once, not at
// every read: a different one, or the same one after the file worked again,
// is told anew.

// Writes through a temporary file renamed over the old one, so a crash never
// leaves half a settings file. Only the line of the value changes (or one
// line, or a section, is added): every other line, the encoding and the line
// ends stay. The file is left readable by its owner only (Velmira.ini holds
// the mail password), whoever made it. A file that is not a settings file is
// kept aside under another name, the user is told, and a new one is made.
// Returns false, after telling the user, when the value could not be saved.
bool ScriviValoreIni(const QString& fileIni, const QString& sezione, const QString& chiave,
                     const QString& valore);
