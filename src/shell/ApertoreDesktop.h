#pragma once

#include "shell/ApriStampaFile.h"

// Opens files through the desktop (xdg-open on Linux, the shell on Windows).
class ApertoreDesktop : public ApertoreFile
{
public:
    int Apri(const QString& percorso, const QString& verbo, bool ridotta) override;
};
