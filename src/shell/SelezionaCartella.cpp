#include "shell/SelezionaCartella.h"

#include "common/ServizioInstallabile.h"
#include "shell/DialogoCartella.h"

#include <QLineEdit>

namespace {

class SelettoreQt : public SelettoreCartella
{
public:
    QString Scegli(QWidget* proprietario, const QString& richiesta) override
    {
        DialogoCartella dialogo(proprietario, richiesta);
        return dialogo.exec() == QDialog::Accepted ? dialogo.Cartella() : QString();
    }
};

using ServizioSelettore = ServizioInstallabile<SelettoreCartella, SelettoreQt>;

} // namespace

SelettoreCartella& SelettoreCartella::Attuale()
{
    return ServizioSelettore::Attuale();
}

void SelettoreCartella::Installa(SelettoreCartella* selettore)
{
    ServizioSelettore::Installa(selettore);
}

QString SelezionaCartella(QWidget* proprietario, const QString& richiesta)
{
    return SelettoreCartella::Attuale().Scegli(proprietario, richiesta);
}

void SfogliaCartella(QWidget* proprietario, QLineEdit* campo, const QString& richiesta)
{
    const QString cartella = SelezionaCartella(proprietario, richiesta);
    if (!cartella.isEmpty())
        campo->setText(cartella);
}
