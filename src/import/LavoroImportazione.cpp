#include "import/LavoroImportazione.h"

#include "archive/Archivio.h"
#include "common/CartellaProgramma.h"
#include "import/ElencoCartella.h"
#include "import/EsecuzioneImportazione.h"

#include <QFile>
#include <QLockFile>
#include <QUtf8StringView>

namespace {

const QString annullata = QStringLiteral("Procedura annullata dall'operatore.");

} // namespace

LavoroImportazione::LavoroImportazione(ImpostazioniLavoro impostazioni, const std::atomic_bool& annulla)
    : impostazioni_(std::move(impostazioni)), annulla_(annulla)
{
}

LavoroImportazione::~LavoroImportazione() = default;

RisultatoImportazione LavoroImportazione::Esegui(const std::optional<SelezioneImportazione>& selezione)
{
    risultato_ = {};
    if (!AttendiTurno())
        return risultato_;
    if (selezione) {
        SelezioneImportazione presenti{{}, selezione->rimossi};
        // A name whose file went again before its turn came is nothing to archive.
        for (const QByteArray& nome : selezione->nuovi) {
            if (FilePresente(impostazioni_.cartellaPDF, nome))
                presenti.nuovi.append(nome);
        }
        EseguiImportazione(&presenti);
    } else {
        EseguiImportazione(nullptr);
    }
    return risultato_;
}

bool LavoroImportazione::AttendiTurno()
{
    turno_ = std::make_unique<QLockFile>(
        UnisciPercorso(CartellaProgramma(UsoCartella::Dati), QStringLiteral("ElencoFileImp.lock")));
    // A run may last long: only a holder that is no longer running leaves
    // the turn to the next one.
    turno_->setStaleLockTime(0);
    while (!turno_->tryLock(Esecuzione::attesaTentativo / 5)) {
        if (turno_->error() != QLockFile::LockFailedError) {
            risultato_.esito = EsitoImportazione::Interrotta;
            Messaggio(QStringLiteral("Impossibile scrivere nella cartella del programma %1: "
                                           "l'importazione non è stata eseguita.")
                                .arg(CartellaProgramma(UsoCartella::Dati)),
                            Icona::Esclamazione);
            return false;
        }
        if (annulla_) {
            risultato_.esito = EsitoImportazione::Annullata;
            return false;
        }
    }
    return true;
}

void LavoroImportazione::EliminaDocumentiDuplicati()
{
    Esecuzione run(impostazioni_.fileIni);
    if (const Errore errore = run.connessione.Apri(impostazioni_.stringaConnessione); errore.presente()) {
        Messaggio(errore.testo(), Icona::Nessuna);
        return;
    }
    ElencoCartella elenco;
    if (const Errore errore = elenco.Leggi(impostazioni_.cartellaPDF); errore.presente()) {
        Messaggio(errore.testo(), Icona::Esclamazione);
        return;
    }
    if (const Errore errore = LeggiArchivio(run, elenco); errore.presente()) {
        Messaggio(errore.testo(), Icona::Nessuna);
        return;
    }
    if (PuliziaSicura(run, elenco))
        Pulisci(run);
    else
        Messaggio(risultato_.puliziaNonEseguita, Icona::Esclamazione);
}

