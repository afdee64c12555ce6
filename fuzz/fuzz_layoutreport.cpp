// The report layout file. Input: the file.
//
// What must hold: a layout read has a page, finite margins, sizes and column
// widths inside their ranges, a whole number of lines per column, and columns
// that fit the page; a refused one says why. Marks filled with themselves
// give back the text they were in.

#include "SupportoFuzz.h"

#include "components/LayoutReport.h"

#include <cmath>

namespace {

bool Tra(double valore, double minimo, double massimo)
{
    return std::isfinite(valore) && valore >= minimo && valore <= massimo;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PreparaAmbienteFuzz();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione)
{
    const QString percorso = ScriviFileFuzz(QStringLiteral("ElencoInvioMail.rep"), dati, dimensione);
    const auto layout = LeggiLayoutReport(percorso);
    if (!layout) {
        if (layout.errore().descrizione.isEmpty())
            Violazione("a refused layout says why", percorso);
        return 0;
    }
    const LayoutReport& l = *layout;
    double totale = 0;
    for (const ColonnaReport& colonna : l.colonne) {
        if (!Tra(colonna.larghezza, 1, 1000) || colonna.righeMassime < 1 || colonna.righeMassime > 10
            || colonna.campo.isEmpty())
            Violazione("every column has a field, a width and a number of lines in range", colonna.campo);
        totale += colonna.larghezza;
    }
    if (!Tra(l.larghezzaPagina, 1, 1000) || !Tra(l.altezzaPagina, 1, 1000) || !Tra(l.carattere, 4, 36)
        || !Tra(l.margineSinistro, 0, 100) || !Tra(l.margineAlto, 0, 100) || !Tra(l.margineDestro, 0, 100)
        || !Tra(l.margineBasso, 0, 100) || !(l.LarghezzaUtile() > 0) || l.colonne.isEmpty()
        || !(totale <= l.LarghezzaUtile() + 0.01) || l.dataset.isEmpty())
        Violazione("a layout read fits its page", l.titolo);

    const auto sestesso = [](const QString& nome) { return QLatin1Char('{') + nome + QLatin1Char('}'); };
    for (const QString& testo : {l.titolo, l.testoGruppo, l.piedeSinistra, l.piedeDestra}) {
        if (SostituisciSegnaposti(testo, sestesso) != testo)
            Violazione("marks filled with themselves give the text back", testo);
    }
    return 0;
}
