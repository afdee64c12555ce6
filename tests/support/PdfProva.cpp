#include "PdfProva.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>

void ScriviPdf(const QString& percorso, const QStringList& pagine)
{
    QPdfWriter pdf(percorso);
    QPainter p(&pdf);
    for (qsizetype i = 0; i < pagine.size(); ++i) {
        if (i > 0)
            pdf.newPage();
        int y = 300;
        for (const QString& riga : pagine[i].split(QLatin1Char('\n')))
            p.drawText(300, y += 300, riga);
    }
}

void ScriviScansione(const QString& percorso)
{
    QImage foglio(400, 300, QImage::Format_Grayscale8);
    foglio.fill(Qt::white);
    QPainter(&foglio).drawText(20, 40, QStringLiteral("Fattura scansionata"));
    QPdfWriter pdf(percorso);
    QPainter(&pdf).drawImage(0, 0, foglio);
}
