#pragma once

#include "settings/Contesto.h"

class frmPrincipale;

// Tells the main window which child window each menu entry shows. The
// windows start from `contesto` (its clock; the paths and the account each
// window reads from the settings file as it loads).
void RegistraFinestreProgramma(frmPrincipale& principale, const Contesto& contesto = {});
