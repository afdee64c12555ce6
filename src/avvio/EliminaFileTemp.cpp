#include "avvio/EliminaFileTemp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QDateTime DataCreazione(const QFileInfo& file)
{
    const QDateTime nascita = file.birthTime();
    return nascita.isValid() ? nascita : file.lastModified();
}

qint64 EtaInGiorni(const QDateTime& creazione, const QDateTime& adesso)
{
    return creazione.toLocalTime().date().daysTo(adesso.toLocalTime().date());
}

namespace {

// The owner's write bit plays the part of the read-only attribute: checking
// access rights instead would let an administrator delete protected lists.
bool SolaLettura(const QFileInfo& file)
{
    return !file.permissions().testFlag(QFileDevice::WriteOwner);
}

} // namespace

int EliminaFileTemp(const QString& cartella, qint16 durata, const QDateTime& adesso)
{
    const QDir dir(cartella);
    if (cartella.isEmpty() || !dir.exists())
        return 0;
    int eliminati = 0;
    const QFileInfoList elenco =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& file : elenco) {
        if (EtaInGiorni(DataCreazione(file), adesso) <= durata || SolaLettura(file))
            continue;
        // A list still open elsewhere or protected by the system stays; the
        // next activation tries again.
        if (QFile::remove(file.filePath()))
            ++eliminati;
    }
    return eliminati;
}
