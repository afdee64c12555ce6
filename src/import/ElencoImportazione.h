#pragma once

#include "common/Errore.h"

#include <QByteArray>
#include <QFile>
#include <QString>

// ElencoFileImp.txt, the list of what one run did: text in the system's
// encoding, lines ending in carriage return and line feed.
//
// Lines are kept in memory and reach the file only at Salva, which the
// engine calls once the rows they name are safe in the archive: a run
// killed at any moment leaves a list whole up to its last saved batch, and
// only a finished run has the closing line.
class ElencoImportazione
{
public:
    // Creates the file afresh, never through a symbolic link or another
    // program's file left at that name: what is there is removed first.
    // On failure returns the reason in the user's words.
    Errore Crea(const QString& percorso);
    // One line; a control character (a line feed in a file name) is shown
    // as '?' so that every entry stays on its own line.
    void Riga(const QString& testo = {});
    // How much is kept and not yet written, and taking back what was kept
    // since then (lines made ready for rows that did not go in after all).
    qsizetype InAttesa() const { return daScrivere_.size(); }
    void Scarta(qsizetype daQui) { daScrivere_.truncate(daQui); }
    // Writes the lines kept so far. Returns why the list could not be
    // written (the first failure only: later ones say nothing new).
    Errore Salva();
    Errore Chiudi();

private:
    QFile file_;
    QByteArray daScrivere_;
    bool fallito_ = false;
};
