#pragma once

#include <QString>

// The program's own folder: Velmira.ini, ElencoFileImp.txt, elenchi/ and
// link.cur live there. It is the folder of the running executable unless
// someone (a test, `velmira importa --cartella-programma`) names another.
QString CartellaProgramma();
void ImpostaCartellaProgramma(const QString& cartella);

// Joins a folder and a name with the platform's separator, exactly as typed:
// a folder that already ends in a separator gives a doubled one, on purpose,
// so that every path the user sees matches what the office is used to.
QString UnisciPercorso(const QString& cartella, const QString& nome);
