#pragma once

#include "settings/Contesto.h"

#include <QWidget>

class PannelloRicerca;
class QCheckBox;
class QGroupBox;
class QPushButton;
class RicercaTabulario;
class Tabulario;

// "Visualizza Documenti": finds documents in the archive and opens the one
// chosen with the program that prints PDF files. It can also send the
// chosen document, or every document the search finds, straight to a
// printer, without opening a viewer for each.
class frmRistampa : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool RichiamoExt READ RichiamoExt WRITE setRichiamoExt)

public:
    explicit frmRistampa(const Contesto& contesto = {}, QWidget* parent = nullptr);

    // When set, the chosen document is not opened: Valore hands its file
    // name to whoever opened the window.
    bool RichiamoExt() const;
    void setRichiamoExt(bool valore);

    PannelloRicerca* Pannello() const { return pannello_; }
    Tabulario* Trova() const;

    QGroupBox* fraStampa;
    QCheckBox* chkStampaScelto;
    QPushButton* cmdStampaTutti;

signals:
    void Valore(const QString& strStampa);

private:
    void cmdCerca_Click();
    void ApriDocumento(const QString& strStampa);
    void cmdStampaTutti_Click();
    void StampaTrovati(const QString& istruzione);
    void Stampa(const QStringList& nomi);

    PannelloRicerca* pannello_;
    RicercaTabulario* ricerca_;
    bool stampaTutti_ = false;
};
