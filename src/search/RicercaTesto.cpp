#include "search/RicercaTesto.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/MotoreArchivio.h"
#include "archive/SchemaArchivio.h"
#include "search/IstruzioniRicerca.h"

#include <QStringList>

namespace {

// An archive made before the index knows no such tables until its first indexing.
Errore comeIndice(Errore errore)
{
    if (errore.codice == CodiceErrore::Istruzione && errore.descrizione.contains(TabellaTesti, Qt::CaseInsensitive))
        errore.descrizione = QStringLiteral("Il testo dei documenti di questo archivio non è ancora stato indicizzato: "
                                            "eseguire «velmira indicizza» o un'importazione.");
    return errore;
}

} // namespace

Errore CercaNelTesto(const QString& database, const QList<FraseCercata>& frasi, std::optional<ModoRicerca> modo,
                     const CriteriRicerca& criteri, const std::function<void(const DocumentoTrovato&)>& trovato)
{
    Connessione c;
    Errore errore = c.Apri(StringaConnessione(database));
    if (errore.presente())
        return errore;
    QStringList condizioni = modo ? CondizioniRicerca(*modo, criteri) : QStringList();
    condizioni.append(c.Motore().CondizioneParole(frasi));
    const auto comando = c.Prepara(QStringLiteral("Select Id, Stampa, Tipo, NumDoc, data, Codice from Posta where %1 "
                                                  "order by data desc;")
                                       .arg(condizioni.join(QStringLiteral(" and "))),
                                   errore);
    if (errore.presente() || (errore = comando->Esegui()).presente())
        return comeIndice(errore);
    while (comando->Successiva(errore))
        trovato({comando->Valore(0).toLongLong(), comando->Valore(1).toString(), comando->Valore(2).toString(),
                 comando->Valore(3).toString(), comando->Valore(4).toDate(),
                 comando->Valore(5).toString()});
    return errore;
}

Errore TestiDocumenti(const QString& database, const QList<qint64>& id,
                      const std::function<void(qint64, const QString&)>& testo)
{
    if (id.isEmpty())
        return {};
    Connessione c;
    Errore errore = c.Apri(StringaConnessione(database));
    if (errore.presente())
        return errore;
    QStringList elenco;
    for (qint64 uno : id)
        elenco.append(QString::number(uno));
    const auto comando = c.Prepara(
        QStringLiteral("select Id, Testo from %1 where Id in (%2)").arg(TabellaTesti, elenco.join(QLatin1Char(','))),
        errore);
    if (errore.presente() || (errore = comando->Esegui()).presente())
        return comeIndice(errore);
    while (comando->Successiva(errore))
        testo(comando->Valore(0).toLongLong(), comando->Valore(1).toString());
    return errore;
}
