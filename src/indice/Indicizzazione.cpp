#include "indice/Indicizzazione.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/MotoreArchivio.h"
#include "archive/SchemaArchivio.h"
#include "common/CartellaProgramma.h"
#include "indice/Parole.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QList>

namespace {

// A batch goes in after this many documents or this long, whichever first.
constexpr int documentiPerLotto = 200;
constexpr int millisecondiPerLotto = 500;
constexpr int attesaBlocco = 60000;

struct Documento
{
    qint64 id;
    QString stampa;
    qint64 dimensione;
    qint64 modificato;
    bool indicizzato; // the index holds a row for it
};

struct Lettura
{
    Documento documento;
    QString stato;
    QString motivo;
    QString testo;
    QString parole;
};

Errore prepara(Connessione& c)
{
    Errore errore = c.IniziaTransazione();
    for (const QString& istruzione : c.Motore().SchemaAggiunto()) {
        if (errore.presente())
            break;
        errore = c.EseguiNativa(istruzione);
    }
    if (errore.presente()) {
        c.Annulla();
        return errore;
    }
    return c.Conferma();
}

// Every document with what the index holds of its file (-1 when nothing).
Risultato<QList<Documento>> elenco(Connessione& c)
{
    const auto comando = c.Prepara(QStringLiteral("select p.Id, p.Stampa, t.Dimensione, t.Modificato from Posta p "
                                                  "left join %1 t on t.Id = p.Id order by p.Id")
                                       .arg(TabellaTesti));
    if (!comando)
        return comando.errore();
    if (const Errore errore = (*comando)->Esegui(); errore.presente())
        return errore;
    QList<Documento> documenti;
    Risultato<bool> letta = (*comando)->Successiva();
    for (; letta && *letta; letta = (*comando)->Successiva()) {
        const QVariant dimensione = (*comando)->Valore(2);
        documenti.append({(*comando)->Valore(0).toLongLong(), (*comando)->Valore(1).toString(),
                          dimensione.isNull() ? -1 : dimensione.toLongLong(),
                          dimensione.isNull() ? -1 : (*comando)->Valore(3).toLongLong(), !dimensione.isNull()});
    }
    if (!letta)
        return letta.errore();
    return documenti;
}

Errore scrivi(Connessione& c, QList<Lettura>& lotto)
{
    if (lotto.isEmpty())
        return {};
    // One statement for the batch's old rows and one for its new ones: the
    // embedded engine's index writes what it gathered at the end of every
    // statement, and a statement per document would make it write (and
    // later merge) a piece of index per document.
    QStringList cambiati;
    QStringList identificativi;
    QVariantList valori;
    for (const Lettura& l : std::as_const(lotto)) {
        const Documento& d = l.documento;
        identificativi.append(QString::number(d.id));
        if (d.indicizzato)
            cambiati.append(identificativi.last());
        valori << d.id << d.dimensione << d.modificato << l.stato << (l.motivo.isEmpty() ? QVariant() : l.motivo)
               << l.testo << l.parole;
    }
    const QString riga = QStringLiteral("(?, ?, ?, ?, ?, ?, ?)");
    // The write lock taken at once: an import on another connection must
    // not find this batch halfway to it.
    Errore errore = c.IniziaTransazione();
    if (!errore.presente() && !cambiati.isEmpty())
        errore = c.Esegui(QStringLiteral("delete from %1 where Id in (%2)").arg(TabellaTesti, cambiati.join(u',')));
    if (!errore.presente()) {
        const auto metti = c.Prepara(QStringLiteral("insert into %1 (Id, Dimensione, Modificato, Stato, Motivo, Testo, "
                                                    "Parole) values %2")
                                         .arg(TabellaTesti, QStringList(lotto.size(), riga).join(u',')));
        errore = metti ? (*metti)->Esegui(valori) : metti.errore();
    }
    // A document the import removed meanwhile keeps no text (the server
    // refuses it already, by its foreign key).
    if (!errore.presente())
        errore = c.Esegui(QStringLiteral("delete from %1 where Id in (%2) and not exists (select 1 from Posta p where "
                                         "p.Id = %1.Id)").arg(TabellaTesti, identificativi.join(u',')));
    if (!errore.presente())
        errore = c.Conferma();
    if (errore.presente())
        c.Annulla();
    lotto.clear();
    return errore;
}

} // namespace

Errore PreparaIndice(const QString& database)
{
    Connessione c;
    Errore errore = c.Apri(StringaConnessione(database));
    return errore.presente() ? errore : prepara(c);
}

Errore Indicizza(const ImpostazioniIndice& impostazioni, ConteggiIndice& conteggi, const std::atomic<bool>& fermato,
                 const std::function<void(const ConteggiIndice&, const PassoIndice&)>& passo)
{
    conteggi = {};
    Connessione c;
    Errore errore = c.Apri(StringaConnessione(impostazioni.database));
    // Waiting for an import to finish its batch costs a background run nothing.
    c.ImpostaAttesaBlocco(attesaBlocco);
    if (!errore.presente())
        errore = prepara(c);
    if (errore.presente())
        return errore;
    Risultato<QList<Documento>> documenti = elenco(c);
    if (!documenti)
        return documenti.errore();

    // What changed is found first, so that the progress has its total.
    QList<Documento> daLeggere;
    for (Documento& d : *documenti) {
        const QFileInfo file(UnisciPercorso(impostazioni.cartellaPDF, d.stampa));
        if (!file.isFile()) {
            ++conteggi.mancanti;
            continue;
        }
        const qint64 dimensione = file.size();
        const qint64 modificato = file.lastModified().toMSecsSinceEpoch();
        if (dimensione == d.dimensione && modificato == d.modificato) {
            ++conteggi.invariati;
            continue;
        }
        d.dimensione = dimensione;
        d.modificato = modificato;
        daLeggere.append(d);
    }
    conteggi.daLeggere = int(daLeggere.size());

    EstrattoreTesto estrattore(impostazioni.limiteMillisecondi, impostazioni.eseguibile);
    QList<Lettura> lotto;
    QElapsedTimer tempoLotto;
    tempoLotto.start();
    for (const Documento& d : std::as_const(daLeggere)) {
        if (fermato)
            break;
        const QString percorso = UnisciPercorso(impostazioni.cartellaPDF, d.stampa);
        const Risultato<RispostaTesto> risposta = estrattore.Estrai(percorso);
        Lettura lettura{d, StatoConTesto, {}, {}, {}};
        if (!risposta && risposta.errore().codice != CodiceErrore::TestoDocumento) {
            errore = risposta.errore();
            break;
        }
        // Ctrl+C reaches the text reader too: its end then says nothing of the file.
        if (!risposta && fermato)
            break;
        if (!risposta) {
            lettura.stato = StatoFallito;
            lettura.motivo = risposta.errore().descrizione;
            ++conteggi.falliti;
        } else if ((lettura.parole = ParoleDelTesto(risposta->testo)).isEmpty()) {
            lettura.stato = StatoSenzaTesto;
            ++conteggi.senzaTesto;
        } else {
            lettura.testo = risposta->testo;
            ++conteggi.conTesto;
        }
        ++conteggi.letti;
        lotto.append(lettura);
        if (passo)
            passo(conteggi, {percorso, lettura.motivo});
        if (lotto.size() >= documentiPerLotto || tempoLotto.hasExpired(millisecondiPerLotto)) {
            if ((errore = scrivi(c, lotto)).presente())
                return errore;
            tempoLotto.restart();
        }
    }
    const Errore scrittura = scrivi(c, lotto);
    return errore.presente() ? errore : scrittura;
}