void LavoroImportazione::EseguiImportazione(const SelezioneImportazione* selezione)
{
    Esecuzione run(impostazioni_.fileIni);
    if (const Errore errore = run.elenco.Crea(PercorsoElencoImportazione()); errore.presente()) {
        risultato_.esito = EsitoImportazione::Interrotta;
        Messaggio(errore.testo(), Icona::Esclamazione);
        return;
    }
    risultato_.elenco = PercorsoElencoImportazione();
    run.elenco.Riga(QStringLiteral("elenco file elaborati:"));
    run.elenco.Riga();
    risultato_.esito = EsitoImportazione::Eseguita;
    if (const Errore errore = run.elenco.Salva(); errore.presente()) {
        Interrompi(run, errore.testo());
        return;
    }

    // Taken before the listing: any change to the folder after it shows.
    const ImprontaCartella impronta(impostazioni_.cartellaPDF);
    ElencoCartella elenco;
    if (const Errore errore = run.lunghezze.Aggiorna(); errore.presente()) {
        Interrompi(run, errore.testo());
    } else if (const Errore errore = run.connessione.Apri(impostazioni_.stringaConnessione);
               errore.presente()) {
        Interrompi(run, QStringLiteral("Impossibile aprire l'archivio %1: %2")
                            .arg(PercorsoDaConnessione(impostazioni_.stringaConnessione), errore.testo()));
    } else if (selezione) {
        // Only the rows of the names removed are looked at, not the whole archive.
        ElencoCartella rimossi;
        rimossi.Imposta(selezione->rimossi);
        AggiungiSpariti(run, rimossi, ElencoCartella());
        elenco.Imposta(selezione->nuovi);
        ElaboraCartella(run, elenco);
    } else if (const Errore errore = elenco.Leggi(impostazioni_.cartellaPDF); errore.presente()) {
        Interrompi(run, errore.testo());
    } else if (const Errore errore = LeggiArchivio(run, elenco); errore.presente()) {
        // Never a clean-up on part of the archive: the rows not read would
        // look as if they were not there.
        Interrompi(run, QStringLiteral("Impossibile leggere l'archivio %1: %2 L'archivio non è "
                                       "stato modificato.")
                            .arg(PercorsoDaConnessione(impostazioni_.stringaConnessione), errore.testo()));
    } else {
        ElaboraCartella(run, elenco);
    }
    if (!run.arresto.isEmpty())
        Interrompi(run, run.arresto);

    // A cancelled walk still tidies the archive; a run stopped by an error
    // does not touch it any further.
    if (risultato_.esito != EsitoImportazione::Interrotta) {
        // Files removed while the run walked the folder go in this clean-up too.
        if (!selezione && impronta.Cambiata()) {
            ElencoCartella dopo;
            if (!dopo.Leggi(impostazioni_.cartellaPDF).presente()) {
                AggiungiSpariti(run, elenco, dopo);
                elenco = std::move(dopo);
            }
        }
        if (PuliziaSicura(run, elenco))
            Pulisci(run);
        if (run.eliminate > 0 || risultato_.puliziaNonEseguita.isEmpty())
            run.note.append(QStringLiteral("Righe tolte dall'archivio perché il loro file non è più "
                                           "nella cartella: %1.")
                                .arg(run.eliminate));
        if (!run.arresto.isEmpty())
            Interrompi(run, run.arresto);
    } else {
        run.note.append(QStringLiteral("La pulizia dell'archivio non è stata eseguita: nessuna riga "
                                       "è stata tolta dall'archivio."));
    }

    if (run.connessione.Aperta())
        run.connessione.AggiornaStatistiche();

    for (const QString& nota : std::as_const(run.note)) {
        run.elenco.Riga(nota);
        run.elenco.Riga();
    }
    if (risultato_.esito == EsitoImportazione::Annullata)
        run.elenco.Riga(annullata);
    if (run.archiviati == 0)
        run.elenco.Riga(QStringLiteral("Nessun nuovo file archiviato."));
    else
        run.elenco.Riga(QStringLiteral("Archiviati n.%1 nuovi files.").arg(run.archiviati));
    if (const Errore errore = run.elenco.Chiudi(); errore.presente())
        Interrompi(run, errore.testo());
    if (risultato_.esito == EsitoImportazione::Eseguita
        && (run.nonArchiviati > 0 || run.problemiPulizia || !risultato_.puliziaNonEseguita.isEmpty()))
        risultato_.esito = EsitoImportazione::EseguitaConProblemi;
    risultato_.riepilogo = {run.archiviati, int(run.nonArchiviati), run.eliminate, run.rinviati};
}

