#include "ServerSmtpProva.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

ServerProva::ServerProva(const QString& script, const QString& cartella, const QStringList& argomenti)
{
    // The server's own complaints (a client that refused its certificate...)
    // are part of what the tests provoke: kept aside, shown only when it fails.
    QDir().mkpath(cartella);
    const QString registro = cartella + QStringLiteral("/server.log");
    processo_.setStandardErrorFile(registro);
    processo_.start(QStringLiteral("/usr/bin/python3"), QStringList{script} + argomenti);
    while (processo_.waitForReadyRead(15000)) {
        if (!processo_.canReadLine())
            continue;
        const QByteArray riga = processo_.readLine().trimmed();
        if (riga.startsWith("porta "))
            porta_ = riga.mid(6).toInt();
        break;
    }
    if (!porta_) {
        QFile log(registro);
        log.open(QIODevice::ReadOnly);
        errore_ = QStringLiteral("server di prova non avviato: ") + processo_.errorString() + QLatin1Char('\n')
            + QString::fromUtf8(log.readAll());
    }
}

ServerProva::~ServerProva()
{
    ferma();
}

void ServerProva::ferma()
{
    processo_.terminate();
    if (!processo_.waitForFinished(5000)) {
        processo_.kill();
        processo_.waitForFinished(5000);
    }
}

ServerSmtpProva::ServerSmtpProva(const QString& cartella, const QStringList& opzioni)
    : ServerProva(QStringLiteral(SERVER_SMTP_PY), cartella,
                  QStringList{QStringLiteral("--cartella"), cartella + QStringLiteral("/ricevuti")} + opzioni)
    , ricevuti_(cartella + QStringLiteral("/ricevuti"))
{
}

QJsonArray ServerSmtpProva::messaggi() const
{
    QProcess lettore;
    lettore.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(LEGGI_MESSAGGI_PY), ricevuti_});
    lettore.waitForFinished(120000);
    return QJsonDocument::fromJson(lettore.readAllStandardOutput()).array();
}

QString ServerSmtpProva::FileCertificato(const QString& cartella)
{
    return cartella + QStringLiteral("/certificato.pem");
}

QStringList ServerSmtpProva::Certificato(const QString& cartella)
{
    const QString certificato = FileCertificato(cartella);
    const QString chiave = cartella + QStringLiteral("/chiave.pem");
    if (!QFile::exists(certificato)) {
        QDir().mkpath(cartella);
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                       "-days", "2", "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                       "-keyout", chiave, "-out", certificato});
        openssl.waitForFinished(60000);
    }
    return {QStringLiteral("--certificato"), certificato, QStringLiteral("--chiave"), chiave};
}
