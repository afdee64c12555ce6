#pragma once

#include "common/Orologio.h"
#include "settings/Impostazioni.h"

// What the windows and the pieces they call need to know about where they
// work, handed to them instead of kept in shared variables. The program
// builds one at start and again when the settings are saved; a search window
// reads the file again when it loads and hands its own copy on, so a value
// changed in Velmira.ini is seen by the next window that loads.
struct Contesto
{
    QString strDatabase;    // the archive file, dati.mdb in the DataBase folder
    QString strCartellaPDF; // the folder of the documents' PDF files
    EmailImpostazioni email;
    Orologio adesso = Adesso;
};

// The paths, and with `conEmail` the e-mail account, as Velmira.ini says
// them now; the clock stays the one of `base`.
Contesto LeggiContesto(const Contesto& base = {}, bool conEmail = true);
