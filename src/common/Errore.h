#pragma once

#include <QString>

#include <utility>
#include <variant>

// What went wrong, by name. A positive code is the number the user sees
// before the description, the one the office's documents have always shown
// (the embedded engine's own codes pass through as they are); the program's
// own failures that never carried a number are negative and show none.
enum class CodiceErrore : int {
    Nessuno = 0,
    Istruzione = 1,              // a bad statement, a missing table or field
    Bloccato = 5,                // another workstation holds the lock
    TipoNonCorrispondente = 13,  // a value of the wrong kind for its field
    DiscoPieno = 13,             // the embedded engine's number, kept by the server
    ValoreRifiutato = 19,        // a check or a key refused the value
    AccessoNegato = 23,
    TabelleEsistenti = 3010,
    NessunRecordCorrente = 3021,
    FileNonTrovato = 3024,
    CredenzialiRifiutate = 3029, // the server refuses the user, or a password is where it must not be
    PercorsoNonValido = 3044,
    FileNonApribile = 3051,
    CollegamentoInterrotto = 3146,
    ServerNonRaggiungibile = 3151,
    DriverMancante = 3170,
    FileEsistente = 3204,
    OperazioneNonSupportata = 3251,
    ElementoNonTrovato = 3265,
    ArchivioNonValido = 3343,      // not an archive, or a connection file that cannot be used
    OggettoChiuso = 3704,
    Report = -1,        // a report that cannot be made: its layout, its data
    FileProgramma = -2, // a list the program keeps (an import's, the mail sent) cannot be made, written or removed
    Cartella = -3,      // the documents folder cannot be read
    Lunghezze = -4,     // spooling.ini gives no usable field widths
    FileNonArchiviabile = -5, // a file of the folder that cannot be archived as it is (its name, a link)
    Ricerca = -6,       // a search that asks for nothing the archive can look for
    TestoDocumento = -7, // a document whose text cannot be read
    Casella = -8,       // a mailbox that cannot be read: its server, the login
};

// What kind of failure it is, for callers that must decide whether to
// wait, go on with the next row or stop.
enum class NaturaErrore {
    Ordinaria, // this statement failed (a refused value, a bad statement)
    Bloccato,  // another program or workstation holds the lock: it may pass
    Grave      // the archive itself failed (full disk, damage, I/O): going on is pointless
};

// A failure as the user sees it: the number, when it has one, one space and
// the description in Italian. The detail keeps what the engine or library
// said in its own words, for whoever looks into it; it is never shown.
struct Errore
{
    CodiceErrore codice = CodiceErrore::Nessuno;
    QString descrizione;
    NaturaErrore natura = NaturaErrore::Ordinaria;
    QString dettaglio = {};

    bool presente() const { return codice != CodiceErrore::Nessuno || !descrizione.isEmpty(); }
    bool grave() const { return natura == NaturaErrore::Grave; }
    bool bloccato() const { return natura == NaturaErrore::Bloccato; }
    int numero() const { return static_cast<int>(codice); }
    QString testo() const
    {
        return numero() >= 0 ? QString::number(numero()) + QLatin1Char(' ') + descrizione : descrizione;
    }
};

// A value, or the error that kept it from being made.
template <typename T>
class Risultato
{
public:
    Risultato(T valore) : stato_(std::in_place_index<0>, std::move(valore)) {}
    Risultato(Errore errore) : stato_(std::in_place_index<1>, std::move(errore)) {}

    explicit operator bool() const { return stato_.index() == 0; }
    T& operator*() { return std::get<0>(stato_); }
    const T& operator*() const { return std::get<0>(stato_); }
    T* operator->() { return &std::get<0>(stato_); }
    const T* operator->() const { return &std::get<0>(stato_); }
    // The error; an empty one when there is a value.
    Errore errore() const { return stato_.index() == 1 ? std::get<1>(stato_) : Errore{}; }

private:
    std::variant<T, Errore> stato_;
};
