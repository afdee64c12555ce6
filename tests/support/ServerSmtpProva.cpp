#include "ServerSmtpProva.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

int AvviaServerProva(QProcess& processo, const QString& script, const QString& cartella, const QStringList& argomenti,
                     QString& errore)
{
    // The server's own complaints (a client that refused its certificate...)
    // are part of what the tests provoke: kept aside, shown only when it fails.
    QDir().mkpath(cartella);
    const QString registro = cartella + QStringLiteral("/server.log");
    processo.setStandardErrorFile(registro);
    processo.start(QStringLiteral("/usr/bin/python3"), QStringList{script} + argomenti);
    int porta = 0;
    while (processo.waitForReadyRead(15000)) {
        if (!processo.canReadLine())
            continue;
        const QByteArray riga = processo.readLine().trimmed();
        if (riga.startsWith("porta "))
            porta = riga.mid(6).toInt();
        break;
    }
    if (!porta) {
        QFile log(registro);
        log.open(QIODevice::ReadOnly);
        errore = QStringLiteral("server di prova non avviato: ") + processo.errorString() + QLatin1Char('\n')
            + QString::fromUtf8(log.readAll());
    }
    return porta;
}

void FermaServerProva(QProcess& processo)
{
    processo.terminate();
    if (!processo.waitForFinished(5000)) {
        processo.kill();
        processo.waitForFinished(5000);
    }
}

ServerSmtpProva::ServerSmtpProva(const QString& cartella, const QStringList& opzioni)
    : ricevuti_(cartella + QStringLiteral("/ricevuti"))
{
    porta_ = AvviaServerProva(processo_, QStringLiteral(SERVER_SMTP_PY), cartella,
                              QStringList{QStringLiteral("--cartella"), ricevuti_} + opzioni, errore_);
}

ServerSmtpProva::~ServerSmtpProva()
{
    FermaServerProva(processo_);
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
