#pragma once

#include "common/Testo.h"

#include <QDate>
#include <QString>

// How a search window looks for documents. The numbers are the ones the
// panel reports in intModoRicerca.
enum class ModoRicerca {
    Periodo = 1,          // the documents of a period
    NumeroEAnno = 2,      // a document number in a year
    CodiceEPeriodo = 3,   // a client/supplier code's documents of a period
    PeriodoSenzaTipi = 5, // a period, in an archive whose documents carry no type
};

// What the search panel holds when "Cerca" is clicked, as the user typed it.
struct CriteriRicerca
{
    QDate dataIniziale;
    QDate dataFinale;
    QString tipo;   // text of the type list
    QString anno;   // year, already checked: four numeric characters
    QString numero; // document number
    QString codice; // client/supplier code

    // Every type is wanted when the trimmed type reads exactly "Tutti";
    // "tutti" in lower case is a type of that name.
    bool TuttiITipi() const { return tipo.trimmed() == QStringLiteral("Tutti"); }
    // A year is accepted when it is numeric and exactly four characters long.
    static bool AnnoValido(const QString& anno) { return TestoNumerico(anno) && anno.size() == 4; }
};
