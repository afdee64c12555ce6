#pragma once

#include "archive/Connessione.h"
#include "common/CartellaProgramma.h"
#include "import/AggiuntaDocumenti.h"
#include "import/ElencoImportazione.h"
#include "import/LavoroImportazione.h"
#include "import/OsservatoreLunghezze.h"

#include <QElapsedTimer>
#include <QStringList>

#include <atomic>
#include <memory>
#include <vector>

// Everything one run keeps while it goes: the list, the widths, the open
// connection with its prepared statements, the current batch of rows.
struct LavoroImportazione::Esecuzione
{
    // How often a run tells how far it has gone.
    static constexpr qint64 intervalloRiferimento = 5;
    // Rows are written in transactions of about this length: few enough
    // commits to be fast, short enough that another workstation is not kept
    // waiting and that a run killed halfway loses little.
    static constexpr qint64 durataLotto = 200;
    // How long one attempt waits for another workstation's lock, and how long
    // a run keeps trying before it reports the files it could not archive.
    static constexpr int attesaTentativo = 100;
    static constexpr qint64 attesaMassima = 5000;

    explicit Esecuzione(const QString& fileIni) : lunghezze(fileIni) {}

    struct Voce
    {
        QString nome;
        Errore errore; // none for a file archived
        // Its document was in the archive already: the list does not name it.
        bool giaPresente = false;
    };

    ElencoImportazione elenco;
    OsservatoreLunghezze lunghezze;
    Connessione connessione;
    std::unique_ptr<Comando> cercaDocumento;
    std::unique_ptr<AggiuntaDocumenti> aggiunta;
    std::vector<size_t> inAttesa; // the entries of `lotto` whose rows wait in `aggiunta`
    QElapsedTimer daUltimoRiferimento;

    // Files handled since the transaction began: they reach the list only
    // once their rows are safe, so the list never names a row that a failed
    // commit took back.
    bool inTransazione = false;
    QElapsedTimer inizioLotto;
    std::vector<Voce> lotto;
    int eliminateLotto = 0; // rows the clean-up deleted in this transaction
    Errore bloccato; // why the last attempt to take the write lock failed
    QElapsedTimer ultimoTentativo;

    int archiviati = 0;
    int nonArchiviati = 0;
    int eliminate = 0; // rows the clean-up deleted, committed
    qint64 righeArchivio = 0; // rows the archive held when the run began
    bool problemiPulizia = false;
    int rinviati = 0; // files left for a later run
    QStringList note; // what the list must say besides the files
    // Set when the run cannot go on (the archive failed, the list cannot be
    // written): what to tell the user.
    QString arresto;

    // What the archive held when the run began. A file of the folder whose
    // row is there with exactly the key its name gives is known to be
    // archived without asking the archive again; this holds only for the
    // widths it was worked out with.
    std::vector<bool> giaArchiviato;
    LunghezzeCampi lunghezzeArchiviati;
    // Rows whose file was not in the folder: the clean-up looks at these.
    struct Orfana
    {
        qint64 riga;
        QString stampa;
    };
    std::vector<Orfana> orfane;

    bool GiaArchiviato(qsizetype indice) const
    {
        return !giaArchiviato.empty() && lunghezzeArchiviati == lunghezze.Lunghezze()
            && giaArchiviato[size_t(indice)];
    }

    // The run tells how far it has gone every few milliseconds: often
    // enough for a bar that moves smoothly, rarely enough to cost nothing on
    // a large folder. spooling.ini is looked at again at the same moments,
    // so that an edit made while the run goes counts from the next file.
    bool TempoDiRiferire()
    {
        if (daUltimoRiferimento.isValid() && daUltimoRiferimento.elapsed() < intervalloRiferimento)
            return false;
        daUltimoRiferimento.start();
        return true;
    }

    // Takes the write lock for a new batch. Another workstation may hold it
    // for a while: keep trying (each attempt waits a little), up to a limit;
    // once the limit was reached, try again only once per batch length so
    // that a run against an archive locked for good still ends quickly.
    // The limit starts again whenever the other workstation is seen to have
    // committed rows: a busy archive is not a stuck one, and the embedded
    // engine's lock is not fair (a run that commits and takes the lock again
    // at once can keep another waiting for as long as it goes on).
    bool AssicuraTransazione(const std::atomic_bool& annulla)
    {
        if (inTransazione)
            return true;
        if (bloccato.presente() && ultimoTentativo.elapsed() < durataLotto)
            return false;
        QElapsedTimer attesa;
        attesa.start();
        connessione.ImpostaAttesaBlocco(attesaTentativo);
        QString visto; // what the archive held when the lock was first refused
        for (;;) {
            const Errore errore = connessione.IniziaTransazione();
            if (!errore.presente()) {
                inTransazione = true;
                bloccato = {};
                inizioLotto.start();
                return true;
            }
            if (errore.bloccato() && !bloccato.presente() && !annulla) {
                if (visto.isNull()) {
                    visto = ContenutoArchivio();
                } else if (attesa.elapsed() >= attesaMassima) {
                    if (const QString ora = ContenutoArchivio(); !ora.isNull() && ora != visto) {
                        visto = ora;
                        attesa.restart();
                        continue;
                    }
                }
            }
            if (!errore.bloccato() || bloccato.presente() || attesa.elapsed() >= attesaMassima) {
                bloccato = errore;
                if (errore.grave())
                    Ferma(errore);
                ultimoTentativo.start();
                // Reads must not wait either while the archive stays locked.
                connessione.ImpostaAttesaBlocco(0);
                return false;
            }
        }
    }

