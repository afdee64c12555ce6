#pragma once

#include "settings/Contesto.h"

#include <QWidget>

class PannelloRicerca;
class QProcess;
class QPushButton;

// "Elenco Email": the e-mails sent, chosen on the search panel and shown as
// a printable report.
class frmListaMail : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool RichiamoExt MEMBER RichiamoExt)

public:
    explicit frmListaMail(const Contesto& contesto = {}, QWidget* parent = nullptr);

    PannelloRicerca* Pannello() const { return pannello_; }
    // "Aggiorna ricevute": reads the certified-mail receipts arrived since
    // (velmira ricevute, beside the program) and says what it found.
    QPushButton* cmdRicevute;
    // The command-line tool that reads them: beside the program unless set.
    QString eseguibileVelmira;

    // Kept for the programs that set it on every search window; nothing reads it here.
    bool RichiamoExt = false;

private:
    void cmdCerca_Click();
    // Fills the report with the rows of `istruzione` and shows it.
    void VisualizzaReport(const QString& istruzione);

    void cmdRicevute_Click();

    PannelloRicerca* pannello_;
    QProcess* lettura_ = nullptr;
};
