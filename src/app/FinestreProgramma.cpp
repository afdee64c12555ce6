#include "app/FinestreProgramma.h"

#include "app/IndicatoreIndice.h"
#include "app/frmPrincipale.h"
#include "import/frmImporta.h"
#include "mail/IndicatoreInvio.h"
#include "mail/frmListaMail.h"
#include "mail/frmRiEmail.h"
#include "search/frmRicercaTesto.h"
#include "search/frmRistampa.h"
#include "search/frmSelStampe.h"
#include "settings/frmImposta.h"

#include <QStatusBar>

void RegistraFinestreProgramma(frmPrincipale& principale, const Contesto& contesto)
{
    principale.RegistraFinestra(QStringLiteral("mnuFileRistampa"), [contesto] { return new frmRistampa(contesto); });
    principale.RegistraFinestra(QStringLiteral("mnuFileRicercaTesto"),
                                [contesto] { return new frmRicercaTesto(contesto); });
    principale.RegistraFinestra(QStringLiteral("mnuFileSeleziona"), [contesto] { return new frmSelStampe(contesto); });
    principale.RegistraFinestra(QStringLiteral("mnuFileImporta"), [] { return new frmImporta; });
    principale.RegistraFinestra(QStringLiteral("mnuFileImpostazioni"), [] { return new frmImposta; });
    principale.RegistraFinestra(QStringLiteral("mnuFileElencoMail"), [contesto] { return new frmListaMail(contesto); });
    principale.RegistraFinestra(QStringLiteral("mnuFileEmail"), [contesto] { return new frmRiEmail(contesto); });
    IndicatoreInvio::Installa(principale.statusBar());
    IndicatoreIndice::Installa(principale.statusBar());
}
