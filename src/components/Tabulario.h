#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;
class QTimer;
class TabularioModello;
struct Errore;

// The lookup list: shows the rows of a statement and hands back the row the
// user chooses. Set the connection, the statement and the title, then call
// Mostra(); ValoreDiRitorno arrives once, with the chosen row's fields
// (element 0 is its first column) or with one empty text when the user
// closes the list without choosing.
//
// The first rows show at once; the rest are read in the background, so that
// a search of a hundred thousand rows never freezes the program. A header
// click sorts, the filter box narrows the rows to those containing its text,
// Enter or a double click chooses, Esc closes.
class Tabulario : public QDialog
{
    Q_OBJECT

public:
    explicit Tabulario(QWidget* genitore = nullptr);
    ~Tabulario() override;

    void Connessione(const QString& stringaConnessione);
    void Sql(const QString& istruzione);
    void Titolo(const QString& titolo);
    void Mostra();

    QString StringaConnessione() const { return connessione_; }
    QString Istruzione() const { return istruzione_; }

    // The rows as listed now (filtered and sorted), as the user reads them.
    int RigheElencate() const;
    QStringList RigaElencata(int riga) const;
    // Chooses the listed row, as a double click on it does.
    void Scegli(int riga);

signals:
    void ValoreDiRitorno(const QStringList& strValoreDiRitorno);

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

public slots:
    void reject() override;

private:
    void ScegliCorrente();
    void Filtra(const QString& testo);
    void Concludi(const QStringList& valore);
    void LeggiAncora();
    void AggiornaConteggio();

    QString connessione_;
    QString istruzione_;
    TabularioModello* modello_;
    QSortFilterProxyModel* filtro_;
    QLineEdit* txtFiltro_;
    QTableView* tabella_;
    QLabel* lblConteggio_;
    QTimer* lettura_;
    bool concluso_ = false;
};

// A search the archive could not run, told to the user.
void MostraErroreRicerca(const Errore& errore);