void LavoroImportazione::ElaboraCartella(Esecuzione& run, const ElencoCartella& elenco)
{
    auto cerca = run.connessione.Prepara(
        QStringLiteral("Select 1 from Posta where Data=? and Codice=? and Tipo=? and NumDoc=? limit 1"));
    if (!cerca) {
        Interrompi(run, QStringLiteral("Impossibile leggere l'archivio %1: %2")
                            .arg(PercorsoDaConnessione(impostazioni_.stringaConnessione), cerca.errore().testo()));
        return;
    }
    run.cercaDocumento = std::move(*cerca);
    run.aggiunta = std::make_unique<AggiuntaDocumenti>(run.connessione);

    // Refuses a file of the folder with the reason the list gives.
    const auto scarta = [&run, this](const QString& nome, const QString& motivo) {
        run.lotto.push_back({nome, {CodiceErrore::FileNonArchiviabile, motivo}});
        run.ChiudiLottoSeTempo(impostazioni_.cartellaPDF);
    };
    for (qsizetype i = 0; i < elenco.Numero() && run.arresto.isEmpty(); ++i) {
        if (run.TempoDiRiferire()) {
            if (impostazioni_.avanzamento)
                impostazioni_.avanzamento(i, elenco.Numero());
            if (const Errore errore = run.lunghezze.Aggiorna(); errore.presente()) {
                run.ChiudiLotto(impostazioni_.cartellaPDF);
                Interrompi(run, errore.testo());
                return;
            }
        }
        if (annulla_) {
            risultato_.esito = EsitoImportazione::Annullata;
            break;
        }

        if (run.GiaArchiviato(i))
            continue;
        const QByteArrayView byteNome = elenco.Nome(i);
        if (impostazioni_.daRinviare && impostazioni_.daRinviare(byteNome)) {
            ++run.rinviati;
            continue;
        }
        const QString nome = QString::fromUtf8(byteNome);
        if (::LunghezzaNonValida(nome, run.lunghezze.Lunghezze()))
            continue;
        if (elenco.Esterno(i)) {
            scarta(nome, QStringLiteral("Il file è un collegamento a un file che non si trova nella "
                                        "cartella dei documenti: il file non è stato archiviato."));
            continue;
        }
        if (!QUtf8StringView(byteNome.data(), byteNome.size()).isValidUtf8()) {
            // It could never be found again by its archived name.
            scarta(nome, QStringLiteral("Il nome del file contiene caratteri non validi per il "
                                        "sistema: il file non è stato archiviato. Rinominare il file."));
            continue;
        }
        if (ConCaratteriDiControllo(nome)) {
            scarta(nome, QStringLiteral("Il nome del file contiene caratteri di controllo (un a capo, "
                                        "una tabulazione): il file non è stato archiviato. Rinominare "
                                        "il file."));
            continue;
        }
        const ChiaveDocumento chiave = ScomponiNomeFile(nome, run.lunghezze.Lunghezze());
        if (chiave.Vuota()) {
            scarta(nome, TestoScarto(chiave.scarto));
            continue;
        }
        const RigaPosta riga = RigaDocumento(nome, chiave);
        if (!run.aggiunta->Accetta(riga)) {
            run.InviaRighe();
            if (!run.arresto.isEmpty())
                break;
        }

        // Within the write transaction nobody else can add the same document
        // between the test and the insert. Without it, a file whose document
        // is archived already is no problem.
        if (run.AssicuraTransazione(annulla_)) {
            run.Accoda(nome, riga);
        } else {
            if (const Risultato<bool> presente = DocumentoPresente(run, riga); !presente) {
                run.lotto.push_back({nome, presente.errore()});
                run.DopoErrore(presente.errore());
            } else if (!*presente) {
                run.lotto.push_back({nome, run.bloccato});
            }
        }
        run.ChiudiLottoSeTempo(impostazioni_.cartellaPDF);
    }
    run.ChiudiLotto(impostazioni_.cartellaPDF);
    if (impostazioni_.avanzamento)
        impostazioni_.avanzamento(elenco.Numero(), elenco.Numero());
}

Risultato<bool> LavoroImportazione::DocumentoPresente(Esecuzione& run, const RigaPosta& riga)
{
    if (const Errore errore =
            run.cercaDocumento->Esegui({riga.Data, riga.Codice, riga.Tipo, riga.NumDoc});
        errore.presente())
        return errore;
    // Reading to the end releases the statement, and with it the read lock.
    bool presente = false;
    Risultato<bool> letta = run.cercaDocumento->Successiva();
    for (; letta && *letta; letta = run.cercaDocumento->Successiva())
        presente = true;
    if (!letta)
        return letta.errore();
    return presente;
}

