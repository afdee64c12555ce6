#pragma once

#include "import/NomeDocumento.h"

#include <QString>
#include <filesystem>

// The field widths of a spooling.ini for the length of one run. The file is
// read again only when it changed on disk (time or size), so that a change
// made during a run counts from the next file without re-reading an
// unchanged file thousands of times.
class OsservatoreLunghezze
{
public:
    explicit OsservatoreLunghezze(const QString& fileIni) : fileIni_(fileIni) {}

    // Looks at the file and reads it again if it changed. Returns why the
    // widths are not usable, when they are not.
    Errore Aggiorna();
    const LunghezzeCampi& Lunghezze() const { return lunghezze_; }

private:
    QString fileIni_;
    LunghezzeCampi lunghezze_;
    bool letto_ = false;
    std::filesystem::file_time_type modificato_{};
    std::uintmax_t dimensione_ = 0;
};
