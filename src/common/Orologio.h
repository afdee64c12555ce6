#pragma once

#include <QDateTime>
#include <functional>

// A source of "now", handed to whatever stamps a time.
using Orologio = std::function<QDateTime()>;

// The program's clock: the workstation's, or the one a test set.
QDateTime Adesso();
void ImpostaOrologio(Orologio orologio);

// Reads the workstation's time zone once for the whole run. Without it the C
// library reads the zone file again at every local-time conversion, and a
// report of ten thousand sendings makes tens of thousands of them.
void FissaFusoOrario();