    // How many rows Posta holds and its highest key: they move whenever
    // another workstation commits. Null when they cannot be read.
    QString ContenutoArchivio()
    {
        const auto conta = connessione.Prepara(QStringLiteral("select count(*), max(Id) from Posta"));
        if (!conta || (*conta)->Esegui().presente())
            return {};
        const Risultato<bool> riga = (*conta)->Successiva();
        if (!riga || !*riga)
            return {};
        return (*conta)->Valore(0).toString() + QLatin1Char(' ') + (*conta)->Valore(1).toString();
    }

    // Puts a file's row in the group to be added; the group goes to the
    // archive when full, or first when this row might be one of its documents.
    void Accoda(const QString& nome, const RigaPosta& riga)
    {
        inAttesa.push_back(lotto.size());
        lotto.push_back({nome, {}});
        aggiunta->Accoda(riga);
        if (aggiunta->Piena())
            InviaRighe();
    }

    // Sends the rows waiting, and tells each file's entry what became of it.
    void InviaRighe()
    {
        if (!aggiunta || aggiunta->Vuota())
            return;
        const auto esiti = aggiunta->Invia();
        for (size_t i = 0; i < inAttesa.size(); ++i) {
            Voce& voce = lotto[inAttesa[i]];
            if (const Errore errore = esiti ? (*esiti)[i].errore() : esiti.errore(); errore.presente())
                voce.errore = errore;
            else
                voce.giaPresente = *(*esiti)[i] == AggiuntaDocumenti::Esito::GiaPresente;
        }
        inAttesa.clear();
        if (!esiti)
            DopoErrore(esiti.errore());
    }

    // Sends the rows waiting, commits the batch and writes its files to the
    // list. A commit that cannot be made takes every row of the batch back,
    // and its files are listed as not archived, with the reason.
    Errore ChiudiLotto(const QString& cartella)
    {
        InviaRighe();
        // The lines are made ready before the commit, so that once the rows
        // are safe only one write stands between them and the list.
        const qsizetype segno = elenco.InAttesa();
        ElencaLotto(cartella);
        Errore errore;
        if (inTransazione) {
            QElapsedTimer attesa;
            attesa.start();
            errore = connessione.Conferma();
            while (errore.bloccato() && attesa.elapsed() < attesaMassima)
                errore = connessione.Conferma();
            if (errore.presente()) {
                PerdiLotto(errore);
                elenco.Scarta(segno);
                ElencaLotto(cartella);
            }
            if (errore.grave())
                Ferma(errore);
            inTransazione = false;
            eliminate += eliminateLotto;
            eliminateLotto = 0;
        }
        if (const Errore mancato = elenco.Salva(); mancato.presente() && arresto.isEmpty())
            arresto = mancato.testo();
        for (const Voce& voce : lotto) {
            if (!voce.giaPresente)
                ++(voce.errore.presente() ? nonArchiviati : archiviati);
        }
        lotto.clear();
        return errore;
    }

    void ElencaLotto(const QString& cartella)
    {
        for (const Voce& voce : lotto) {
            if (voce.giaPresente)
                continue;
            if (!voce.errore.presente()) {
                elenco.Riga(UnisciPercorso(cartella, voce.nome));
            } else {
                elenco.Riga(QStringLiteral("Problemi nell'archiviazione del file: ") + voce.nome
                            + QLatin1Char('.'));
                elenco.Riga(voce.errore.testo());
            }
            elenco.Riga();
        }
    }

    // The transaction is gone (rolled back by us or by the engine): nothing
    // written in it is in the archive, and the list must say so.
    void PerdiLotto(const Errore& errore)
    {
        if (connessione.TransazioneAttiva())
            connessione.Annulla();
        inTransazione = false;
        eliminateLotto = 0;
        if (aggiunta)
            aggiunta->Scarta();
        inAttesa.clear();
        for (Voce& voce : lotto) {
            if (!voce.errore.presente() && !voce.giaPresente)
                voce.errore = errore;
        }
    }

    // After a statement failed: a failure of the archive itself stops the
    // run, and a transaction the engine dropped on its own loses its batch.
    void DopoErrore(const Errore& errore)
    {
        if (inTransazione && (errore.grave() || !connessione.TransazioneAttiva()))
            PerdiLotto(errore);
        if (errore.grave())
            Ferma(errore);
    }

    void Ferma(const Errore& errore)
    {
        if (arresto.isEmpty())
            arresto = QStringLiteral("Importazione interrotta: %1 L'elenco riporta quanto fatto "
                                     "fino all'interruzione.")
                          .arg(errore.testo());
    }

    void ChiudiLottoSeTempo(const QString& cartella)
    {
        if (!inTransazione || inizioLotto.elapsed() >= durataLotto)
            ChiudiLotto(cartella);
    }
};
