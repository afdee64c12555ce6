#include "DiscoPiccolo.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <sys/statvfs.h>

namespace {
const QString riempitivo = QStringLiteral("/.riempitivo");

QString esegui(const QString& programma, const QStringList& argomenti)
{
    QProcess processo;
    processo.start(programma, argomenti);
    if (!processo.waitForFinished(30000))
        return programma + QStringLiteral(" non risponde");
    if (processo.exitStatus() != QProcess::NormalExit || processo.exitCode() != 0)
        return QString::fromLocal8Bit(processo.readAllStandardError()).trimmed();
    return {};
}
} // namespace

DiscoPiccolo::DiscoPiccolo(const QString& cartella, int kilobyte) : cartella_(cartella)
{
    QDir().mkpath(cartella);
    motivo_ = esegui(QStringLiteral("mount"),
                     {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                      QStringLiteral("size=%1k,mode=0777").arg(kilobyte), QStringLiteral("tmpfs"),
                      cartella});
    montato_ = motivo_.isEmpty();
    if (!montato_)
        motivo_ = QStringLiteral("impossibile montare un disco piccolo (tmpfs) per la prova "
                                 "del disco pieno, serve root: ")
            + motivo_;
}

DiscoPiccolo::~DiscoPiccolo()
{
    if (montato_)
        esegui(QStringLiteral("umount"), {QStringLiteral("-l"), cartella_});
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
