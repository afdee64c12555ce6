#pragma once

#include <QFile>
#include <QString>

// ElencoFileImp.txt, the list of what one run did: text in the system's
// encoding, lines ending in carriage return and line feed.
class ElencoImportazione
{
public:
    // Creates the file afresh; on failure returns the reason in the user's words.
    QString Crea(const QString& percorso);
    void Riga(const QString& testo = {});
    // Makes what was written so far safe on disk (a run killed later keeps it).
    void Salva();
    void Chiudi();

private:
    QFile file_;
};
