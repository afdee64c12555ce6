#include "components/Finestre.h"

#include <QMdiArea>
#include <QMdiSubWindow>
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

void NascondiFinestra(QWidget* finestra)
{
    cornice(finestra)->hide();
}

void RiprendiFinestra(QWidget* finestra)
{
    QWidget* esterna = cornice(finestra);
    // Whichever of the two was hidden comes back.
    finestra->show();
    if (esterna->isMinimized())
        esterna->setWindowState(esterna->windowState() & ~Qt::WindowMinimized);
    esterna->show();
    auto* sotto = qobject_cast<QMdiSubWindow*>(esterna);
    if (sotto && sotto->mdiArea())
        sotto->mdiArea()->setActiveSubWindow(sotto);
    else
        esterna->activateWindow();
    esterna->raise();
}
