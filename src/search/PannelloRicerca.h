#pragma once

#include "search/CriteriRicerca.h"
#include "settings/Contesto.h"

#include <QWidget>
#include <array>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

// How one search window's panel differs from the others.
struct OpzioniPannello
{
    QString etichettaTipo = QStringLiteral("Tipo di documento :");
    QString testoChiudi = QStringLiteral("&Chiudi");
    int lunghezzaAnno = 4; // 0: no limit while typing (the check still wants 4)
    bool opzioneCasaRappresentata = false; // a fourth option, shown but never usable
    bool leggiImpostazioniEmail = false;   // the e-mail windows also need the account
};

// The search criteria panel shared by every search window: the search modes,
// the period, year, number, code and type, and the "Cerca" and close buttons.
//
// It is placed in its window (`finestra`) and looks after the window's load
// and activation: the archive paths are read when Carica() runs and carried
// on in contesto(), a window
// whose archive is missing closes itself as soon as it is shown, and the
// close button unloads the window.
class PannelloRicerca : public QWidget
{
    Q_OBJECT

public:
    PannelloRicerca(QWidget* finestra, const Contesto& contesto, const OpzioniPannello& opzioni = {});

    // Reads the archive paths (and the account when asked to), chooses the first mode, fills the type list and
    // sets today's dates. False (after the message) when the archive is missing.
    bool Carica();

    void ImpostaRicerca(ModoRicerca modo);
    // False (after a message) when the archive cannot be read.
    bool ImpostaModoIniziale();
    void CaricaCmbTipo();

    ModoRicerca Modo() const { return modo_; }
    int intModoRicerca() const { return int(modo_); }
    bool blnImpostazioniAssenti() const { return impostazioniAssenti_; }
    CriteriRicerca Criteri() const;
    // The paths and account read by the last Carica(), with the window's clock.
    const Contesto& contesto() const { return contesto_; }

    // Where a window puts its own controls, between the criteria and the buttons.
    QVBoxLayout* AreaAggiuntiva() const { return areaAggiuntiva_; }

    QGroupBox* Frame1;
    std::array<QRadioButton*, 4> optRicerca{};
    QGroupBox* FraRicerca;
    QDateEdit* dtData;
    QDateEdit* dtDataFin;
    QGroupBox* FraTipo;
    QLineEdit* txtAnno;
    QComboBox* cmbTipo;
    QLineEdit* txtDoc;
    QLineEdit* txtCodice;
    QPushButton* cmdCerca;
    QPushButton* cmdAnnulla;

signals:
    // "Cerca" clicked with every criterion acceptable.
    void Cerca();

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    bool AnnoValido() const;
    // The year check run as the field is left: false (after the message,
    // with the focus back in the field) for a bad year.
    bool ConvalidaAnno();
    // Whether "Cerca" and the close button may act on the year as it stands.
    bool AnnoAccettato();
    void AbilitaCasella(QLineEdit* casella, bool abilitata);
    void optRicerca_Click(int indice);
    void cmdCerca_Click();

    QWidget* finestra_;
    Contesto contesto_;
    QVBoxLayout* areaAggiuntiva_;
    ModoRicerca modo_ = ModoRicerca::Periodo;
    bool impostazioniAssenti_ = false;
    bool leggiEmail_;
    bool convalidaInCorso_ = false;
    bool giaMostrata_ = false;
};
