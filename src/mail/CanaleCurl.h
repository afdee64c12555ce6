#pragma once

#include "mail/ProtocolloPosta.h"
#include "mail/SpedizionePosta.h"

#include <QByteArray>

typedef void CURL;

// The mail channel over libcurl. One handle for the whole dispatch, so the
// connection (and its login) is kept between messages. Port 465 speaks TLS
// from the first byte; any other port turns to TLS with STARTTLS when the
// server offers it, and insists on it whenever there is a user to log in.
class CanaleCurl : public CanaleSmtp
{
public:
    explicit CanaleCurl(const RichiestaPosta& richiesta);
    ~CanaleCurl() override;
    CanaleCurl(const CanaleCurl&) = delete;
    CanaleCurl& operator=(const CanaleCurl&) = delete;

    EsitoBusta Invia(const BustaPosta& busta) override;

    // What the server said during one message, as the debug callback hears it.
    struct Dialogo
    {
        QByteArray comando;         // the last command sent (its first word)
        bool parlato = false;       // the server said anything at all
        bool datiAccettati = false; // 354 to DATA: the message itself followed
        QByteArray rifiuto;         // the last 4xx/5xx reply, as the server wrote it
        QByteArray risposta;        // the reply to the message's final dot
        QByteArray comandoRifiutato;
    };

private:
    CURL* curl_;
    Dialogo dialogo_;
};
