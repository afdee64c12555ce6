#include "common/ErroreSistema.h"

#include <QFileDevice>

#include <cerrno>
#include <cstring>

namespace {

struct Causa
{
    int numero;
    const char* testo;
};

const Causa cause[] = {
    {ENOSPC, "disco pieno"},
#ifdef EDQUOT
    {EDQUOT, "spazio su disco concesso all'utente esaurito"},
#endif
    {EACCES, "permesso negato"},
    {EPERM, "operazione non permessa"},
    {ENOENT, "file o cartella inesistente"},
    {ENOTDIR, "il percorso non è una cartella"},
    {EISDIR, "il percorso è una cartella"},
    {EEXIST, "il file esiste già"},
    {EROFS, "disco in sola lettura"},
    {EIO, "errore di lettura o scrittura sul disco"},
    {EMFILE, "troppi file aperti"},
    {ENFILE, "troppi file aperti nel sistema"},
    {ENAMETOOLONG, "nome del file troppo lungo"},
    {ELOOP, "troppi collegamenti simbolici"},
    {EBUSY, "file o dispositivo occupato"},
    {ETXTBSY, "file in uso"},
    {EFBIG, "file troppo grande"},
    {ENOTEMPTY, "cartella non vuota"},
    {EXDEV, "spostamento tra dischi diversi non possibile"},
    {EINVAL, "argomento non valido"},
    {ENOMEM, "memoria esaurita"},
#ifdef ESTALE
    {ESTALE, "file non più raggiungibile sulla rete"},
#endif
    {EAGAIN, "risorsa temporaneamente non disponibile"},
    {EINTR, "operazione interrotta"},
};

} // namespace

QString TestoErroreSistema(int numero)
{
    for (const Causa& c : cause)
        if (c.numero == numero)
            return QString::fromUtf8(c.testo);
    return QStringLiteral("errore di sistema %1").arg(numero);
}

QString TraduciErroreSistema(const QString& testo)
{
    for (const Causa& c : cause) {
        const QString sistema = QString::fromLocal8Bit(std::strerror(c.numero));
        if (testo == sistema || testo.endsWith(QStringLiteral(": ") + sistema))
            return QString::fromUtf8(c.testo);
    }
    return {};
}

QString TestoErroreFile(const QFileDevice& file)
{
    if (const QString tradotto = TraduciErroreSistema(file.errorString()); !tradotto.isEmpty())
        return tradotto;
    switch (file.error()) {
    case QFileDevice::NoError:
        return {};
    case QFileDevice::ReadError:
        return QStringLiteral("errore di lettura");
    case QFileDevice::WriteError:
        return QStringLiteral("errore di scrittura");
    case QFileDevice::OpenError:
        return QStringLiteral("impossibile aprire il file");
    case QFileDevice::RemoveError:
        return QStringLiteral("impossibile eliminare il file");
    case QFileDevice::RenameError:
        return QStringLiteral("impossibile rinominare il file");
    case QFileDevice::ResourceError:
        return QStringLiteral("risorse del sistema esaurite");
    default:
        return QStringLiteral("errore del file");
    }
}
