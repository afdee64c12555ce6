#pragma once

#include "components/Corvex.h"
#include "settings/Contesto.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QGroupBox;
class QLabel;
class QMdiSubWindow;
class QPdfDocument;
class QPdfView;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class Recordset;

// "Invio email...": the documents found by the e-mail search, each with a
// tick box, a preview of the PDF on a right click and an address that can be
// changed; "Invia" hands the ticked ones to the mail component and closes.
// The list is built again from the result set at every activation, so every
// row comes back ticked with the archive's address.
class frmAnteprima : public QWidget
{
    Q_OBJECT

public:
    explicit frmAnteprima(QWidget* parent = nullptr);
    ~frmAnteprima() override;

    // The result set of the search, which the window keeps open, and the
    // paths, account and clock the search window loaded with.
    void setREcoR(std::unique_ptr<Recordset> recordset, const Contesto& contesto);

    // The ticked rows: full path and recipient of each, in list order.
    TabellaInvio DocumentiSelezionati() const;
    QTreeWidgetItem* RigaCorrente() const { return rigaCorrente_; }

    QTreeWidget* lista;
    QLabel* Label1;
    // The current document's earlier sendings, with where each stands.
    QLabel* lblStato;
    QGroupBox* fraAnteprima;
    QPdfView* WebBrowser;
    QPushButton* cmdAddEmail;
    QPushButton* cmdAnnulla;
    QPushButton* cmdOk;

signals:
    // The window is closing, whether it sent or not.
    void Scaricata();

protected:
    void closeEvent(QCloseEvent* evento) override;
    bool event(QEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void Form_Activate();
    void lista_Click(QTreeWidgetItem* riga);
    void lista_MouseUp();
    void cmdAddEmail_Click();
    void cmdOk_Click();
    void SeguiAttivazione(QMdiSubWindow* attivata);
    bool MostraDocumento(QTreeWidgetItem* riga);
    void NascondiDocumento();
    void MostraStato(QTreeWidgetItem* riga);
    int ColonnaEmail() const;

    std::unique_ptr<Recordset> rEcoR_;
    Contesto contesto_;
    QPdfDocument* documento_;
    QTreeWidgetItem* rigaCorrente_ = nullptr;
    QPointer<QMdiSubWindow> ultimaAttiva_;
    bool seguiAttivazione_ = false;
};

// Sets or clears the bold of a row and of every one of its columns.
void EvidenziaRiga(QTreeWidgetItem* riga, bool attiva);
