#pragma once

#include "common/Errore.h"

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
    Errore Leggi(const QString& cartella);
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

// A name that would not stay on one line of a list, nor be typed again (a
// line break, a tabulation): neither archived nor mailed.
bool ConCaratteriDiControllo(const QString& nome);

// True when the folder can still be reached (it exists and is a folder).
bool CartellaRaggiungibile(const QString& cartella);
// What a name of the folder stands for. A symbolic link counts as a document
// only when it leads to a regular file of the folder itself: one that leads
// elsewhere (to /etc/shadow, say) would have the copy and e-mail windows hand
// out a file that was never a document. The one rule of the import and of the
// mail helper. `file` receives the path to open: the name's own, or where its
// link leads.
enum class TipoVoce { Mancante, Altro, Documento, Esterno };
TipoVoce TipoNellaCartella(const QString& cartella, QByteArrayView nome, QString* file = nullptr);
// True when a regular file with this name lies in the folder right now.
inline bool FilePresente(const QString& cartella, QByteArrayView nome)
{
    return TipoNellaCartella(cartella, nome) == TipoVoce::Documento;
}

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
