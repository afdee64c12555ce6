#pragma once

#include <QString>

// One entry of a list file: five texts written as one line joined by " - ".
class cLogProgramma
{
public:
    QString Data;
    QString Ora;
    QString Procedura;
    QString TipoOperazione;
    QString Descrizione;

    // Writes the line, ended by CR LF, to `strNomeFile`: appended when
    // `AppendMode`, otherwise replacing the file's content. Silent on failure.
    void ScriviInFile(const QString& strNomeFile, bool AppendMode = false) const;
};
