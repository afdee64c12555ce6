#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class cImporta;

// "Importa Documenti": the three places an import needs, the start and
// cancel buttons, and the progress of the run under way.
class frmImporta : public QWidget
{
    Q_OBJECT

public:
    explicit frmImporta(QWidget* parent = nullptr);
    ~frmImporta() override;

    // The engine's CartellaPDF, Database and FileIni, from the boxes as typed.
    QStringList PercorsiImportazione() const;

    QGroupBox* fraImposta;
    QLabel* Label2[3];
    QLineEdit* txtPercorsoCartella;
    QPushButton* cmdPercorsoCartella;
    QLineEdit* txtDatabase;
    QPushButton* cmdPercorsoDatabase;
    QLineEdit* txtBaseDati;
    QPushButton* cmdOK;
    QPushButton* cmdAnnulla;
    QProgressBar* prgAvanzamento;

protected:
    void closeEvent(QCloseEvent* evento) override;

private:
    void cmdOK_Click();
    void cmdAnnulla_Click();
    void cmdPercorsoCartella_Click();
    void cmdPercorsoDatabase_Click();
    void Form_Load();
    void ImpostaInEsecuzione(bool inEsecuzione);

    QPointer<cImporta> objImporta;
    bool inEsecuzione_ = false;
};
