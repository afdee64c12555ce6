#include "import/AggiuntaDocumenti.h"

#include "archive/Connessione.h"

#include <QHash>

#include <algorithm>

namespace {

// Rows one statement carries. Every statement sent to a server waits for its
// answer: a few hundred rows pay that wait once; the embedded engine is as
// quick with them (more would add nothing on either).
constexpr size_t righePerInvio = 500;

// A key field in a form that two texts an engine may take as equal always
// share: without case, accents, width variants, punctuation or characters
// the engine ignores. It errs towards equal: two different documents that
// share it only go in two statements.
QString FormaGrezza(const QString& testo)
{
    // Plain ASCII, as nearly every code is, has nothing to decompose.
    const bool ascii = std::all_of(testo.cbegin(), testo.cend(), [](QChar c) { return c.unicode() < 0x80; });
    const QString scomposto = ascii ? testo : testo.normalized(QString::NormalizationForm_KD).toCaseFolded();
    QString forma;
    forma.reserve(scomposto.size());
    for (const QChar c : scomposto) {
        if (c.isLetterOrNumber())
            forma += ascii ? c.toLower() : c;
    }
    return forma;
}

QString ChiaveGrezza(const RigaPosta& riga)
{
    return QString::number(riga.Data.toJulianDay()) + QLatin1Char('\n') + FormaGrezza(riga.Codice)
        + QLatin1Char('\n') + FormaGrezza(riga.Tipo) + QLatin1Char('\n') + FormaGrezza(riga.NumDoc);
}

// The rows not archived yet go in; each row is compared with the archive as
// the duplicate check always compared (the columns' own rules for text).
// The limit keeps the test a look-up in the key index for each row: without
// it a server may turn it into one join over the whole table, which it
// prices far too cheap for text compared without regard to case.
QString IstruzioneAggiunta(size_t righe)
{
    return QStringLiteral("with Nuove (Stampa, email, Data, Tipo, NumDoc, Codice) as (values %1) "
                          "insert into Posta (Stampa, email, Data, Tipo, NumDoc, Codice) "
                          "select Stampa, email, Data, Tipo, NumDoc, Codice from Nuove where not exists "
                          "(select 1 from Posta where Posta.Data = Nuove.Data and Posta.Codice = Nuove.Codice "
                          "and Posta.Tipo = Nuove.Tipo and Posta.NumDoc = Nuove.NumDoc limit 1 offset 0) "
                          "returning Stampa")
        .arg(QStringList(qsizetype(righe), QStringLiteral("(?, ?, cdate(?), ?, ?, ?)")).join(QStringLiteral(", ")));
}

} // namespace

AggiuntaDocumenti::AggiuntaDocumenti(Connessione& connessione)
    : connessione_(connessione)
{
}

AggiuntaDocumenti::~AggiuntaDocumenti() = default;

bool AggiuntaDocumenti::Accetta(const RigaPosta& riga) const
{
    return !chiavi_.contains(ChiaveGrezza(riga));
}

void AggiuntaDocumenti::Accoda(const RigaPosta& riga)
{
    righe_.push_back(riga);
    chiavi_.insert(ChiaveGrezza(riga));
}

bool AggiuntaDocumenti::Piena() const
{
    return righe_.size() >= righePerInvio;
}

void AggiuntaDocumenti::Scarta()
{
    righe_.clear();
    chiavi_.clear();
}

Risultato<std::vector<AggiuntaDocumenti::EsitoRiga>> AggiuntaDocumenti::Invia()
{
    std::vector<EsitoRiga> esiti(righe_.size(), Esito::GiaPresente);
    Errore errore = InviaGruppo(0, righe_.size(), esiti);
    if (errore.presente() && Recuperabile(errore)) {
        // One refused row takes its statement with it: each row again on
        // its own, so that only that one is reported.
        const Errore gruppo = errore;
        errore = {};
        for (size_t i = 0; i < righe_.size(); ++i) {
            const Errore riga = righe_.size() == 1 ? gruppo : InviaGruppo(i, 1, esiti);
            if (!riga.presente())
                continue;
            if (!Recuperabile(riga)) {
                errore = riga;
                break;
            }
            esiti[i] = riga;
        }
    }
    Scarta();
    if (errore.presente())
        return errore;
    return esiti;
}

bool AggiuntaDocumenti::Recuperabile(const Errore& errore) const
{
    return !errore.grave() && connessione_.TransazioneAttiva();
}

Errore AggiuntaDocumenti::InviaGruppo(size_t da, size_t quante, std::vector<EsitoRiga>& esiti)
{
    const Risultato<Comando*> istruzione = Istruzione(quante);
    if (!istruzione)
        return istruzione.errore();
    Comando& comando = **istruzione;
    QVariantList valori;
    valori.reserve(qsizetype(quante) * 6);
    QHash<QString, size_t> indici;
    indici.reserve(qsizetype(quante));
    for (size_t i = da; i < da + quante; ++i) {
        const RigaPosta& r = righe_[i];
        valori << r.Stampa << r.email << r.Data << r.Tipo << r.NumDoc << r.Codice;
        indici.insert(r.Stampa, i);
    }
    if (const Errore errore = comando.Esegui(valori); errore.presente())
        return errore;
    Risultato<bool> riga = comando.Successiva();
    for (; riga && *riga; riga = comando.Successiva()) {
        if (const auto it = indici.constFind(comando.Valore(0).toString()); it != indici.cend())
            esiti[*it] = Esito::Aggiunto;
    }
    return riga.errore();
}

Risultato<Comando*> AggiuntaDocumenti::Istruzione(size_t righe)
{
    std::unique_ptr<Comando>& comando = righe == righePerInvio ? piena_ : righe == 1 ? singola_ : altra_;
    if (&comando == &altra_ && righeAltra_ != righe)
        comando.reset();
    if (!comando) {
        auto preparato = connessione_.Prepara(IstruzioneAggiunta(righe));
        if (!preparato)
            return preparato.errore();
        comando = std::move(*preparato);
        righeAltra_ = &comando == &altra_ ? righe : righeAltra_;
    }
    return comando.get();
}
