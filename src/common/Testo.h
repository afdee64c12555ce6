#pragma once

#include <QDate>
#include <QVariant>
#include <QString>
#include <optional>

// Reading texts the way an Italian office workstation reads them.

// A text "accepted as a date": day/month/year with '/', '-' or '.' between a
// one- or two-digit day and month and a two- or four-digit year (00-29 are
// the 2000s, 30-99 the 1900s), or year/month/day with the four-digit year
// first. Eight digits in a row are not a date.
std::optional<QDate> InterpretaData(const QString& testo);

// Numeric text: optional blanks around, optional sign, digits, an optional
// decimal part ('.' or ',') and an optional exponent.
bool TestoNumerico(const QString& testo);

// A numeric text made a 32-bit whole number, rounding half to even; nothing
// when the text is not numeric or the value lies outside the 32-bit range.
std::optional<qint32> InteroDaTesto(const QString& testo);

// A 16-bit whole number read from a text such as a settings value: digits
// with an optional sign and blanks around; nothing for anything else.
std::optional<qint16> Intero16DaTesto(const QString& testo);

// A field's value as the user reads it: dates as dd/MM/yyyy, dates with a
// time in `formatoDataOra`, numbers with a decimal comma, nulls as empty text.
QString TestoDelCampo(const QVariant& valore,
                      const QString& formatoDataOra = QStringLiteral("dd/MM/yyyy HH:mm"));
