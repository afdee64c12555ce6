#pragma once

#include <QWidget>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;

// "Imposta cartella documenti...": the two server folders and the e-mail
// account and message, read from Velmira.ini when the window opens and
// written back, as typed, on "Conferma".
class frmImposta : public QWidget
{
    Q_OBJECT

public:
    explicit frmImposta(QWidget* parent = nullptr);

    // The text of txtEmail(indice), whichever kind of box it is.
    QString TestoEmail(int indice) const;

    QTabWidget* ssTabMail;
    QGroupBox* fraImposta;
    QLineEdit* txtPercorsoCartella;
    QPushButton* cmdPercorsoCartella;
    QLineEdit* txtDatabase;
    QPushButton* cmdPercorsoDatabase;
    QGroupBox* Frame15;
    // 0 SMTP, 1 UserID, 2 Password, 3 Indirizzo, 4 Oggetto, 5 Messaggio (a
    // box of several lines), 6 Porta.
    std::array<QWidget*, 7> txtEmail{};
    QPushButton* cmdOK;
    QPushButton* cmdAnnulla;

private:
    void Form_Load();
    void cmdOK_Click();
    void ImpostaEmail(int indice, const QString& testo);
    QPlainTextEdit* Messaggio() const;

    // The e-mail keys in the order of the boxes (the message has its own conversion).
    static const std::array<QString, 7> chiaviEmail;
};
