#pragma once

#include <QStringList>

// One thing a search of the documents' text asks for: words one after the
// other in their indexed form (a single word, or a phrase), the last one
// possibly only the beginning of a word.
struct FraseCercata
{
    QStringList parole;
    bool prefisso = false;
};
