#pragma once

#include "common/Errore.h"
#include "indice/EstrattoreTesto.h"

#include <QString>

#include <atomic>
#include <functional>

// Puts the text of every archived PDF into the archive's index of words:
// those not indexed yet and those whose file changed since (size or time of
// the last change). The files are read outside any transaction; what was
// read goes in at short intervals, each batch in a transaction of its own,
// so that an import on another workstation waits at most for one batch, a
// search meanwhile sees what is indexed so far, and a run stopped at any
// moment (even killed) loses at most the batch under way and goes on where
// it stopped the next time. A file that cannot be read is recorded with its
// reason and not read again until it changes.

struct ImpostazioniIndice
{
    QString database;
    QString cartellaPDF;
    int limiteMillisecondi = EstrattoreTesto::limitePredefinito; // per file
    QString eseguibile = EstrattoreTesto::EseguibilePredefinito();
};

// How the documents of the archive stand, in this run and in the index.
struct ConteggiIndice
{
    int daLeggere = 0;    // documents this run reads (new or changed)
    int letti = 0;        // of those, read so far
    int conTesto = 0;     // read with their text
    int senzaTesto = 0;   // read, without a text layer (scans)
    int falliti = 0;      // that could not be read
    int invariati = 0;    // already indexed and unchanged
    int mancanti = 0;     // whose PDF is not in the folder
};

// What became of one document.
struct PassoIndice
{
    QString file;
    QString motivo; // why it could not be read; empty when it was
};

// The index's states of a document, as the archive stores them.
inline const QString StatoConTesto = QStringLiteral("testo");
inline const QString StatoSenzaTesto = QStringLiteral("senza testo");
inline const QString StatoFallito = QStringLiteral("fallito");

// Runs until every document is indexed or `fermato` becomes true (checked
// between two files). `passo` hears each document read. The error is the one
// that stopped the run: the archive, or a text reader that cannot start.
Errore Indicizza(const ImpostazioniIndice& impostazioni, ConteggiIndice& conteggi, const std::atomic<bool>& fermato,
                 const std::function<void(const ConteggiIndice&, const PassoIndice&)>& passo = {});

// Gives an archive made before the index its tables, where missing.
Errore PreparaIndice(const QString& database);
