#include "search/ServizioStampa.h"

#include "common/ErroreSistema.h"

#include <QFile>

#include <cups/cups.h>

QString StampaCups::StampaFile(const QString& stampante, const QString& percorso, const QString& titolo,
                               int copie)
{
    // Read before a job exists, so that a missing file leaves no empty job behind.
    QFile file(percorso);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("impossibile leggere il file %1: %2").arg(percorso, TestoErroreFile(file));

    const QByteArray coda = stampante.toUtf8();
    const QByteArray nomeLavoro = titolo.toUtf8();
    cups_option_t* opzioni = nullptr;
    const int numeroOpzioni = cupsAddOption("copies", QByteArray::number(copie).constData(), 0, &opzioni);
    const auto rifiuto = [&stampante] {
        return QStringLiteral("la stampante %1 non ha accettato il documento: %2")
            .arg(stampante, QString::fromUtf8(cupsLastErrorString()));
    };

    const int lavoro = cupsCreateJob(CUPS_HTTP_DEFAULT, coda.constData(), nomeLavoro.constData(), numeroOpzioni,
                                     opzioni);
    cupsFreeOptions(numeroOpzioni, opzioni);
    if (lavoro == 0)
        return rifiuto();
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, coda.constData(), lavoro, nomeLavoro.constData(), CUPS_FORMAT_PDF,
                          1)
        != HTTP_STATUS_CONTINUE) {
        const QString errore = rifiuto();
        cupsCancelJob2(CUPS_HTTP_DEFAULT, coda.constData(), lavoro, 0);
        return errore;
    }
    QString errore;
    char blocco[64 * 1024];
    for (qint64 letti; (letti = file.read(blocco, sizeof blocco)) != 0;) {
        if (letti < 0) {
            errore = QStringLiteral("lettura del file %1 interrotta: %2").arg(percorso, TestoErroreFile(file));
            break;
        }
        if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, blocco, size_t(letti)) != HTTP_STATUS_CONTINUE) {
            errore = rifiuto();
            break;
        }
    }
    // The request must be finished in every case to free the connection.
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, coda.constData()) != IPP_STATUS_OK && errore.isEmpty())
        errore = rifiuto();
    if (!errore.isEmpty())
        cupsCancelJob2(CUPS_HTTP_DEFAULT, coda.constData(), lavoro, 0);
    return errore;
}
