#pragma once

#include "common/Errore.h"

#include <QDate>
#include <QString>
#include <QVariant>

// Connection strings, statement building blocks and the archive file itself.

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + `coda`, the path
// between double quotes when it holds a ';' or starts with a quote. The report
// is handed the string with nothing after the path, the record of sent mail
// with a bare ';'.
inline constexpr QStringView codaConnessione = u";Persist Security Info=False";
QString StringaConnessione(const QString& percorsoDatabase, QStringView coda = codaConnessione);
// The file named by "Data Source=" in a connection string: up to the next ';',
// or the whole quoted value.
QString PercorsoDaConnessione(const QString& stringaConnessione);

// A value ready to stand between single quotes in a statement.
QString RaddoppiaApici(const QString& valore);
// A date as statements write it between '#' signs: mm/dd/yyyy.
QString DataPerIstruzione(const QDate& data);

// A value in the form the archive stores: dates as yyyy-MM-dd, dates with
// a time as yyyy-MM-dd HH:mm:ss, so that ranges and ordering work as text.
QVariant ValorePerArchivio(const QVariant& valore);

// What the first bytes of a file say it is. A file this process holds open
// as an SQLite archive (see SegnaSQLiteInUso) is known without reading it.
enum class FormatoArchivio { Mancante, Cartella, Illeggibile, SQLite, Access, PostgreSQL, Sconosciuto };
FormatoArchivio RiconosciFormato(const QString& percorso);
// An SQLite archive held open by one more connection of this process (the
// key returned) and, with the key, by one fewer.
QString SegnaSQLiteInUso(const QString& percorso);
void SegnaSQLiteLibero(const QString& chiave);

// The first line of a connection file: a dati.mdb that names the server
// database holding the archive instead of being the archive.
inline const QByteArray IntestazioneCollegamento = QByteArrayLiteral("ClientVelmira archivio PostgreSQL\n");

// The column that identifies a row of the program's tables.
inline const QString ColonnaChiave = QStringLiteral("Id");

// Why a new archive cannot be made at `percorso` (the file exists, its
// folder does not), or nothing when it can.
Errore ControllaNuovoArchivio(const QString& percorso);

// Creates an empty SQLite archive with the program's tables, indexes and the
// query qryEmail. Refuses to replace an existing file.
Errore CreaArchivio(const QString& percorso);

// Adds to an archive made by an earlier version the program's own tables
// named that it does not have yet, with their indexes.
class Connessione;
Errore CreaTabelleMancanti(Connessione& connessione, const QStringList& nomi);

// The message every search window shows when the archive file is missing.
inline const QString MessaggioImpostazioniAssenti = QStringLiteral(
    "Una o più impostazioni del programma assenti, controllare le impostazioni del programma.");
inline const QString TitoloSelezionaDocumenti = QStringLiteral("Seleziona Documenti");
