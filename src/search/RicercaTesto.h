#pragma once

#include "archive/Connessione.h"
#include "archive/FraseCercata.h"
#include "common/Errore.h"
#include "search/CriteriRicerca.h"

#include <QDate>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The search of documents by the words of their text, on either engine:
// every phrase must be in a document's indexed text. The documents come
// newest first, those of one day by file name as every search orders them,
// the same rows in the same order on both engines.

struct DocumentoTrovato
{
    qint64 id = 0;
    QString stampa;
    QString tipo;
    QString numero;
    QDate data;
    QString codice;
};

// The archive a text search reads. Its connection stays open from one
// search to the next: on the server, opening one costs more than a search.
// One that went stale (the server restarted) is opened again once.
class ArchivioTesti
{
public:
    // Also within the documents a search of the reprint window would find,
    // when `modo` is given (its order aside).
    Errore Cerca(const QString& database, const QList<FraseCercata>& frasi, std::optional<ModoRicerca> modo,
                 const CriteriRicerca& criteri, const std::function<void(const DocumentoTrovato&)>& trovato);
    // The text of the documents `id`, as read from their PDF, each to `testo`.
    Errore Testi(const QString& database, const QList<qint64>& id,
                 const std::function<void(qint64 id, const QString& testo)>& testo);

private:
    // Runs `leggi` on a connection to `database`; no row has reached the
    // caller when a stale connection's failure makes it run a second time.
    Errore SuArchivio(const QString& database, const std::function<Errore(Connessione&, bool& letta)>& leggi);

    Connessione connessione_;
    QString database_;
};
