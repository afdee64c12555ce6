#include "DiscoPiccolo.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <sys/statvfs.h>

namespace {
const QString riempitivo = QStringLiteral("/.riempitivo");
} // namespace

DiscoPiccolo::DiscoPiccolo(const QString& cartella, int kilobyte) : cartella_(cartella)
{
    QDir().mkpath(cartella);
    // mount's own complaint, if any, goes to the test's output.
    montato_ = QProcess::execute(QStringLiteral("mount"),
                                 {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                  QStringLiteral("size=%1k,mode=0777").arg(kilobyte), QStringLiteral("tmpfs"), cartella})
        == 0;
}

DiscoPiccolo::~DiscoPiccolo()
{
    if (montato_)
        QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), cartella_});
}

void DiscoPiccolo::riempi(qint64 liberi)
{
    struct statvfs stato {};
    if (statvfs(QFile::encodeName(cartella_).constData(), &stato) != 0)
        return;
    const qint64 disponibili = qint64(stato.f_bavail) * qint64(stato.f_frsize);
    QFile file(cartella_ + riempitivo);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QByteArray blocco(4096, '\0');
    for (qint64 scritti = 0; scritti + blocco.size() <= disponibili - liberi; scritti += blocco.size())
        file.write(blocco);
}

void DiscoPiccolo::libera()
{
    QFile::remove(cartella_ + riempitivo);
}
