#include "shell/ApertoreDesktop.h"

#include <QDesktopServices>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

// On Linux the desktop tells which program opens a type through xdg-mime;
// without an answer there is no program for it.
bool tipoSenzaProgramma(const QString& percorso)
{
#if defined(Q_OS_LINUX)
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return false;
    const QString tipo = QMimeDatabase().mimeTypeForFile(percorso).name();
    QProcess domanda;
    domanda.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), tipo});
    if (!domanda.waitForFinished(5000))
        return false;
    return domanda.readAllStandardOutput().trimmed().isEmpty();
#else
    Q_UNUSED(percorso);
    return false;
#endif
}

} // namespace

int ApertoreDesktop::Apri(const QString& percorso, const QString&, bool)
{
    if (tipoSenzaProgramma(percorso))
        return 31;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(percorso)) ? 42 : 0;
}
