#include "ServerImapProva.h"

#include <QDir>
#include <QFile>

#include <csignal>

ServerImapProva::ServerImapProva(const QString& cartella)
    : ServerProva(QStringLiteral(SERVER_IMAP_PY), cartella,
                  {QStringLiteral("--cartella"), cartella, QStringLiteral("--utente"), QString::fromLatin1(utente),
                   QStringLiteral("--password"), QString::fromLatin1(password)})
    , cartella_(cartella)
{
}

ServerImapProva::~ServerImapProva()
{
    ferma();
    // A script stopped before its end leaves dovecot, which runs on its own.
    QFile pid(cartella_ + QStringLiteral("/run/master.pid"));
    if (pid.open(QIODevice::ReadOnly))
        if (const int numero = pid.readAll().trimmed().toInt(); numero > 0)
            ::kill(numero, SIGTERM);
}

void ServerImapProva::consegna(const QString& nome, const QByteArray& messaggio) const
{
    // Written aside and moved in, as a delivery agent does: never half a message.
    QFile file(cartella_ + QStringLiteral("/Maildir/tmp/") + nome);
    if (file.open(QIODevice::WriteOnly) && file.write(messaggio) == messaggio.size()) {
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther);
        file.rename(cartella_ + QStringLiteral("/Maildir/new/") + nome);
    }
}

QStringList ServerImapProva::contenuto() const
{
    QStringList file;
    for (const char* sotto : {"new", "cur"})
        for (const QString& nome : QDir(cartella_ + QStringLiteral("/Maildir/") + QLatin1String(sotto)).entryList(QDir::Files))
            file.append(nome.section(QLatin1Char(':'), 0, 0) + QLatin1Char(' ') + nome.section(QLatin1Char(':'), 1));
    file.sort();
    return file;
}
