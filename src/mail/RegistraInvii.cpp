#include "mail/RegistraInvii.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/Recordset.h"
#include "common/CartellaProgramma.h"
#include "common/ErroreSistema.h"
#include "mail/ElencoMail.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QStringList>

namespace {


// The lines of a list already stored, by the list's name and the line: a list
// found again after a crash between the commit and its removal has those
// lines skipped, not stored twice. The keys of a list go once the list has.
// New archives have the tables; an older one gets them at its first list.
const QString tabellaChiavi = QStringLiteral("InviiRegistrati");
const QString tabellaProve = QStringLiteral("ProveInvio");

// The file-name part of a path written with either separator.
QString NomeFile(const QString& percorso)
{
    return percorso.mid(qMax(percorso.lastIndexOf(QLatin1Char('/')), percorso.lastIndexOf(QLatin1Char('\\'))) + 1);
}

// One key per line of a list: its name, the line and how many equal lines came before it.
QStringList Chiavi(const QString& elenco, const QStringList& righe)
{
    QHash<QString, int> viste;
    QStringList chiavi;
    for (const QString& riga : righe) {
        const QByteArray testo =
            (QFileInfo(elenco).fileName() + QLatin1Char('\n') + QString::number(viste[riga]++) + QLatin1Char('\n') + riga).toUtf8();
        chiavi.append(QString::fromLatin1(QCryptographicHash::hash(testo, QCryptographicHash::Sha1).toHex()));
    }
    return chiavi;
}

using Valori = std::initializer_list<std::pair<QString, QString>>;

Errore AggiungiRiga(Recordset& tabella, Valori valori)
{
    tabella.AddNew();
    for (const auto& [nome, valore] : valori) {
        const Errore errore = tabella.ImpostaValore(nome, valore);
        if (errore.presente()) {
            tabella.CancelUpdate();
            return errore;
        }
    }
    return tabella.Update();
}

Errore RegistraRiga(Recordset& tabella, const CampiElencoMail& campi)
{
    return AggiungiRiga(tabella, {{QStringLiteral("Stampa"), NomeFile(campi.percorso)},
                                  {QStringLiteral("dtinvio"), campi.quando},
                                  {QStringLiteral("EmailDest"), campi.destinatario},
                                  {QStringLiteral("Esito"), campi.esito}});
}

// The proof that a message went, under the line's own key: stored with its
// row of EmailInviate or not at all. A list under a name seen before may
// repeat a line whose proof is kept already: the same proof, kept once.
Errore RegistraProva(Recordset& prove, Comando& cerca, const CampiElencoMail& campi, const QString& chiave)
{
    if (campi.messageId.isEmpty())
        return {};
    if (const Errore errore = cerca.Esegui({chiave}); errore.presente())
        return errore;
    const Risultato<bool> trovata = cerca.Successiva();
    if (!trovata || *trovata)
        return trovata.errore();
    return AggiungiRiga(prove, {{QStringLiteral("Impronta"), chiave},
                                {QStringLiteral("Stampa"), NomeFile(campi.percorso)},
                                {QStringLiteral("EmailDest"), campi.destinatario},
                                {QStringLiteral("dtinvio"), campi.quando},
                                {QStringLiteral("MessageID"), campi.messageId},
                                {QStringLiteral("Risposta"), campi.risposta}});
}

// The keys of `elenco` already stored.
Risultato<QSet<QString>> ChiaviRegistrate(Connessione& connessione, const QString& elenco)
{
    Errore errore = CreaTabelleMancanti(connessione, {tabellaChiavi, tabellaProve});
    if (errore.presente())
        return errore;
    auto leggi = connessione.Prepara(QStringLiteral("select Impronta from %1 where Elenco = ?").arg(tabellaChiavi));
    if (!leggi)
        return leggi.errore();
    if (errore = (*leggi)->Esegui({QFileInfo(elenco).fileName()}); errore.presente())
        return errore;
    QSet<QString> chiavi;
    Risultato<bool> letta = (*leggi)->Successiva();
    for (; letta && *letta; letta = (*leggi)->Successiva())
        chiavi.insert((*leggi)->Valore(0).toString());
    if (!letta)
        return letta.errore();
    return chiavi;
}

// Stores the lines not stored yet, with their keys, in one transaction.
// Returns the lines that can never be stored (too short, refused by the
// archive); on a failure of the whole (archive closed, locked, full) nothing
// is stored and `esito.errore` says why.
QStringList Registra(const QString& archivio, const QString& elenco, const QStringList& righe,
                     EsitoRegistrazione& esito)
{
    Connessione connessione;
    Errore errore = connessione.Apri(StringaConnessione(archivio, u";"));
    QSet<QString> registrate;
    std::unique_ptr<Comando> chiave, provaPresente;
    Recordset tabella, prove;
    // One transaction for the whole list: a thousand rows in one write.
    if (!errore.presente())
        errore = connessione.IniziaTransazione();
    if (!errore.presente()) {
        auto lette = ChiaviRegistrate(connessione, elenco);
        errore = lette.errore();
        registrate = lette ? *lette : QSet<QString>();
    }
    if (!errore.presente()) {
        auto preparata = connessione.Prepara(QStringLiteral("insert into %1 (Impronta, Elenco) values (?, ?)").arg(tabellaChiavi));
        errore = preparata.errore();
        chiave = preparata ? std::move(*preparata) : nullptr;
    }
    if (!errore.presente())
        errore = tabella.ApriTabella(connessione, QStringLiteral("EmailInviate"));
    if (!errore.presente())
        errore = prove.ApriTabella(connessione, tabellaProve);
    if (!errore.presente()) {
        auto preparata = connessione.Prepara(QStringLiteral("select Impronta from %1 where Impronta = ?").arg(tabellaProve));
        errore = preparata.errore();
        provaPresente = preparata ? std::move(*preparata) : nullptr;
    }
    const QStringList chiavi = Chiavi(elenco, righe);
    QStringList scartate;
    for (qsizetype i = 0; i < righe.size() && !errore.presente(); ++i) {
        const std::optional<CampiElencoMail> campi = LeggiRigaElencoMail(righe[i]);
        if (registrate.contains(chiavi[i])) {
            ++esito.giaRegistrate;
        } else if (!campi) {
            ++esito.incomplete;
            scartate.append(righe[i]);
        } else if (const Errore erroreRiga = RegistraRiga(tabella, *campi); erroreRiga.presente()) {
            if (erroreRiga.grave() || erroreRiga.bloccato()) {
                errore = erroreRiga;
                break;
            }
            if (!esito.errore.presente())
                esito.errore = erroreRiga;
            ++esito.rifiutate;
            scartate.append(righe[i]);
        } else if (errore = RegistraProva(prove, *provaPresente, *campi, chiavi[i]); errore.presente()) {
            // Its row of EmailInviate is in: the whole list waits rather than split the two.
            break;
        } else if (errore = chiave->Esegui({chiavi[i], QFileInfo(elenco).fileName()}); !errore.presente()) {
            ++esito.registrate;
        }
    }
    tabella.Chiudi();
    prove.Chiudi();
    if (!errore.presente())
        errore = connessione.Conferma();
    if (errore.presente()) {
        connessione.Annulla();
        const QString file = esito.file;
        esito = EsitoRegistrazione();
        esito.file = file;
        esito.errore = errore;
        esito.conservato = true;
        return {};
    }
    return scartate;
}

// The keys of a list that is gone are of no more use.
void DimenticaElenco(const QString& archivio, const QString& elenco)
{
    Connessione connessione;
    if (connessione.Apri(StringaConnessione(archivio, u";")).presente())
        return;
    if (const auto togli = connessione.Prepara(QStringLiteral("delete from %1 where Elenco = ?").arg(tabellaChiavi)))
        (*togli)->Esegui({QFileInfo(elenco).fileName()});
}

} // namespace

