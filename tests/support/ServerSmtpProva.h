#pragma once

#include <QJsonArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// A server script of the tests on loopback, on a port the system chooses: it
// prints "porta N" once it listens, and its complaints go to
// cartella/server.log. Stopped when the object goes, also when a test fails
// half way.
class ServerProva
{
public:
    ServerProva(const QString& script, const QString& cartella, const QStringList& argomenti);
    virtual ~ServerProva();

    int porta() const { return porta_; } // 0 when it did not start
    QString errore() const { return errore_; }
    qint64 pid() const { return processo_.processId(); }
    void ferma();

private:
    QProcess processo_;
    int porta_ = 0;
    QString errore_;
};

// A real SMTP server (the demo's scripts/server/server_smtp.py, over aiosmtpd), saving what
// it receives into its own folder.
class ServerSmtpProva : public ServerProva
{
public:
    // `cartella` holds the messages received (in ricevuti/); `opzioni` are
    // the script's: --modo, --utente, --rifiuta...
    ServerSmtpProva(const QString& cartella, const QStringList& opzioni);

    // The messages received, as Python's MIME parser reads them.
    QJsonArray messaggi() const;

    // A certificate for 127.0.0.1 and its key, made with openssl in `cartella`
    // (kept when already there). The options that give them to the script.
    static QStringList Certificato(const QString& cartella);
    static QString FileCertificato(const QString& cartella);

private:
    QString ricevuti_;
};
