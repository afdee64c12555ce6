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

// Runs a prepared statement and hands each of its rows to `riga`.
Errore leggiRighe(const Risultato<std::unique_ptr<Comando>>& comando, const std::function<void(const Comando&)>& riga)
{
    if (!comando)
        return comeIndice(comando.errore());
    if (const Errore errore = (*comando)->Esegui(); errore.presente())
        return comeIndice(errore);
    Risultato<bool> letta = (*comando)->Successiva();
    for (; letta && *letta; letta = (*comando)->Successiva())
        riga(**comando);
    return letta.errore();
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
                                       .arg(condizioni.join(QStringLiteral(" and "))));
    return leggiRighe(comando, [&trovato](const Comando& riga) {
        trovato({riga.Valore(0).toLongLong(), riga.Valore(1).toString(), riga.Valore(2).toString(),
                 riga.Valore(3).toString(), riga.Valore(4).toDate(), riga.Valore(5).toString()});
    });
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
        QStringLiteral("select Id, Testo from %1 where Id in (%2)").arg(TabellaTesti, elenco.join(QLatin1Char(','))));
    return leggiRighe(comando, [&testo](const Comando& riga) {
        testo(riga.Valore(0).toLongLong(), riga.Valore(1).toString());
    });
}
