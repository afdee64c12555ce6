#pragma once

#include "settings/Contesto.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// What became of one document of a print batch.
struct EsitoStampa
{
    QString stampa;
    QString errore; // empty when the printer took it
};

// Prints the documents of the context's PDF folder named in `nomi` (bare file names, as
// Posta keeps them), one job each, through the installed print service, and
// writes one line per document printed to the day's print list.
// `avanzamento(fatti, totale)` is asked before each document and once at the
// end; answering false stops the batch before that document. A document that
// cannot be printed does not stop the others.
QList<EsitoStampa> StampaDocumenti(const Contesto& contesto, const QStringList& nomi, const QString& stampante, int copie,
                                   const std::function<bool(int fatti, int totale)>& avanzamento = {});

// The day's print list: the program's `elenchi` folder, "ElencoRistampe" and
// the day's date as dd_mm_yyyy, ".txt". Unlike the copy list it grows all day.
QString PercorsoElencoRistampe(const QDate& giorno);

// The closing message of a batch: how many of `richiesti` were printed and,
// one per line, those that were not and why.
QString RiepilogoStampa(const QList<EsitoStampa>& esiti, qsizetype richiesti, const QString& stampante);
