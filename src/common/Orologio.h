#pragma once

#include <QDateTime>
#include <functional>

// "Now" for everything that depends on today (default dates, the daily list
// name, the age of old lists). Tests set a clock of their own.
QDateTime Adesso();
void ImpostaOrologio(std::function<QDateTime()> orologio);
