#include "app/FinestreProgramma.h"

#include "app/frmPrincipale.h"
#include "import/frmImporta.h"
#include "mail/IndicatoreInvio.h"
#include "mail/frmListaMail.h"
#include "mail/frmRiEmail.h"
#include "search/frmRistampa.h"
#include "search/frmSelStampe.h"
#include "settings/frmImposta.h"

#include <QStatusBar>

void RegistraFinestreProgramma(frmPrincipale& principale)
{
    principale.RegistraFinestra(QStringLiteral("mnuFileRistampa"), [] { return new frmRistampa; });
    principale.RegistraFinestra(QStringLiteral("mnuFileSeleziona"), [] { return new frmSelStampe; });
    principale.RegistraFinestra(QStringLiteral("mnuFileImporta"), [] { return new frmImporta; });
    principale.RegistraFinestra(QStringLiteral("mnuFileImpostazioni"), [] { return new frmImposta; });
    principale.RegistraFinestra(QStringLiteral("mnuFileElencoMail"), [] { return new frmListaMail; });
    principale.RegistraFinestra(QStringLiteral("mnuFileEmail"), [] { return new frmRiEmail; });
    IndicatoreInvio::Installa(principale.statusBar());
}
