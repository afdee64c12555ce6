#include "shell/SceltaFileDaSalvare.h"

#include "common/ServizioInstallabile.h"

#include <QFileDialog>

namespace {

class SelettoreQt : public SelettoreFileDaSalvare
{
public:
    QString Scegli(QWidget* proprietario, const QString& titolo, const QString& proposto,
                   const QString& filtro) override
    {
        return QFileDialog::getSaveFileName(proprietario, titolo, proposto, filtro);
    }
};

using Servizio = ServizioInstallabile<SelettoreFileDaSalvare, SelettoreQt>;

} // namespace

SelettoreFileDaSalvare& SelettoreFileDaSalvare::Attuale()
{
    return Servizio::Attuale();
}

void SelettoreFileDaSalvare::Installa(SelettoreFileDaSalvare* selettore)
{
    Servizio::Installa(selettore);
}

QString ScegliFileDaSalvare(QWidget* proprietario, const QString& titolo, const QString& proposto,
                           const QString& filtro)
{
    return SelettoreFileDaSalvare::Attuale().Scegli(proprietario, titolo, proposto, filtro);
}
