#include "search/SceltaStampante.h"

#include <QPrintDialog>
#include <QPrinter>

SceltaStampante::Scelta SceltaStampanteQt::Scegli(QWidget* finestra)
{
    QPrinter stampante;
    if (!ultima_.isEmpty())
        stampante.setPrinterName(ultima_);
    QPrintDialog dialogo(&stampante, finestra);
    dialogo.setWindowTitle(QStringLiteral("Stampa documenti"));
    // The document goes to the printer as it is: pages, ranges and files are
    // not the dialog's to choose.
    dialogo.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (dialogo.exec() != QDialog::Accepted || stampante.outputFormat() != QPrinter::NativeFormat
        || stampante.printerName().isEmpty())
        return {};
    ultima_ = stampante.printerName();
    return {ultima_, stampante.copyCount()};
}
