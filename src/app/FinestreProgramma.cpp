#include "app/FinestreProgramma.h"

#include "app/frmPrincipale.h"

void RegistraFinestreProgramma(frmPrincipale&)
{
}
