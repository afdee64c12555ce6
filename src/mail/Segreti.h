#pragma once

#include <QByteArray>
#include <QString>

// The mail helper holds the SMTP password for the length of a dispatch. It
// leaves no core file behind and no other program of the same user can read
// its memory; the copies it no longer needs are wiped, not just released.

// Non-dumpable and without core files, from the very start.
void ProteggiProcesso();

// Overwrites the bytes in place (the text stays, emptied of its content).
void AzzeraSegreto(QByteArray& segreto);
void AzzeraSegreto(QString& segreto);

// Memory functions for libcurl (with malloc and calloc) that wipe every
// block they release, so that curl's copies of the password and of the login
// do not outlive their use.
void LiberaSegreto(void* blocco);
void* RiallocaSegreto(void* blocco, size_t dimensione);
char* DuplicaSegreto(const char* testo);
