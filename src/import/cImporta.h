#pragma once

#include "archive/ErroreArchivio.h"
#include "import/NomeDocumento.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

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

// Brings the archive up to date with the PDF folder: every file whose name
// follows the document convention and whose document is not yet archived
// becomes a row of Posta; rows whose PDF has gone are deleted. What was done
// is written to ElencoFileImp.txt in the program's folder.
//
// The members up to EliminaDocumentiDuplicati are the engine's interface for
// other programs, in their order; assign CartellaPDF, Database and FileIni,
// then call Avvia. One object serves one run.
//
// Runs that share a program folder take turns: Avvia waits (letting events
// through, so that a cancel is heard) while another run, of this program or
// of another one on the same folder, holds the list file, and keeps the turn
// until the object is destroyed, so that the list it shows is its own.
class cImporta
{
public:
    cImporta();
    ~cImporta();
    cImporta(const cImporta&) = delete;
    cImporta& operator=(const cImporta&) = delete;

    // The connection string, not the bare path.
    QString Database() const;
    void Database(const QString& percorso);

    QString FileIni() const;
    void FileIni(const QString& percorso);

    QString CartellaPDF() const;
    void CartellaPDF(const QString& cartella);

    // Runs the import, unless a path failed its check.
    void Avvia();

    bool AnnullaProcedura() const;
    void AnnullaProcedura(bool annulla);

    // Opens the list of the last run with the program associated with text
    // files. The desktop needs no owner window on this platform, so the
    // handle is only carried for callers that pass one.
    void VisualizzaRisultato(qint32 hWnd = 0);

    // Deletes the rows of Posta whose PDF is no longer in the folder.
    void EliminaDocumentiDuplicati();

    EsitoImportazione Esito() const { return esito_; }
    // Why the clean-up left the archive alone (a PDF folder that holds no
    // document, or went away), for the window to say; empty when it ran.
    QString PuliziaNonEseguita() const { return puliziaNonEseguita_; }
    // Told, whenever the run lets the window handle its events, how many
    // files of the folder were examined out of how many there are.
    void ImpostaAvanzamento(std::function<void(qsizetype esaminati, qsizetype totale)> avanzamento);

    // A run on the files named instead of the whole folder: each one that is
    // still a file of the folder is handled as Avvia handles it, and the rows
    // of those of `rimossi` that are no longer there are deleted. The list
    // file is written as by Avvia.
    void AvviaNomi(const QList<QByteArray>& nuovi, const QList<QByteArray>& rimossi);
    // Files for which this answers true are left alone by the runs, to be
    // looked at again later (a file still being written).
    void ImpostaRinvio(std::function<bool(QByteArrayView nome)> daRinviare);
    RiepilogoImportazione Riepilogo() const { return riepilogo_; }

private:
    struct Esecuzione;
    struct Selezione;

    bool AttendiTurno();
    void EseguiImportazione(const Selezione* selezione = nullptr);
    void ElaboraCartella(Esecuzione& run, const ElencoCartella& elenco);
    void AggiungiSpariti(Esecuzione& run, const ElencoCartella& prima, const ElencoCartella& dopo);
    bool PuliziaSicura(Esecuzione& run, const ElencoCartella& elenco);
    ErroreArchivio DocumentoPresente(Esecuzione& run, const RigaPosta& riga, bool& presente);
    bool LunghezzaNonValida(Esecuzione& run, const QString& nome);
    ErroreArchivio LeggiArchivio(Esecuzione& run, const ElencoCartella& elenco);
    void Pulisci(Esecuzione& run);
    void SegnalaPulizia(Esecuzione& run, const ErroreArchivio& errore);
    void Interrompi(Esecuzione& run, const QString& messaggio);

    QString stringaConnessione_;
    QString fileIni_;
    QString cartellaPDF_;
    bool erronePercorso_ = false;
    bool annullaProcedura_ = false;
    EsitoImportazione esito_ = EsitoImportazione::NonAvviata;
    QString puliziaNonEseguita_;
    std::unique_ptr<QLockFile> turno_;
    std::function<void(qsizetype, qsizetype)> avanzamento_;
    std::function<bool(QByteArrayView)> daRinviare_;
    RiepilogoImportazione riepilogo_;
};

// The path of the list file: the program's folder and "ElencoFileImp.txt".
QString PercorsoElencoImportazione();
