#pragma once

#include "archive/Archivio.h"

#include <QFile>
#include <QString>

// What every import benchmark stands on: Marvena's spooling.ini with widths
// 6, 3 and 7, and an empty archive.
inline void PreparaPostazione(const QString& fileIni, const QString& database)
{
    QFile ini(fileIni);
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[AS/400]\nLunCodCli=6\nLunTipDoc=3\nLunNumDoc=7\n") < 0)
        qFatal("impossibile scrivere %s", qPrintable(fileIni));
    ini.close();
    if (CreaArchivio(database).presente())
        qFatal("archivio non creato");
}
