#pragma once

#include "archive/FraseCercata.h"
#include "common/Errore.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The words of a document's text as the index keeps them and as a search
// looks for them: runs of letters and digits (a letter's accents go with
// it), each in lower case without its accents ("Città" is "citta"). Both
// engines index this form, made here, so that they split and fold words
// alike and answer a search with the same documents.

// Each word of `testo`: where it starts, how long it is there, and its form.
void PerOgniParola(const QString& testo,
                   const std::function<void(qsizetype inizio, qsizetype lunghezza, const QString& forma)>& parola);

// The words' forms separated by one blank, at most ParoleMassime of them.
QString ParoleDelTesto(const QString& testo);

// Words of a document beyond these are not indexed: the server's index
// knows no positions past this one.
inline constexpr int ParoleMassime = 16383;

// What the user typed in the search field: blank-separated words, each of
// which must appear; "text in double quotes" a phrase, as is a word such as
// "e-mail" that the text splits in two; a trailing '*' a prefix. An error
// when nothing in it is a word.
Risultato<QList<FraseCercata>> LeggiRicerca(const QString& ricerca);

// A piece of a document's text as a result list shows it.
struct PezzoEstratto
{
    QString testo;
    bool trovato = false; // one of the words searched for
};

// A few words of `testo` around the first place where `frasi` match, blanks
// and line ends as single blanks, the words found apart; the text's
// beginning when nothing matches.
QList<PezzoEstratto> EstrattoTesto(const QString& testo, const QList<FraseCercata>& frasi);
