#pragma once

#include "common/Testo.h"

#include <QDate>
#include <QString>

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
