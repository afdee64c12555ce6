#pragma once

#include "settings/Contesto.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class PannelloRicerca;
class Recordset;
class frmAnteprima;

// "Invia Documenti via email...": finds the documents to send and hands them
// to the preview, staying hidden, its criteria kept, until the preview closes.
class frmRiEmail : public QWidget
{
    Q_OBJECT

public:
    explicit frmRiEmail(const Contesto& contesto = {}, QWidget* parent = nullptr);

    PannelloRicerca* Pannello() const { return pannello_; }
    frmAnteprima* Anteprima() const;

private:
    void cmdCerca_Click();
    void MostraAnteprima(std::unique_ptr<Recordset> recordset);

    PannelloRicerca* pannello_;
    QPointer<frmAnteprima> anteprima_;
};
