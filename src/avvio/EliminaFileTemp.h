#pragma once

#include <QDateTime>
#include <QString>

class QFileInfo;

// Clean-up of the old list files that the copy window leaves in `elenchi`.

// When a file was made: its birth time where the file system records one,
// else its last modification.
QDateTime DataCreazione(const QFileInfo& file);

// Age in days as a calendar counts it: the number of midnights between the
// two moments (yesterday 23:59 is one day old at 00:01 today).
qint64 EtaInGiorni(const QDateTime& creazione, const QDateTime& adesso);

// Deletes the files directly inside `cartella` (subfolders are left alone)
// whose age is strictly greater than `durata` days. A file without write
// permission is read-only and stays; a file that cannot be deleted is skipped
// and the others are still cleaned. A missing folder means nothing to do.
// Returns how many files were deleted.
int EliminaFileTemp(const QString& cartella, qint16 durata, const QDateTime& adesso);
