#pragma once

#include "DialoghiRegistratore.h"
#include "DoppiShell.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <functional>

// What every window or engine test stands on: a temporary program folder,
// the message recorder, the opener and folder-picker doubles, and a clock
// that says what the test wants. Everything is put back when it goes.
class AmbienteProva
{
public:
    AmbienteProva();
    ~AmbienteProva();

    QString cartella() const { return dir_.path(); }
    // A path inside the temporary folder.
    QString percorso(const QString& nome) const;
    // Writes `testo` into a file of the temporary folder (folders made as needed).
    QString scriviFile(const QString& nome, const QByteArray& testo = {}) const;

    void fermaOrologio(const QDateTime& adesso);

    DialoghiRegistratore dialoghi;
    ApertoreRegistratore apertore;
    SelettoreCartellaFinto selettore;

private:
    QTemporaryDir dir_;
};

// What a file holds; empty when it cannot be read.
QByteArray LeggiFile(const QString& percorso);

// Waits until `condizione` holds, looking every half millisecond without
// running events: to catch another process in a moment that lasts a fraction
// of a second. False when it still does not hold after `millisecondi`.
bool AttendiDaVicino(const std::function<bool()>& condizione, int millisecondi = 60000);
