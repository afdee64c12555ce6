#pragma once

#include "common/Errore.h"
#include "common/Dialoghi.h"
#include "import/NomeDocumento.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class ElencoCartella;
class QLockFile;

// How a run ended, for callers without windows (the command-line tool).
enum class EsitoImportazione {
    NonAvviata,          // a path failed its check: nothing was done
    Eseguita,            // the folder was walked to its end, every file handled
    EseguitaConProblemi, // walked to its end, but some files are not archived
                         // or the clean-up failed or was skipped: the list says which
    Annullata,           // the operator cancelled the walk (or the wait for its turn)
    Interrotta           // an error stopped the run; the list says what was done
};

// What the last run did, for a caller that reports it in one line.
struct RiepilogoImportazione
{
    int archiviati = 0;
    int problemi = 0; // files listed as not archived
    int tolti = 0;    // rows deleted because their file had gone
    int rinviati = 0; // files left for a later run (still being written)
};

// Everything a run hands back once it has ended.
struct RisultatoImportazione
{
    EsitoImportazione esito = EsitoImportazione::NonAvviata;
    RiepilogoImportazione riepilogo;
    QString elenco; // the list file it wrote, empty when it wrote none
    // Why the clean-up left the archive alone (a PDF folder that holds no
    // document, or went away); empty when it ran.
    QString puliziaNonEseguita;
};

// The files a run is limited to, when it does not take the whole folder.
struct SelezioneImportazione
{
    QList<QByteArray> nuovi;
    QList<QByteArray> rimossi;
};

// What a run works on and whom it tells. The callbacks are called on the
// thread the run goes on.
struct ImpostazioniLavoro
{
    QString cartellaPDF;
    QString stringaConnessione;
    QString fileIni;
    // Told every few milliseconds how many files of the folder were examined
    // out of how many there are; also the moment at which the run looks at
    // spooling.ini again.
    std::function<void(qsizetype esaminati, qsizetype totale)> avanzamento;
    // What the user must read; whoever shows it does so on its own thread.
    std::function<void(const QString& testo, Icona icona)> messaggio;
    // Files for which this answers true are left for a later run.
    std::function<bool(QByteArrayView nome)> daRinviare;
};

// One import from its start to its list: waits for the turn, reads the
// archive and the folder, archives, cleans up, writes ElencoFileImp.txt.
// It owns its connection and never touches a window, so it may run on any
// thread; `annulla` is read between files (and while it waits for its turn)
// from whichever thread sets it. It keeps the turn until it is destroyed.
class LavoroImportazione
{
public:
    LavoroImportazione(ImpostazioniLavoro impostazioni, const std::atomic_bool& annulla);
    ~LavoroImportazione();
    LavoroImportazione(const LavoroImportazione&) = delete;
    LavoroImportazione& operator=(const LavoroImportazione&) = delete;

    // The whole folder, or only the names of `selezione`.
    RisultatoImportazione Esegui(const std::optional<SelezioneImportazione>& selezione = std::nullopt);
    // Deletes the rows of Posta whose PDF is no longer in the folder.
    void EliminaDocumentiDuplicati();

private:
    struct Esecuzione;

    bool AttendiTurno();
    void EseguiImportazione(const SelezioneImportazione* selezione);
    void ElaboraCartella(Esecuzione& run, const ElencoCartella& elenco);
    void AggiungiSpariti(Esecuzione& run, const ElencoCartella& prima, const ElencoCartella& dopo);
    bool PuliziaSicura(Esecuzione& run, const ElencoCartella& elenco);
    Risultato<bool> DocumentoPresente(Esecuzione& run, const RigaPosta& riga);
    Errore LeggiArchivio(Esecuzione& run, const ElencoCartella& elenco);
    void Pulisci(Esecuzione& run);
    void SegnalaPulizia(Esecuzione& run, const Errore& errore);
    void Interrompi(Esecuzione& run, const QString& messaggio);
    void Messaggio(const QString& testo, Icona icona) const;

    ImpostazioniLavoro impostazioni_;
    const std::atomic_bool& annulla_;
    RisultatoImportazione risultato_;
    std::unique_ptr<QLockFile> turno_;
};

// The path of the list file: the program's folder and "ElencoFileImp.txt".
QString PercorsoElencoImportazione();