EsitoRegistrazione RegistraInvii(const QString& archivio)
{
    EsitoRegistrazione esito;
    esito.file = TrovaElencoMail(CartellaProgramma(UsoCartella::Dati));
    if (esito.file.isEmpty())
        return esito;
    QFile file(esito.file);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        esito.errore = {CodiceErrore::FileProgramma, TestoErroreFile(file)};
        esito.conservato = true;
        return esito;
    }
    const QStringList righe = RigheElencoMail(file.readAll());
    file.close();

    const QStringList scartate = Registra(archivio, esito.file, righe, esito);
    if (esito.conservato)
        return esito;
    if (!scartate.isEmpty()) {
        // Set aside, so that this list never stands in the way of the next ones.
        QSaveFile accantonato(NomeAccantonato(esito.file));
        if (!accantonato.open(QIODevice::WriteOnly)
            || accantonato.write((scartate.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8()) < 0
            || !accantonato.commit()) {
            esito.errore = {CodiceErrore::FileProgramma,
                            QStringLiteral("le righe non registrate non possono essere messe da parte (%1)")
                                .arg(TestoErroreFile(accantonato))};
            esito.conservato = true;
            return esito;
        }
        esito.accantonato = accantonato.fileName();
    }
    if (!file.remove()) {
        // Stored, and its lines known as stored: a later run skips them.
        esito.errore = {CodiceErrore::FileProgramma,
                        QStringLiteral("il file non può essere eliminato (%1)").arg(TestoErroreFile(file))};
        esito.conservato = true;
        return esito;
    }
    DimenticaElenco(archivio, esito.file);
    return esito;
}

EsitoRegistrazione RegistraRighe(const QString& archivio, const QStringList& righe, const QDateTime& adesso)
{
    EsitoRegistrazione esito;
    // Keys under a name of their own, dropped at once: there is no file to find again.
    const QString nome = QStringLiteral("memoria-") + adesso.toString(Qt::ISODateWithMs);
    Registra(archivio, nome, righe, esito);
    DimenticaElenco(archivio, nome);
    return esito;
}

QString NotaRegistrazione(const EsitoRegistrazione& esito)
{
    QStringList nota;
    if (esito.incomplete > 0)
        nota.append(QStringLiteral("Righe incomplete nell'elenco degli invii, non registrate: %1.")
                        .arg(esito.incomplete));
    if (esito.rifiutate > 0)
        nota.append(QStringLiteral("Righe non accettate dall'archivio: %1.").arg(esito.rifiutate));
    if (esito.errore.presente())
        nota.append(QStringLiteral("Registrazione degli invii non riuscita: %1.").arg(esito.errore.testo()));
    if (!esito.accantonato.isEmpty())
        nota.append(QStringLiteral("Le righe non registrate sono state messe da parte nel file %1.")
                        .arg(QDir::toNativeSeparators(esito.accantonato)));
    if (esito.conservato && !esito.file.isEmpty())
        nota.append(QStringLiteral("L'elenco degli invii %1 è stato conservato e sarà letto di nuovo "
                                   "al prossimo invio.")
                        .arg(QDir::toNativeSeparators(esito.file)));
    return nota.join(QLatin1Char('\n'));
}
