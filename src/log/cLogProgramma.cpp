#include "log/cLogProgramma.h"

#include <QFile>
#include <QStringList>

void cLogProgramma::ScriviInFile(const QString& strNomeFile, bool AppendMode) const
{
    const QString riga = QStringList{Data, Ora, Procedura, TipoOperazione, Descrizione}
                             .join(QStringLiteral(" - "))
        + QStringLiteral("\r\n");
    QFile file(strNomeFile);
    const auto modo = AppendMode ? QIODevice::Append : (QIODevice::WriteOnly | QIODevice::Truncate);
    if (!file.open(modo))
        return;
    // The office's list files are 8-bit text, as the old workstations wrote them.
    const QByteArray dati = riga.toLocal8Bit();
    file.write(dati);
}
