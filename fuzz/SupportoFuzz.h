#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// What every fuzz target stands on: a Qt application object, a private
// temporary folder that also serves as the program's folder, and message
// boxes that stay silent (a fuzzer shows thousands of them a second).

// Call once, from LLVMFuzzerInitialize.
void PreparaAmbienteFuzz();
// The temporary folder; files written there are reused by every run.
QString CartellaFuzz();
// Writes `dati` into `nome` of the temporary folder, replacing it; the path.
QString ScriviFileFuzz(const QString& nome, const uint8_t* dati, size_t dimensione);
// Messages the program showed since the last call.
QStringList MessaggiMostrati();

// Bytes read as UTF-8 (invalid sequences become U+FFFD).
QString TestoDaByte(const uint8_t* dati, size_t dimensione);
// The text split into lines at \n; `quante` lines at least, empty ones added.
QStringList RigheFuzz(const QString& testo, int quante);

// A property that must hold does not: prints it with the details and aborts,
// so libFuzzer keeps the input as a crash.
[[noreturn]] void Violazione(const char* regola, const QString& dettagli);