Errore LavoroImportazione::LeggiArchivio(Esecuzione& run, const ElencoCartella& elenco)
{
    // Read in slices, each statement run to its end: a reading left open
    // would keep other workstations from saving for as long as it lasts.
    constexpr int righePerLettura = 5000;
    const auto preparata = run.connessione.Prepara(
        QStringLiteral("select %1, Stampa, Codice, Tipo, NumDoc, Data from Posta "
                       "where %1 > ? order by %1 limit %2")
            .arg(ColonnaChiave)
            .arg(righePerLettura));
    if (!preparata)
        return preparata.errore();
    Comando& righe = **preparata;
    // Without usable widths (the clean-up on its own) no key is worked out.
    const bool conChiavi = !run.lunghezze.Aggiorna().presente();
    const LunghezzeCampi lunghezze = run.lunghezze.Lunghezze();
    if (conChiavi) {
        run.giaArchiviato.assign(size_t(elenco.Numero()), false);
        run.lunghezzeArchiviati = lunghezze;
    }
    qint64 ultima = -1;
    for (int lette = righePerLettura; lette == righePerLettura;) {
        if (const Errore errore = righe.Esegui({ultima}); errore.presente())
            return errore;
        Risultato<bool> letta = righe.Successiva();
        for (lette = 0; letta && *letta; letta = righe.Successiva(), ++lette) {
            ++run.righeArchivio;
            ultima = righe.Valore(0).toLongLong();
            const QString stampa = righe.Valore(1).toString();
            const qsizetype indice = elenco.Indice(QFile::encodeName(stampa));
            if (indice < 0 || elenco.Esterno(indice)) {
                run.orfane.push_back({ultima, stampa});
                continue;
            }
            if (!conChiavi || run.giaArchiviato[size_t(indice)]
                || ::LunghezzaNonValida(stampa, lunghezze))
                continue;
            const ChiaveDocumento chiave = ScomponiNomeFile(stampa, lunghezze);
            if (chiave.Vuota())
                continue;
            const RigaPosta riga = RigaDocumento(stampa, chiave);
            run.giaArchiviato[size_t(indice)] = riga.Codice == righe.Valore(2).toString()
                && riga.Tipo == righe.Valore(3).toString()
                && riga.NumDoc == righe.Valore(4).toString()
                && riga.Data == righe.Valore(5).toDate();
        }
        if (!letta)
            return letta.errore();
    }
    return {};
}

void LavoroImportazione::AggiungiSpariti(Esecuzione& run, const ElencoCartella& prima,
                               const ElencoCartella& dopo)
{
    std::unique_ptr<Comando> righe;
    for (qsizetype i = 0; i < prima.Numero(); ++i) {
        const QByteArrayView nome = prima.Nome(i);
        if (prima.Esterno(i) || dopo.Contiene(nome))
            continue;
        if (!righe) {
            auto preparata = run.connessione.Prepara(
                QStringLiteral("select %1, Stampa from Posta where Stampa=?").arg(ColonnaChiave));
            if (!preparata)
                return;
            righe = std::move(*preparata);
        }
        const QString stampa = QString::fromUtf8(nome);
        if (righe->Esegui({stampa}).presente())
            return;
        // The column ignores case: only the row of this very name goes.
        for (Risultato<bool> letta = righe->Successiva(); letta && *letta; letta = righe->Successiva()) {
            if (righe->Valore(1).toString() == stampa)
                run.orfane.push_back({righe->Valore(0).toLongLong(), stampa});
        }
    }
}

