#include "import/NotificheCartella.h"

#ifdef Q_OS_LINUX
#include "import/NotificheInotify.h"
#endif

std::unique_ptr<NotificheCartella> NotificheCartella::DelSistema()
{
#ifdef Q_OS_LINUX
    if (auto inotify = NotificheInotify::Crea())
        return inotify;
#endif
    return std::make_unique<NotificheAssenti>();
}
