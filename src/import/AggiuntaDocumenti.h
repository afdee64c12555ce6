#pragma once

#include "common/Errore.h"
#include "import/NomeDocumento.h"

#include <QSet>
#include <QString>
#include <memory>
#include <vector>

class Comando;
class Connessione;

// Adds documents to Posta a group at a time: one statement adds every row of
// the group whose document is not archived yet and names the rows it added.
// An archive on a server is then asked once per group instead of several
// times per file.
//
// It runs inside the caller's write transaction, whose lock keeps another
// workstation from adding the same document between the test and the insert.
class AggiuntaDocumenti
{
public:
    enum class Esito { Aggiunto, GiaPresente };
    // A row added or found archived already, or why the archive refused it.
    using EsitoRiga = Risultato<Esito>;

    explicit AggiuntaDocumenti(Connessione& connessione);
    ~AggiuntaDocumenti();
    AggiuntaDocumenti(const AggiuntaDocumenti&) = delete;
    AggiuntaDocumenti& operator=(const AggiuntaDocumenti&) = delete;

    // False when `riga` might be the same document as a row already waiting:
    // one statement cannot tell two of its own rows apart, so the group
    // must be sent first.
    bool Accetta(const RigaPosta& riga) const;
    void Accoda(const RigaPosta& riga);
    bool Piena() const;
    bool Vuota() const { return righe_.empty(); }

    // Sends the rows waiting; gives one outcome per row, in the order they
    // came. A row the archive refuses is refused alone: the others still go
    // in. An error instead means the archive failed, or dropped the
    // transaction, on the way: then no row of the group is in.
    Risultato<std::vector<EsitoRiga>> Invia();
    // Forgets the rows waiting (their transaction is gone).
    void Scarta();

private:
    Errore InviaGruppo(size_t da, size_t quante, std::vector<EsitoRiga>& esiti);
    Risultato<Comando*> Istruzione(size_t righe);
    bool Recuperabile(const Errore& errore) const;

    Connessione& connessione_;
    std::vector<RigaPosta> righe_;
    QSet<QString> chiavi_; // the waiting rows' keys, in a form that errs towards equal
    // Prepared once: the statement of a full group and that of one row.
    std::unique_ptr<Comando> piena_;
    std::unique_ptr<Comando> singola_;
    std::unique_ptr<Comando> altra_; // the last one of another size
    size_t righeAltra_ = 0;
};
