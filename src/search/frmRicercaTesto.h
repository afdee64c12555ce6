#pragma once

#include "archive/FraseCercata.h"
#include "search/RicercaTesto.h"
#include "settings/Contesto.h"

#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;


// "Ricerca nel testo dei documenti": finds documents by the words of their
// text, optionally of one type and period, and lists them newest first with
// a piece of text around the words found; Enter or a double click opens the
// document as "Visualizza Documenti" does.
class frmRicercaTesto : public QWidget
{
    Q_OBJECT

public:
    explicit frmRicercaTesto(const Contesto& contesto = {}, QWidget* parent = nullptr);

    QLineEdit* txtParole;
    QComboBox* cmbTipo;
    QCheckBox* chkPeriodo;
    QDateEdit* dtDal;
    QDateEdit* dtAl;
    QPushButton* cmdCerca;
    QTableWidget* lstDocumenti;
    QLabel* lblTrovati;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void cmdCerca_Click();
    void CaricaTipi();
    // The pieces of text of the rows in sight that have none yet.
    void CompletaEstratti();
    void ApriDocumento(int riga);

    Contesto contesto_;
    QList<FraseCercata> frasi_;
    ArchivioTesti archivio_;
};
