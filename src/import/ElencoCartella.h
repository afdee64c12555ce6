#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <vector>

// The names of the regular files of one folder (subfolders left out), read
// once and kept packed in one buffer, sorted by name so that a run examines
// them in a repeatable order and a name is found by binary search. Names are
// kept as the file system gives them (bytes), so that a name that is not
// valid text is still found again.
class ElencoCartella
{
public:
    // Reads the folder; on failure returns the reason in the user's words.
    QString Leggi(const QString& cartella);
    // Takes the names given instead of reading a folder (repeats kept once).
    void Imposta(const QList<QByteArray>& nomi);

    qsizetype Numero() const { return qsizetype(voci_.size()); }
    QByteArrayView Nome(qsizetype indice) const
    {
        const Voce& v = voci_[size_t(indice)];
        return QByteArrayView(dati_.constData() + v.inizio, v.lunghezza);
    }
    // A symbolic link that leads out of the folder (or nowhere): listed so
    // that the run can say why it is not archived, never taken as a document.
    bool Esterno(qsizetype indice) const { return voci_[size_t(indice)].esterno; }
    // The position of a name, or -1 when it is not in the folder.
    qsizetype Indice(QByteArrayView nome) const;
    bool Contiene(QByteArrayView nome) const { return Indice(nome) >= 0; }

private:
    void Ordina();

    struct Voce
    {
        quint32 inizio;
        quint32 lunghezza : 31;
        quint32 esterno : 1;
    };
    QByteArray dati_;
    std::vector<Voce> voci_;
};

// True when the folder can still be reached (it exists and is a folder).
bool CartellaRaggiungibile(const QString& cartella);
// True when a regular file with this name lies in the folder right now (a
// symbolic link counts only when it leads to a file of the folder itself).
bool FilePresente(const QString& cartella, QByteArrayView nome);

// When the folder's entries last changed (a file added, removed or renamed),
// to tell whether a listing is still current.
class ImprontaCartella
{
public:
    explicit ImprontaCartella(const QString& cartella);
    // True when the folder may have changed since this was taken.
    bool Cambiata() const;

private:
    QString cartella_;
    qint64 modificata_ = -1;
    bool incerta_ = true;
};
