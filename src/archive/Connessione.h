#pragma once

#include "common/Errore.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

class MotoreArchivio;
class Comando;

// One open connection to the archive for the length of one action (an import
// run, the recording of a dispatch). Nothing holds it between two actions.
// Statements are written in the Jet dialect and translated for the engine.
class Connessione
{
public:
    Connessione();
    ~Connessione();
    Connessione(const Connessione&) = delete;
    Connessione& operator=(const Connessione&) = delete;

    // Opens the archive named by a connection string; recognises its format.
    Errore Apri(const QString& stringaConnessione);
    bool Aperta() const;
    void Chiudi();

    // How long a statement waits for another workstation's lock before it fails.
    void ImpostaAttesaBlocco(int millisecondi);

    // Refreshes what the engine knows of the archive's contents when the
    // archive has changed much since the last time, so that searches stay
    // quick. Call it at the end of an action that added or deleted rows.
    void AggiornaStatistiche();

    // A write transaction that takes the archive's write lock at once, so that
    // two workstations importing at the same time never both see a document
    // as missing.
    Errore IniziaTransazione();
    Errore Conferma();
    void Annulla();
    // Whether the transaction begun is still open (see MotoreArchivio).
    bool TransazioneAttiva() const;

    // Runs a statement that returns no rows.
    Errore Esegui(const QString& istruzione);
    // Runs a statement already in the engine's own dialect (layouts, upkeep).
    Errore EseguiNativa(const QString& istruzione);

    // Prepares a statement with '?' placeholders, to be run many times.
    Risultato<std::unique_ptr<Comando>> Prepara(const QString& istruzione);

    // For the archive layer itself.
    QSqlDatabase& Database();
    const MotoreArchivio& Motore() const;
    Errore ErroreDa(const class QSqlError& errore) const;
    // Runs `esegui`; inside a transaction of an engine that needs it, behind
    // a savepoint, so that a failure leaves the rest of the transaction alive.
    bool Protetto(const std::function<bool()>& esegui);

private:
    QString nome_;
    QString sqliteInUso_;
    bool inTransazione_ = false;
    QSqlDatabase db_;
    const MotoreArchivio* motore_ = nullptr;
};

// A prepared statement of a Connessione.
class Comando
{
public:
    Comando(Connessione& connessione, const QString& istruzioneTradotta);
    ~Comando();

    // Binds the values in order and runs the statement.
    Errore Esegui(const QVariantList& valori = {});
    // Steps through the rows of a statement that returns rows: true on a
    // row, false at the end. A read error is an error, never the end: a
    // damaged archive must never read as one that simply has fewer rows.
    Risultato<bool> Successiva();
    QVariant Valore(int colonna) const;
    // Rows changed by the last statement that changes rows.
    int RigheModificate() const;

private:
    friend class Connessione;
    Connessione& connessione_;
    struct Dati;
    std::unique_ptr<Dati> d_;
};
