#pragma once

#include <QString>

#include <functional>

// How one engine writes the few things the Jet dialect writes its own way.
struct Dialetto
{
    // year(x) becomes annoPrima + x + annoDopo.
    QString annoPrima;
    QString annoDopo;
    // An engine that folds unquoted names to lower case: the name after AS
    // is quoted so that a result column keeps the spelling the statement
    // gives it, and a [name] becomes the folded name quoted.
    bool nomiMinuscoli = false;
    // An engine that sorts empty values (NULL) after the others, where Jet
    // sorts them before: each ORDER BY item gets NULLS FIRST, or NULLS LAST
    // when descending, so that both list documents in the same order.
    bool nulliInFondo = false;
    // cdate(x), a date given as ISO text, becomes dataPrima + x + dataDopo:
    // where the engine cannot tell a value's type from the column it goes
    // to (a list of VALUES), it must be told.
    QString dataPrima;
    QString dataDopo;
    // The program's text columns (Stampa, Tipo, NumDoc, Codice and the
    // like), where a statement compares one with a text ("Codice='x'", "<>")
    // or sorts on it, said so that the engine follows ConfrontoTesti:
    // `confronto` gives the whole comparison from the column, the operator
    // and the text (quotes undone), `ordine` an ORDER BY item. `spareggio`
    // closes every ORDER BY but that of a DISTINCT or GROUP BY: rows it
    // leaves tied follow their file names, the same on every engine.
    std::function<QString(const QString& colonna, const QString& operatore, const QString& valore)> confronto;
    std::function<QString(const QString& colonna)> ordine;
    QString spareggio;
};

// A text as a literal of the statement: between single quotes, its own doubled.
QString LetteraleTesto(const QString& valore);

// Translates a statement written in the Jet dialect: #m/d/yyyy# date literals
// become ISO text literals, year(x) the engine's year of a date, cdate(x) its
// date of an ISO text, "text" literals single-quoted ones and [names] standard
// quoted names (and, for an engine that folds names, the alias after AS a
// quoted name; for one that sorts NULL last, ORDER BY items the order Jet
// gives them). Text inside string literals is never touched; everything else
// is copied as it stands.
QString TraduciJet(const QString& istruzione, const Dialetto& dialetto);
