#pragma once

#include <QWidget>

class PannelloRicerca;
class RicercaTabulario;
class Tabulario;

// "Visualizza Documenti": finds documents in the archive and opens the one
// chosen with the program that prints PDF files.
class frmRistampa : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool RichiamoExt READ RichiamoExt WRITE setRichiamoExt)

public:
    explicit frmRistampa(QWidget* parent = nullptr);

    // When set, the chosen document is not opened: Valore hands its file
    // name to whoever opened the window.
    bool RichiamoExt() const;
    void setRichiamoExt(bool valore);

    PannelloRicerca* Pannello() const { return pannello_; }
    Tabulario* Trova() const;

signals:
    void Valore(const QString& strStampa);

private:
    void cmdCerca_Click();
    void ApriDocumento(const QString& strStampa);

    PannelloRicerca* pannello_;
    RicercaTabulario* ricerca_;
};
