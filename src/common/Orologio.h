#pragma once

#include <QDateTime>
#include <functional>

// "Now" for everything that depends on today (default dates, the daily list
// name, the age of old lists). Tests set a clock of their own.
QDateTime Adesso();
void ImpostaOrologio(std::function<QDateTime()> orologio);

// Reads the workstation's time zone once for the whole run. Without it the C
// library reads the zone file again at every local-time conversion, and a
// report of ten thousand sendings makes tens of thousands of them.
void FissaFusoOrario();
