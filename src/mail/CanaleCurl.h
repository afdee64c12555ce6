#pragma once

#include "mail/ProtocolloPosta.h"
#include "mail/SpedizionePosta.h"

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

private:
    CURL* curl_;
};
