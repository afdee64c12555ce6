#pragma once

#include "import/LavoroImportazione.h"

#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QThread;

// Brings the archive up to date with the PDF folder: every file whose name
// follows the document convention and whose document is not yet archived
// becomes a row of Posta; rows whose PDF has gone are deleted. What was done
// is written to ElencoFileImp.txt in the program's folder.
//
// The members up to EliminaDocumentiDuplicati are the engine's interface for
// other programs, in their order; assign CartellaPDF, Database and FileIni,
// then call Avvia. One object serves one run.
//
// The run itself is a LavoroImportazione: Avvia runs it on the caller's
// thread and returns when it has ended; AvviaInSottofondo runs it on a thread
// of its own, reports it through Avanzamento and ends with Terminata, so that
// a window stays free meanwhile.
//
// Runs that share a program folder take turns: a run waits while another
// run, of this program or of another one on the same folder, holds the list
// file, and keeps the turn until the object is destroyed, so that the list it
// shows is its own.
class cImporta : public QObject
{
    Q_OBJECT

public:
    explicit cImporta(QObject* genitore = nullptr);
    // A run still going on its thread is cancelled and waited for.
    ~cImporta() override;
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

    // Read between files by a run on any thread.
    bool AnnullaProcedura() const;
    void AnnullaProcedura(bool annulla);

    // Opens the list of the last run with the program associated with text
    // files. The desktop needs no owner window on this platform, so the
    // handle is only carried for callers that pass one.
    void VisualizzaRisultato(qint32 hWnd = 0);

    // Deletes the rows of Posta whose PDF is no longer in the folder.
    void EliminaDocumentiDuplicati();

    // Starts the run (of the names of `selezione` only, when given) on a
    // thread of its own and returns at once; Terminata follows, also when a
    // path failed its check. The messages it raises are shown on this
    // object's thread.
    void AvviaInSottofondo(std::optional<SelezioneImportazione> selezione = std::nullopt);
    bool InCorso() const { return filo_ != nullptr; }

    // What the last run did, once it has ended.
    const RisultatoImportazione& Risultato() const { return risultato_; }
    EsitoImportazione Esito() const { return risultato_.esito; }
    // Why the clean-up left the archive alone, for the window to say.
    QString PuliziaNonEseguita() const { return risultato_.puliziaNonEseguita; }
    RiepilogoImportazione Riepilogo() const { return risultato_.riepilogo; }

    // Files for which this answers true are left alone by the runs, to be
    // looked at again later (a file still being written). Called on the
    // run's thread.
    void ImpostaRinvio(std::function<bool(QByteArrayView nome)> daRinviare);

signals:
    // How many files of the folder were examined out of how many there are;
    // emitted on the run's thread every few milliseconds.
    void Avanzamento(qsizetype esaminati, qsizetype totale);
    void Messaggio(const QString& testo, Icona icona);
    // A run started by AvviaInSottofondo has ended: Risultato tells how.
    void Terminata();

private:
    // Makes the run ready; false, after saying why when `avvisa`, when a
    // path is missing or failed its check.
    bool Prepara(bool avvisa);
    ImpostazioniLavoro Impostazioni();

    QString stringaConnessione_;
    QString fileIni_;
    QString cartellaPDF_;
    bool erronePercorso_ = false;
    std::atomic_bool annulla_ = false;
    std::function<bool(QByteArrayView)> daRinviare_;
    std::unique_ptr<LavoroImportazione> lavoro_;
    std::unique_ptr<QThread> filo_;
    RisultatoImportazione risultato_;
    RisultatoImportazione dalFilo_; // written by the run's thread, read once it has ended
};
