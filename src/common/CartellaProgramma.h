#pragma once

#include <QString>

// What a folder of the program is wanted for.
enum class UsoCartella {
    Programma,    // what ships with the program (the link cursor, the report layout)
    Impostazioni, // Velmira.ini
    Dati,         // lists and logs: ElencoFileImp.txt, elenchi/, the mail lists
};

// The program's own folder is the folder of the running executable unless
// someone (a test, `velmira importa --cartella-programma`) names another.
// Settings, lists and logs live there while the program may write there
// (the portable way). An installed program's folder is not the user's to
// write: settings then go to ~/.config/ClientVelmira and lists and logs to
// ~/.local/share/ClientVelmira (or where XDG_CONFIG_HOME and XDG_DATA_HOME
// say), made on first use. A folder that does not exist is still answered,
// so that whoever writes there tells the user it is missing.
QString CartellaProgramma(UsoCartella uso);
void ImpostaCartellaProgramma(const QString& cartella);

// A file that ships with the program and that a user may replace with a copy
// of their own: the user's copy among their lists first, then the one beside
// the program.
QString FileProgramma(const QString& nome);

// Joins a folder and a name with the platform's separator, exactly as typed:
// a folder that already ends in a separator gives a doubled one, on purpose,
// so that every path the user sees matches what the office is used to.
QString UnisciPercorso(const QString& cartella, const QString& nome);
