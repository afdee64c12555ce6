#pragma once

#include <QMainWindow>
#include <memory>

class DocumentoReport;
class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;
class QToolBar;

// The pages of a report, one under the other; only the pages in sight are
// painted, so a report of a thousand pages scrolls as lightly as one of two.
class PagineReport : public QWidget
{
    Q_OBJECT

public:
    PagineReport(std::shared_ptr<const DocumentoReport> documento, QWidget* genitore);

    // Screen pixels per unit of the report.
    void ImpostaScala(double scala);
    double Scala() const { return scala_; }
    int AltoPagina(int pagina) const;
    int PaginaA(int y) const;

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    QSize DimensionePagina() const;

    std::shared_ptr<const DocumentoReport> documento_;
    double scala_ = 0.1;
};

// The preview window of a report: pages, zoom, printing and PDF export. A
// main window of its own, so that screen readers meet it as a window named
// by its title.
class frmAnteprimaReport : public QMainWindow
{
    Q_OBJECT

public:
    frmAnteprimaReport(std::shared_ptr<const DocumentoReport> documento, const QString& titolo,
                       QWidget* genitore = nullptr);

    const DocumentoReport& Documento() const { return *documento_; }
    int PaginaCorrente() const { return pagina_; }
    void VaiAPagina(int pagina); // from 0

    // Writes every page into `percorso`; tells the user when it cannot.
    bool EsportaPdf(const QString& percorso);

    QToolBar* barra;
    QSpinBox* spnPagina;
    QLabel* lblPagine;
    QComboBox* cmbZoom;
    QScrollArea* areaPagine;
    PagineReport* pagine;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void ApplicaZoom();
    void Stampa();
    void ChiediEsportaPdf();
    void AggiornaPagina();

    std::shared_ptr<const DocumentoReport> documento_;
    QString titolo_;
    int pagina_ = 0;
    bool scorrimentoProprio_ = false; // the window itself is scrolling to a page
};
