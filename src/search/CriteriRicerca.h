#pragma once

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
};
