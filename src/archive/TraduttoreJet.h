#pragma once

#include <QString>

// How one engine writes the few things the Jet dialect writes its own way.
struct Dialetto
{
    // year(x) becomes annoPrima + x + annoDopo.
    QString annoPrima;
    QString annoDopo;
};

// Translates a statement written in the Jet dialect: #m/d/yyyy# date literals
// become ISO text literals, year(x) the engine's year of a date, "text"
// literals single-quoted ones and [names] standard quoted names. Text inside
// string literals is never touched; everything else is copied as it stands.
QString TraduciJet(const QString& istruzione, const Dialetto& dialetto);
