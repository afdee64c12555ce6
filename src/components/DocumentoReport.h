#pragma once

#include "components/DatiReport.h"
#include "components/LayoutReport.h"

#include <QDateTime>
#include <QFont>
#include <QHash>
#include <QSizeF>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QRectF;

// A report laid out in pages: the rows are measured and cut into pages once,
// when it is made, so that showing or printing any page only paints that
// page. Pages are drawn in units of 1/720 inch from the paper's top-left
// corner, whatever the device.
//
// On every page: the title, the column headers, the rows (a band before each
// new group, repeated with "(segue)" when a group goes on from the page
// before) and the footer. A text wider than its column wraps, up to the
// column's lines; what still does not fit ends in "…".
class DocumentoReport
{
public:
    static constexpr double UnitaPerPollice = 720;

    // `parametri`: names in upper case. `stampato`: the moment {DATA} prints.
    DocumentoReport(const LayoutReport& layout, DatiReport dati, const QHash<QString, QString>& parametri,
                    const QDateTime& stampato);
    ~DocumentoReport();

    class Misura;

    int NumeroPagine() const { return int(pagine_.size()); }
    QSizeF DimensionePagina() const; // in units
    QString Titolo() const { return titolo_; }

    // `pagina` counts from 0.
    void DisegnaPagina(QPainter& pittore, int pagina) const;

    // Every page, or the printer's page range when the user chose one.
    bool Stampa(QPrinter& stampante) const;
    // Every page into a PDF file; false when the file cannot be written.
    bool EsportaPdf(const QString& percorso, const QString& titoloDocumento) const;

private:
    struct Riga
    {
        QList<QStringList> linee; // per column
        double altezza = 0;
    };

    bool DisegnaPagine(QPagedPaintDevice& dispositivo, int risoluzione, int prima, int ultima) const;
    void Impagina();
    QString Parametro(const QString& nome, int pagina) const;
    bool BandaGruppo(qsizetype riga, qsizetype primaDellaPagina) const;
    // One text per column, its lines `altezzaLinea` apart from `y` down.
    void DisegnaCelle(QPainter& p, const Misura& misura, double y, double altezzaLinea,
                      const QList<QStringList>& linee) const;
    // One line of text in `area`, vertically centred, from its left or right edge.
    void Scrivi(QPainter& p, const Misura& misura, const QRectF& area, const QString& testo,
                bool aDestra = false) const;

    LayoutReport layout_;
    DatiReport dati_;
    QHash<QString, QString> parametri_;
    QDateTime stampato_;
    QString titolo_;
    QFont carattere_, grassetto_, caratteriTitolo_;
    std::unique_ptr<Misura> misura_, misuraGrassetto_, misuraTitolo_;
    double riga_ = 0; // line height of the body font
    QStringList lineeTitolo_;
    QList<QStringList> intestazioni_; // one line each
    QList<Riga> righe_;
    QList<qsizetype> pagine_; // first row of each page
};
