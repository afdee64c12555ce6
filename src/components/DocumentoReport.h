#pragma once

#include "components/DatiReport.h"
#include "components/LayoutReport.h"

#include <QDateTime>
#include <QFont>
#include <QHash>
#include <QSizeF>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

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

    LayoutReport layout_;
    DatiReport dati_;
    QHash<QString, QString> parametri_;
    QDateTime stampato_;
    QString titolo_;
    QFont carattere_, grassetto_, caratteriTitolo_;
    double riga_ = 0; // line height of the body font
    QStringList lineeTitolo_;
    QStringList intestazioni_;
    QList<Riga> righe_;
    QList<qsizetype> pagine_; // first row of each page
};
