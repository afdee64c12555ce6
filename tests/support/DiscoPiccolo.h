#pragma once

#include <QString>

// A small file system of its own (tmpfs) mounted on a folder, to run into a
// full disk for real. Mounting needs root: a test checks montato() and skips
// with motivo() where it cannot. Unmounted when it goes.
class DiscoPiccolo
{
public:
    DiscoPiccolo(const QString& cartella, int kilobyte);
    ~DiscoPiccolo();
    DiscoPiccolo(const DiscoPiccolo&) = delete;
    DiscoPiccolo& operator=(const DiscoPiccolo&) = delete;

    bool montato() const { return montato_; }
    static QString motivo() { return QStringLiteral("impossibile montare un disco piccolo (tmpfs): serve root"); }

    // Takes up the room of the disk but about `liberi` bytes, with a filler file.
    void riempi(qint64 liberi);
    // Removes the filler: the room is back.
    void libera();

private:
    QString cartella_;
    bool montato_ = false;
};
