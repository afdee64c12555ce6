#pragma once

#include <QString>

// Hands a file to the program the desktop associates with its type.
//
// Results follow the codes the Windows shell gives, so that every caller
// shows the same Italian texts: 33 or more is success; 2 missing file,
// 3 missing folder, 5 no permission, 31 no program for the file type,
// anything else below 33 an unknown failure.
class ApertoreFile
{
public:
    virtual ~ApertoreFile() = default;
    // `ridotta`: the program should start minimised (any verb but "open").
    virtual int Apri(const QString& percorso, const QString& verbo, bool ridotta) = 0;

    // The opener in use: the desktop's in the program, a recorder in tests.
    static ApertoreFile& Attuale();
    static void Installa(ApertoreFile* apertore);
};

// The Italian text for a shell result; empty for success.
QString TestoEsitoApertura(int codice);

// Opens `percorso` with `verbo` ("open" shows the program normally, any other
// verb minimised). Returns empty text on success, else the message text; it
// shows nothing itself.
QString ApriStampaFile(const QString& percorso, const QString& verbo);
