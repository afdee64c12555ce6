#pragma once

#include "app/StatoTastiera.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>
#include <span>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// The program's main window: every function opens in a child window inside
// it, from the File menu or the toolbar. Each time it becomes active it runs
// the start-up housekeeping (settings file, old lists).
class frmPrincipale : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmPrincipale(std::unique_ptr<StatoTastiera> tastiera = StatoTastiera::DelSistema(),
                           QWidget* parent = nullptr);
    ~frmPrincipale() override;

    // Tells which window the menu entry `nomeMenu` (e.g. "mnuFileImporta")
    // shows; `crea` builds it the first time. An entry with no window does
    // nothing.
    void RegistraFinestra(const QString& nomeMenu, std::function<QWidget*()> crea);

    // A toolbar button was clicked; the key picks the menu entry's handler.
    void ToolBar_ButtonClick(const QString& chiave);

    static const QString IndirizzoSito;

protected:
    void changeEvent(QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    // One toolbar button; a null key marks a separator.
    struct PulsanteBarra
    {
        const char* chiave;
        const char* suggerimento;
        void (frmPrincipale::*gestore)();
    };
    static std::span<const PulsanteBarra> PulsantiBarra();

    void CreaMenu();
    void CreaToolBar();
    QWidget* CreaPic();
    void CreaStatusBar();

    void mnuFileRistampa_Click();
    void mnuFileRicercaTesto_Click();
    void mnuFileEmail_Click();
    void mnuFileElencoMail_Click();
    void mnuFileSeleziona_Click();
    void mnuFileImpostazioni_Click();
    void mnuFileImporta_Click();
    void mnuFileEsci_Click();

    void MostraFinestra(const QString& nomeMenu);
    void Form_Activate();
    void Pic_Resize();
    void lblInternet_MouseMove();
    void lblInternet_Click();
    void AggiornaStatusBar();

    QMdiArea* AreaFinestre = nullptr;
    QMenu* mnuFile = nullptr;
    QToolBar* ToolBar = nullptr;
    QWidget* Pic = nullptr;
    QLabel* lblInternet = nullptr;
    QLabel* Pannelli[5] = {};

    std::unique_ptr<StatoTastiera> tastiera_;
    QHash<QString, std::function<QWidget*()>> creatori_;
    QHash<QString, QPointer<QMdiSubWindow>> aperte_;
};
