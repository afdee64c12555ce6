#pragma once

#include "common/ServizioInstallabile.h"

#include <QString>

// Hands a PDF file, as it is, to one of the system's printers: the printer
// gets the document itself, not a picture of its pages.
class ServizioStampa
{
public:
    virtual ~ServizioStampa() = default;

    // Sends `copie` copies of the file to `stampante` as a job named `titolo`.
    // Returns an empty text when the printer took the job, otherwise the
    // reason in the user's words.
    virtual QString StampaFile(const QString& stampante, const QString& percorso, const QString& titolo,
                               int copie) = 0;
};

// The system's print service (CUPS), reached through its library; the
// server is the one libcups finds (CUPS_SERVER, client.conf, the local one).
class StampaCups : public ServizioStampa
{
public:
    QString StampaFile(const QString& stampante, const QString& percorso, const QString& titolo,
                       int copie) override;
};

using ServizioStampaAttuale = ServizioInstallabile<ServizioStampa, StampaCups>;
