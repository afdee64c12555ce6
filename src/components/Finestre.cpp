#include "components/Finestre.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

namespace {
QWidget* cornice(QWidget* finestra)
{
    if (auto* sotto = qobject_cast<QMdiSubWindow*>(finestra->parentWidget()))
        return sotto;
    return finestra;
}
}

void SpostaInAltoASinistra(QWidget* finestra)
{
    cornice(finestra)->move(0, 0);
}

void ScaricaFinestra(QWidget* finestra)
{
    QWidget* daChiudere = cornice(finestra);
    daChiudere->setAttribute(Qt::WA_DeleteOnClose);
    daChiudere->close();
}
