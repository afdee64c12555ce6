#include "shell/SelezionaCartella.h"

#include <QFileDialog>

namespace {

class SelettoreQt : public SelettoreCartella
{
public:
    QString Scegli(QWidget* proprietario, const QString& richiesta) override
    {
        return QFileDialog::getExistingDirectory(proprietario, richiesta);
    }
};

SelettoreCartella*& installato()
{
    static SelettoreQt qt;
    static SelettoreCartella* attuale = &qt;
    return attuale;
}

} // namespace

SelettoreCartella& SelettoreCartella::Attuale()
{
    return *installato();
}

void SelettoreCartella::Installa(SelettoreCartella* selettore)
{
    static SelettoreQt qt;
    installato() = selettore ? selettore : &qt;
}

QString SelezionaCartella(QWidget* proprietario, const QString& richiesta)
{
    return SelettoreCartella::Attuale().Scegli(proprietario, richiesta);
}
