#pragma once

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

// Also within the documents a search of the reprint window would find, when
// `modo` is given (its order aside).
Errore CercaNelTesto(const QString& database, const QList<FraseCercata>& frasi, std::optional<ModoRicerca> modo,
                     const CriteriRicerca& criteri, const std::function<void(const DocumentoTrovato&)>& trovato);

// The text of the documents `id`, as read from their PDF, each to `testo`.
Errore TestiDocumenti(const QString& database, const QList<qint64>& id,
                      const std::function<void(qint64 id, const QString& testo)>& testo);
