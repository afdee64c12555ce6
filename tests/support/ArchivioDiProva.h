#pragma once

#include "common/Errore.h"

#include <QString>
#include <functional>

class QSqlDatabase;

// The tests that read or write the archive run once per engine: on the
// embedded one, and with VELMIRA_MOTORE_PROVA=postgres on the PostgreSQL
// server that VELMIRA_PG_SERVER names in libpq's terms (scripts/test starts a
// private one). Without that server such a run is skipped, saying why.

bool ProvaSuServer();

// A new empty database on the test server, in libpq's terms.
QString NuovoDatabaseProva();

// An empty archive at `percorso`: the archive file itself, or a new database
// on the server and the connection file naming it.
Errore CreaArchivioProva(const QString& percorso);

// Runs `azione` on a connection of its own to an archive, as another
// program or workstation would open it.
void SuArchivio(const QString& database, const std::function<void(QSqlDatabase&)>& azione);

// Makes the archive refuse, with `messaggio`, to insert ("insert") or delete
// ("delete") the rows of Posta whose `colonna` holds `valore`, as a rule of
// its own would; Accetta takes the rule away.
bool Rifiuta(QSqlDatabase& db, const QString& evento, const QString& colonna, const QString& valore,
             const QString& messaggio);
bool Accetta(QSqlDatabase& db);

// The command and arguments of the engine's own shell on an archive (sqlite3
// or psql), to play another program holding the archive.
QStringList ShellArchivio(const QString& database);
