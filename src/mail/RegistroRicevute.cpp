#include "mail/RegistroRicevute.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "mail/RicevutaPec.h"

#include <QCryptographicHash>
#include <QStringList>

namespace {

// Messages fetched and stored together: a complete delivery receipt carries
// the whole message sent, documents included.
constexpr int ricevutePerLotto = 50;

const QString statoNonValida = QStringLiteral("ricevuta non valida");

QString impronta(const QByteArray& messaggio)
{
    return QString::fromLatin1(QCryptographicHash::hash(messaggio, QCryptographicHash::Sha1).toHex());
}

QString testoVerifica(EsitoFirma firma)
{
    switch (firma) {
    case EsitoFirma::Verificata:
        return QStringLiteral("verificata");
    case EsitoFirma::NonVerificata:
        return QStringLiteral("non verificata");
    case EsitoFirma::NonValida:
        break;
    }
    return QStringLiteral("non valida");
}

// Whether the statement, run with `valori`, gives a row.
Risultato<bool> trovata(Comando& cerca, const QVariantList& valori)
{
    if (const Errore errore = cerca.Esegui(valori); errore.presente())
        return errore;
    return cerca.Successiva();
}

// One batch of receipts, stored in one transaction with the place reached.
class Lotto
{
public:
    Lotto(Connessione& c, EsitoRicevute& esito, const VerificaFirma& verifica)
        : c_(c), esito_(esito), verifica_(verifica)
    {
    }

    Errore Prepara()
    {
        for (const auto& [comando, istruzione] :
             {std::pair{&presente_, QStringLiteral("select Identificativo from RicevutePosta where Identificativo = ?")},
              std::pair{&inviato_, QStringLiteral("select MessageID from ProveInvio where MessageID = ?")},
              std::pair{&aggiungi_, QStringLiteral("insert into RicevutePosta (Identificativo, MessageID, Destinatario, Tipo, "
                                                   "Stato, Quando, Motivo, Verifica) values (?, ?, ?, ?, ?, ?, ?, ?)")}}) {
            auto preparato = c_.Prepara(istruzione);
            if (!preparato)
                return preparato.errore();
            *comando = std::move(*preparato);
        }
        return {};
    }

    Errore Registra(const QByteArray& messaggio)
    {
        ++esito_.lette;
        const std::optional<MessaggioRicevuta> r = LeggiMessaggioRicevuta(messaggio);
        if (!r) {
            ++esito_.illeggibili;
            return {};
        }
        const DatiCert& d = r->dati;
        const EsitoFirma firma = verifica_(r->parteFirmata, r->firma);
        if (firma == EsitoFirma::NonValida) {
            // Known by its bytes: a forgery never takes the place of the genuine receipt.
            return Aggiungi(QStringLiteral("non valida ") + impronta(messaggio), d, statoNonValida,
                            QStringLiteral("firma del gestore non valida"), firma, esito_.nonValide);
        }
        const std::optional<EffettoRicevuta> effetto = EffettoDi(d);
        if (!effetto) {
            ++esito_.altre;
            return {};
        }
        QString chiave = d.identificativo;
        if (chiave.isEmpty())
            chiave = r->intestazioni.messageId.isEmpty() ? impronta(messaggio) : r->intestazioni.messageId;
        const Risultato<bool> inviato = trovata(*inviato_, {d.msgid});
        if (!inviato)
            return inviato.errore();
        const bool noto = *inviato;
        // A receipt for a message not recorded (yet) is kept all the same: it
        // counts once a dispatch recorded late names that Message-ID.
        int& conteggio = !noto                                 ? esito_.sconosciute
            : effetto->stato == QLatin1String("accettato")    ? esito_.accettazioni
            : effetto->stato == QLatin1String("consegnato")   ? esito_.consegne
                                                               : esito_.mancate;
        return Aggiungi(chiave, d, effetto->stato, effetto->motivo, firma, conteggio);
    }

private:
    Errore Aggiungi(const QString& chiave, const DatiCert& d, const QString& stato, const QString& motivo, EsitoFirma firma,
                    int& conteggio)
    {
        const Risultato<bool> presente = trovata(*presente_, {chiave});
        if (!presente)
            return presente.errore();
        if (*presente) {
            ++esito_.doppie;
            return {};
        }
        const Errore errore =
            aggiungi_->Esegui({chiave, d.msgid, d.consegna, d.tipo, stato, d.data, motivo, testoVerifica(firma)});
        if (!errore.presente())
            ++conteggio;
        return errore;
    }

