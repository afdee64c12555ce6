#pragma once

class frmPrincipale;

// Tells the main window which child window each menu entry shows.
void RegistraFinestreProgramma(frmPrincipale& principale);
