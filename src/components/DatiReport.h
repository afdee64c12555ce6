#pragma once

#include "components/LayoutReport.h"

#include <QList>
#include <QStringList>

// The rows of a report's data set as they will be printed: one text per
// column of the layout, and the value of the grouping field.
struct DatiReport
{
    QList<QStringList> righe;
    QStringList gruppi; // one per row; empty texts when the layout has no group
};

// Runs `istruzione` (Jet dialect, translated by the archive layer) on the
// archive of `stringaConnessione` and keeps the layout's fields of each row.
// Dates print as dd/MM/yyyy, dates with a time as dd/MM/yyyy HH:mm:ss, nulls
// as empty text. The reason instead when the archive or the statement fails,
// a field of the layout is missing, or there are no rows.
Risultato<DatiReport> LeggiDatiReport(const LayoutReport& layout, const QString& stringaConnessione,
                                      const QString& istruzione);
