#include "import/NotificheInotify.h"

#include <QFile>
#include <QSocketNotifier>

#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

constexpr quint32 eventiOsservati = IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

std::unique_ptr<NotificheInotify> NotificheInotify::Crea()
{
    const int inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify < 0)
        return nullptr;
    return std::unique_ptr<NotificheInotify>(new NotificheInotify(inotify));
}

NotificheInotify::NotificheInotify(int inotify)
    : inotify_(inotify), notifiche_(new QSocketNotifier(inotify, QSocketNotifier::Read, this))
{
    connect(notifiche_, &QSocketNotifier::activated, this, &NotificheInotify::Leggi);
}

NotificheInotify::~NotificheInotify()
{
    ::close(inotify_);
}

bool NotificheInotify::Osserva(const QString& cartella)
{
    osservazione_ = inotify_add_watch(inotify_, QFile::encodeName(cartella).constData(), eventiOsservati);
    return osservazione_ >= 0;
}

void NotificheInotify::Sospendi()
{
    notifiche_->setEnabled(false);
}

// File systems served by another machine.
bool NotificheInotify::DiRete(const QString& cartella) const
{
    struct statfs info {};
    if (statfs(QFile::encodeName(cartella).constData(), &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x65735546: // FUSE (sshfs and the like)
        return true;
    default:
        return false;
    }
}

void NotificheInotify::Leggi()
{
    alignas(inotify_event) char dati[64 * 1024];
    QList<Evento> eventi;
    for (;;) {
        const ssize_t letti = ::read(inotify_, dati, sizeof dati);
        if (letti <= 0)
            break;
        for (ssize_t i = 0; i < letti;) {
            const auto* evento = reinterpret_cast<const inotify_event*>(dati + i);
            i += ssize_t(sizeof(inotify_event) + evento->len);
            if (evento->mask & IN_Q_OVERFLOW) {
                eventi.append({Tipo::Perse, {}});
                continue;
            }
            if (evento->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
                // The folder itself went: another one may stand in its place
                // already, or later. What is still heard of a folder watched
                // before is past.
                if (evento->wd != osservazione_)
                    continue;
                if (osservazione_ >= 0 && (evento->mask & IN_IGNORED) == 0)
                    inotify_rm_watch(inotify_, osservazione_);
                osservazione_ = -1;
                eventi.append({Tipo::Perse, {}});
                continue;
            }
            if (evento->len == 0 || (evento->mask & IN_ISDIR))
                continue; // subfolders are never archived
            if (evento->mask & IN_CREATE)
                eventi.append({Tipo::Creato, QByteArray(evento->name)});
            else if (evento->mask & (IN_CLOSE_WRITE | IN_MOVED_TO))
                eventi.append({Tipo::Completo, QByteArray(evento->name)});
            else if (evento->mask & (IN_DELETE | IN_MOVED_FROM))
                eventi.append({Tipo::Tolto, QByteArray(evento->name)});
        }
    }
    if (!eventi.isEmpty())
        emit Eventi(eventi);
}
