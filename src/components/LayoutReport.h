#pragma once

#include "common/Errore.h"

#include <QList>
#include <QString>
#include <functional>

// The layout of a report, read from a report file (format described in
// docs/report.md and at the top of ElencoInvioMail.rep). Lengths in
// millimetres, font sizes in points. Texts may carry {PARAMETRO} marks,
// filled from the report's parameters, and the footer {PAGINA}, {PAGINE}
// and {DATA}.
struct ColonnaReport
{
    QString campo;        // field of the data set, matched without regard to case
    QString intestazione; // column header
    double larghezza = 0; // mm
    int righeMassime = 1; // a longer text wraps up to this many lines, then ends in "…"
};

struct LayoutReport
{
    double larghezzaPagina = 0; // mm, after the orientation
    double altezzaPagina = 0;
    double margineSinistro = 0, margineAlto = 0, margineDestro = 0, margineBasso = 0;
    double carattere = 9; // points
    QString dataset;      // the data set whose statement SetDatasetSQL gives
    QString alias;        // the database alias it reads through
    QString titolo;
    QString campoGruppo;  // empty: no grouping
    QString testoGruppo;  // may show the group's value as {campo}
    QList<ColonnaReport> colonne;
    QString piedeSinistra;
    QString piedeDestra;

    double LarghezzaUtile() const { return larghezzaPagina - margineSinistro - margineDestro; }
    double AltezzaUtile() const { return altezzaPagina - margineAlto - margineBasso; }
};

// Reads and checks a report file; the reason when the file is missing,
// unreadable or not a valid layout.
Risultato<LayoutReport> LeggiLayoutReport(const QString& percorso);

// `testo` with every {NOME} mark replaced by valore(NOME).
QString SostituisciSegnaposti(const QString& testo, const std::function<QString(const QString&)>& valore);
