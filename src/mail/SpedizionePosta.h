#pragma once

#include "mail/ProtocolloPosta.h"

#include "common/Orologio.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

// One dispatch from start to end: check what can go, put each recipient's
// documents into messages, hand them to the mail channel, and leave the list
// of what happened to each document in the program's folder.

struct AllegatoPosta
{
    QString nome;
    QByteArray dati;
};

struct BustaPosta
{
    QDateTime data; // when it goes
    QString messageId; // <...>, see NuovoMessageId
    QString mittente;
    QString destinatario;
    QString oggetto;
    QString testo;
    QList<AllegatoPosta> allegati;
};

// What became of one message. `causa` says why it did not go, in Italian;
// `perTutti` marks a fault of the server or of the account (unreachable,
// login refused, silent...) that the following messages would meet as well;
// `ignoto` a message sent in full that the server never confirmed.
struct EsitoBusta
{
    bool inviata = false;
    QString causa;
    bool perTutti = false;
    bool ignoto = false;
    QString risposta = {}; // the server's reply to a message it took ("250 2.0.0 Ok: queued as ...")
};

// The road to the mail server.
class CanaleSmtp
{
public:
    virtual ~CanaleSmtp() = default;
    virtual EsitoBusta Invia(const BustaPosta& busta) = 0;
};

// Attachments of one message stay under this many bytes (a larger document goes alone).
inline constexpr qint64 limiteAllegati = 20 * 1024 * 1024;

struct EsitoSpedizione
{
    bool esito = false; // every document went and the list was written
    QString messaggio;  // the closing message for the user
    bool elencoScritto = true;
};

// `avanzamento` hears of each document as soon as its outcome is known:
// documents settled so far, documents in all, the document's column in the
// table and its line of the list.
using AvanzamentoSpedizione = std::function<void(int fatti, int totale, int colonna, const QString& riga)>;
// Every time stamp, in the messages and in the list, comes from `adesso`.
EsitoSpedizione EseguiSpedizione(const RichiestaPosta& richiesta, CanaleSmtp& canale, const Orologio& adesso,
                                 const AvanzamentoSpedizione& avanzamento);
