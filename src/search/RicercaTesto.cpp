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

// Runs a prepared statement and hands each of its rows to `riga`; `letta`
// tells whether any row was handed.
Errore leggiRighe(const Risultato<std::unique_ptr<Comando>>& comando, bool& letta,
                  const std::function<void(const Comando&)>& riga)
{
    if (!comando)
        return comeIndice(comando.errore());
    if (const Errore errore = (*comando)->Esegui(); errore.presente())
        return comeIndice(errore);
    Risultato<bool> successiva = (*comando)->Successiva();
    for (; successiva && *successiva; successiva = (*comando)->Successiva()) {
        letta = true;
        riga(**comando);
    }
    return successiva.errore();
}

} // namespace

Errore ArchivioTesti::SuArchivio(const QString& database, const std::function<Errore(Connessione&, bool&)>& leggi)
{
    if (database != database_)
        connessione_.Chiudi();
    const bool giaAperta = connessione_.Aperta();
    if (!giaAperta) {
        if (Errore errore = connessione_.Apri(StringaConnessione(database)); errore.presente())
            return errore;
        database_ = database;
    }
    bool letta = false;
    Errore errore = leggi(connessione_, letta);
    if (errore.presente() && giaAperta && !letta) {
        connessione_.Chiudi();
        return SuArchivio(database, leggi);
    }
    return errore;
}

Errore ArchivioTesti::Cerca(const QString& database, const QList<FraseCercata>& frasi, std::optional<ModoRicerca> modo,
                            const CriteriRicerca& criteri, const std::function<void(const DocumentoTrovato&)>& trovato)
{
    return SuArchivio(database, [&](Connessione& c, bool& letta) {
        QStringList condizioni = modo ? CondizioniRicerca(*modo, criteri) : QStringList();
        condizioni.append(c.Motore().CondizioneParole(frasi));
        const auto comando = c.Prepara(QStringLiteral("Select Id, Stampa, Tipo, NumDoc, data, Codice from Posta where %1 "
                                                      "order by data desc;")
                                           .arg(condizioni.join(QStringLiteral(" and "))));
        return leggiRighe(comando, letta, [&trovato](const Comando& riga) {
            trovato({riga.Valore(0).toLongLong(), riga.Valore(1).toString(), riga.Valore(2).toString(),
                     riga.Valore(3).toString(), riga.Valore(4).toDate(), riga.Valore(5).toString()});
        });
    });
}

Errore ArchivioTesti::Testi(const QString& database, const QList<qint64>& id,
                            const std::function<void(qint64, const QString&)>& testo)
{
    if (id.isEmpty())
        return {};
    QStringList elenco;
    for (qint64 uno : id)
        elenco.append(QString::number(uno));
    return SuArchivio(database, [&](Connessione& c, bool& letta) {
        const auto comando = c.Prepara(
            QStringLiteral("select Id, Testo from %1 where Id in (%2)").arg(TabellaTesti, elenco.join(QLatin1Char(','))));
        return leggiRighe(comando, letta, [&testo](const Comando& riga) {
            testo(riga.Valore(0).toLongLong(), riga.Valore(1).toString());
        });
    });
}