    Connessione& c_;
    EsitoRicevute& esito_;
    const VerificaFirma& verifica_;
    std::unique_ptr<Comando> presente_, inviato_, aggiungi_;
};

// How far a mailbox has been read; zeros when never.
struct Posizione
{
    quint32 validita = 0; // the UIDVALIDITY the UID belongs to
    quint32 ultimo = 0;   // the last UID read
};

Risultato<Posizione> posizione(Connessione& c, const QString& casella)
{
    const auto leggi = c.Prepara(QStringLiteral("select UidValidity, UltimoUid from CaselleLette where Casella = ?"));
    if (!leggi)
        return leggi.errore();
    const Risultato<bool> letta = trovata(**leggi, {casella});
    if (!letta)
        return letta.errore();
    if (!*letta)
        return Posizione{};
    return Posizione{(*leggi)->Valore(0).toString().toUInt(), (*leggi)->Valore(1).toString().toUInt()};
}

Errore salvaPosizione(Connessione& c, const QString& casella, quint32 validita, quint32 ultimo)
{
    const auto togli = c.Prepara(QStringLiteral("delete from CaselleLette where Casella = ?"));
    if (!togli)
        return togli.errore();
    if (const Errore errore = (*togli)->Esegui({casella}); errore.presente())
        return errore;
    const auto metti = c.Prepara(QStringLiteral("insert into CaselleLette (Casella, UidValidity, UltimoUid) values (?, ?, ?)"));
    if (!metti)
        return metti.errore();
    return (*metti)->Esegui({casella, QString::number(validita), QString::number(ultimo)});
}

Errore registraLotto(Connessione& c, const QMap<quint32, QByteArray>& messaggi, const QString& casella,
                     quint32 validita, quint32 ultimo, EsitoRicevute& esito, const VerificaFirma& verifica)
{
    const EsitoRicevute prima = esito;
    Errore errore = c.IniziaTransazione();
    Lotto lotto(c, esito, verifica);
    if (!errore.presente())
        errore = lotto.Prepara();
    for (auto m = messaggi.cbegin(); m != messaggi.cend() && !errore.presente(); ++m)
        errore = lotto.Registra(m.value());
    if (!errore.presente())
        errore = salvaPosizione(c, casella, validita, ultimo);
    if (!errore.presente())
        errore = c.Conferma();
    if (errore.presente()) {
        c.Annulla();
        esito = prima;
    }
    return errore;
}

QString parte(int n, const char* testo)
{
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(testo));
}

} // namespace

EsitoRicevute AggiornaRicevute(CasellaPosta& casella, const QString& nomeCasella, const QString& archivio,
                               const VerificaFirma& verifica)
{
    EsitoRicevute esito;
    const Risultato<StatoCasella> stato = casella.Esamina();
    if (!stato) {
        esito.errore = stato.errore();
        return esito;
    }
    Connessione c;
    esito.errore = c.Apri(StringaConnessione(archivio, u";"));
    if (!esito.errore.presente())
        esito.errore = CreaTabelleMancanti(c, {QStringLiteral("ProveInvio"), QStringLiteral("RicevutePosta"),
                                               QStringLiteral("CaselleLette")});
    if (esito.errore.presente())
        return esito;
    const Risultato<Posizione> lettura = posizione(c, nomeCasella);
    if (!lettura) {
        esito.errore = lettura.errore();
        return esito;
    }
    const Posizione letta = *lettura;
    const bool stessa = letta.validita == stato->uidValidity;
    const quint32 da = stessa ? letta.ultimo + 1 : 1;
    // Nothing has arrived since: no search at all.
    if (stessa && stato->uidNext != 0 && da >= stato->uidNext)
        return esito;
    const Risultato<QList<quint32>> uid = casella.Ricevute(da);
    if (!uid) {
        esito.errore = uid.errore();
        return esito;
    }
    for (qsizetype i = 0; i < uid->size(); i += ricevutePerLotto) {
        const QList<quint32> lotto = uid->mid(i, ricevutePerLotto);
        const Risultato<QMap<quint32, QByteArray>> messaggi = casella.Messaggi(lotto);
        if (!messaggi) {
            esito.errore = messaggi.errore();
            return esito;
        }
        esito.errore = registraLotto(c, *messaggi, nomeCasella, stato->uidValidity, lotto.last(), esito, verifica);
        if (esito.errore.presente())
            return esito;
    }
    // The place reached, also when no receipt came: the next run starts there.
    const quint32 ultimo = stato->uidNext > 0 ? stato->uidNext - 1 : (uid->isEmpty() ? da - 1 : uid->last());
    if (uid->isEmpty() || ultimo > uid->last())
        esito.errore = registraLotto(c, {}, nomeCasella, stato->uidValidity, ultimo, esito, verifica);
    return esito;
}

QString RiepilogoRicevute(const EsitoRicevute& e)
{
    QStringList scartate;
    for (const auto& [n, testo] : {std::pair{e.nonValide, "non valide (firma)"}, std::pair{e.sconosciute, "per messaggi non inviati da qui"},
                                   std::pair{e.doppie, "già registrate"}, std::pair{e.illeggibili, "illeggibili"},
                                   std::pair{e.altre, "di altro tipo"}})
        if (n > 0)
            scartate.append(parte(n, testo));
    return QStringLiteral("Ricevute lette: %1; registrate: %2, %3, %4; messe da parte: %5.")
        .arg(e.lette)
        .arg(parte(e.accettazioni, e.accettazioni == 1 ? "accettazione" : "accettazioni"),
             parte(e.consegne, e.consegne == 1 ? "consegna" : "consegne"),
             parte(e.mancate, e.mancate == 1 ? "mancata accettazione o consegna" : "mancate accettazioni o consegne"),
             scartate.isEmpty() ? QStringLiteral("nessuna") : scartate.join(QStringLiteral(", ")));
}