bool LavoroImportazione::PuliziaSicura(Esecuzione& run, const ElencoCartella& elenco)
{
    if (!CartellaRaggiungibile(impostazioni_.cartellaPDF)) {
        risultato_.puliziaNonEseguita = QStringLiteral(
            "La cartella dei documenti %1 non è più raggiungibile: la pulizia dell'archivio non "
            "è stata eseguita e nessun documento è stato tolto dall'archivio.")
                                  .arg(impostazioni_.cartellaPDF);
    } else if (run.righeArchivio > 0) {
        // A share that is not mounted leaves an empty folder behind: taken at
        // its word, it would empty the archive.
        const bool conLunghezze = !run.lunghezze.Aggiorna().presente();
        bool documenti = false;
        for (qsizetype i = 0; i < elenco.Numero() && !documenti; ++i)
            documenti = !elenco.Esterno(i)
                && (!conLunghezze
                    || !::LunghezzaNonValida(QString::fromUtf8(elenco.Nome(i)),
                                             run.lunghezze.Lunghezze()));
        if (!documenti)
            risultato_.puliziaNonEseguita = QStringLiteral(
                "La cartella dei documenti %1 non contiene alcun documento, mentre l'archivio ne "
                "contiene %2: la pulizia dell'archivio non è stata eseguita e nessun documento è "
                "stato tolto dall'archivio. Controllare che la cartella sia collegata al server.")
                                      .arg(impostazioni_.cartellaPDF)
                                      .arg(run.righeArchivio);
    }
    if (risultato_.puliziaNonEseguita.isEmpty())
        return true;
    run.note.append(risultato_.puliziaNonEseguita);
    return false;
}

void LavoroImportazione::Pulisci(Esecuzione& run)
{
    if (run.orfane.empty())
        return;

    const auto elimina = run.connessione.Prepara(
        QStringLiteral("delete from Posta where %1=? and Stampa=?").arg(ColonnaChiave));
    if (!elimina) {
        SegnalaPulizia(run, elimina.errore());
        return;
    }
    Errore errore;
    // The listing is a few moments old: each file is looked up again
    // before its row goes.
    for (const Esecuzione::Orfana& orfana : run.orfane) {
        // A folder that went away now must not empty the archive.
        if (!CartellaRaggiungibile(impostazioni_.cartellaPDF)) {
            run.note.append(QStringLiteral(
                "La cartella dei documenti %1 non è più raggiungibile: la pulizia dell'archivio è "
                "stata interrotta.")
                                .arg(impostazioni_.cartellaPDF));
            run.problemiPulizia = true;
            break;
        }
        if (FilePresente(impostazioni_.cartellaPDF, QFile::encodeName(orfana.stampa)))
            continue;
        if (!run.AssicuraTransazione(annulla_)) {
            errore = run.bloccato;
            break;
        }
        if (errore = (*elimina)->Esegui({orfana.riga, orfana.stampa}); errore.presente()) {
            // The rows deleted before this one stay deleted: what the
            // transaction still holds is committed below.
            run.DopoErrore(errore);
            break;
        }
        run.eliminateLotto += (*elimina)->RigheModificate();
        if (run.inizioLotto.elapsed() >= Esecuzione::durataLotto) {
            if (errore = run.ChiudiLotto(impostazioni_.cartellaPDF); errore.presente())
                break;
        }
    }
    const Errore conferma = run.ChiudiLotto(impostazioni_.cartellaPDF);
    // A failure that stops the run is told once, by the stop itself.
    if ((errore.presente() || conferma.presente()) && run.arresto.isEmpty())
        SegnalaPulizia(run, errore.presente() ? errore : conferma);
}

void LavoroImportazione::SegnalaPulizia(Esecuzione& run, const Errore& errore)
{
    Messaggio(errore.testo(), Icona::Nessuna);
    run.note.append(QStringLiteral("Errore durante la pulizia dell'archivio: ") + errore.testo());
    run.problemiPulizia = true;
}

void LavoroImportazione::Interrompi(Esecuzione& run, const QString& messaggio)
{
    risultato_.esito = EsitoImportazione::Interrotta;
    Messaggio(messaggio, Icona::Esclamazione);
    run.note.append(messaggio);
    run.arresto.clear();
}

void LavoroImportazione::Messaggio(const QString& testo, Icona icona) const
{
    if (impostazioni_.messaggio)
        impostazioni_.messaggio(testo, icona);
}

QString PercorsoElencoImportazione()
{
    return UnisciPercorso(CartellaProgramma(UsoCartella::Dati), QStringLiteral("ElencoFileImp.txt"));
}
