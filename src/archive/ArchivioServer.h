#pragma once

#include "common/Errore.h"

#include <QString>
#include <functional>

// An archive kept on a PostgreSQL server, for offices with several
// workstations.

// Creates the program's tables, indexes and the query qryEmail in the server
// database that `parametri` names in libpq's terms ("host=srv dbname=velmira
// user=ufficio"), then writes the connection file `percorso` naming it.
// Refuses to replace an existing file or to touch a database that already
// holds the program's tables.
Errore CreaArchivioServer(const QString& percorso, const QString& parametri);

// Copies every row of the archive `origine` (an archive file) into the
// archive named by the connection file `destinazione`, keeping each row's
// key, in one transaction: either all of it is there or nothing. Refuses a
// destination that already holds documents or sent e-mails. `avanzamento`
// hears how many rows were copied out of how many.
Errore TrasferisciArchivio(const QString& origine, const QString& destinazione,
                                   const std::function<void(qint64 copiate, qint64 totale)>& avanzamento = {});
