#pragma once

#include <QJsonArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// A real SMTP server on loopback (server_smtp.py beside it, over aiosmtpd),
// on a port the system chooses, saving what it receives into its own folder.
// Stopped when the object goes, also when a test fails half way.
// Starts a server script of the tests, which prints "porta N" once it
// listens; its complaints go to cartella/server.log. The port, or 0 with
// `errore` saying why.
int AvviaServerProva(QProcess& processo, const QString& script, const QString& cartella, const QStringList& argomenti,
                     QString& errore);
void FermaServerProva(QProcess& processo);

class ServerSmtpProva
{
public:
    // `cartella` holds the messages received (in ricevuti/); `opzioni` are
    // the script's: --modo, --utente, --rifiuta...
    ServerSmtpProva(const QString& cartella, const QStringList& opzioni);
    ~ServerSmtpProva();

    int porta() const { return porta_; } // 0 when it did not start
    QString errore() const { return errore_; }
    qint64 pid() const { return processo_.processId(); }
    // The messages received, as Python's MIME parser reads them.
    QJsonArray messaggi() const;

    // A certificate for 127.0.0.1 and its key, made with openssl in `cartella`
    // (kept when already there). The options that give them to the script.
    static QStringList Certificato(const QString& cartella);
    static QString FileCertificato(const QString& cartella);

private:
    QString ricevuti_;
    QProcess processo_;
    int porta_ = 0;
    QString errore_;
};
