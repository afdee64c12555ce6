#include "mail/CanaleCurl.h"

#include "mail/ComposizionePosta.h"
#include "mail/OpzioniCurl.h"

#include <QDateTime>

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// Owners of curl's lists and MIME trees, released when a message is done.
struct LiberaLista
{
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
struct LiberaMime
{
    void operator()(curl_mime* m) const { curl_mime_free(m); }
};
using Lista = std::unique_ptr<curl_slist, LiberaLista>;

void aggiungi(Lista& lista, const QByteArray& riga)
{
    curl_slist* nuova = curl_slist_append(lista.get(), riga.constData());
    if (nuova) {
        (void)lista.release();
        lista.reset(nuova);
    }
}

// Attachments are read by curl straight from the bytes already in memory.
struct Lettore
{
    const QByteArray* dati;
    qsizetype posizione = 0;
};

size_t leggi(char* destinazione, size_t dimensione, size_t quanti, void* arg)
{
    auto* l = static_cast<Lettore*>(arg);
    const qsizetype n = qMin(qsizetype(dimensione * quanti), l->dati->size() - l->posizione);
    std::memcpy(destinazione, l->dati->constData() + l->posizione, size_t(n));
    l->posizione += n;
    return size_t(n);
}

int riposiziona(void* arg, curl_off_t scostamento, int origine)
{
    auto* l = static_cast<Lettore*>(arg);
    if (origine != SEEK_SET || scostamento < 0 || scostamento > l->dati->size())
        return CURL_SEEKFUNC_CANTSEEK;
    l->posizione = qsizetype(scostamento);
    return CURL_SEEKFUNC_OK;
}

// Hears the dialogue with the server: which command went last and the
// replies. Nothing else is kept: the lines of a login carry the password.
int ascolta(CURL*, curl_infotype tipo, char* testo, size_t lunghezza, void* arg)
{
    auto* d = static_cast<CanaleCurl::Dialogo*>(arg);
    const QByteArrayView righe(testo, qsizetype(lunghezza));
    if (tipo == CURLINFO_HEADER_OUT) {
        d->comando.clear();
        d->datiAccettati = false;
        for (const char* comando : {"EHLO", "HELO", "STARTTLS", "AUTH", "MAIL", "RCPT", "DATA", "RSET", "QUIT"})
            if (righe.startsWith(comando))
                d->comando = comando;
    } else if (tipo == CURLINFO_HEADER_IN) {
        const QByteArray riga = righe.trimmed().toByteArray();
        d->parlato = true;
        if (d->comando == "DATA" && riga.startsWith("354"))
            d->datiAccettati = true;
        else if (d->datiAccettati && riga.startsWith('2'))
            d->risposta = riga; // the server's word on the message itself
        if (riga.startsWith('4') || riga.startsWith('5')) {
            d->rifiuto = riga;
            d->comandoRifiutato = d->comando;
        }
    }
    return 0;
}

// "451 4.3.0 text": the server's own words and code, as given, short
// enough to be read whole in the list of sent e-mails.
QString parolaDelServer(const QByteArray& risposta)
{
    return QString::fromUtf8(risposta.left(80)).simplified();
}

// The outcome, in Italian, of what curl and the server said. libcurl's own
// texts are English and never shown.
EsitoBusta esito(CURLcode codice, const CanaleCurl::Dialogo& d, CURL* curl)
{
    const QString server = parolaDelServer(d.rifiuto);
    switch (codice) {
    case CURLE_OK:
        return {true, {}, false, false, QString::fromUtf8(d.risposta.left(200)).simplified()};
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return {false, QStringLiteral("server non raggiungibile"), true};
    case CURLE_OPERATION_TIMEDOUT: {
        curl_off_t collegato = 0;
        curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &collegato);
        if (collegato == 0 && !d.parlato)
            return {false, QStringLiteral("server non raggiungibile"), true};
        // The whole message went and the final dot was never answered.
        if (d.datiAccettati)
            return {false, QStringLiteral("il server non ha confermato la ricezione"), true, true};
        return {false, QStringLiteral("il server non risponde"), true};
    }
    case CURLE_LOGIN_DENIED:
        return {false, QStringLiteral("accesso al server rifiutato (utente o password errati)"), true};
    case CURLE_AUTH_ERROR:
        return {false, QStringLiteral("il server non accetta l'accesso con utente e password"), true};
    case CURLE_USE_SSL_FAILED:
        return {false, QStringLiteral("il server non offre una connessione protetta (TLS)"), true};
    case CURLE_PEER_FAILED_VERIFICATION:
        return {false, QStringLiteral("certificato del server non valido"), true};
    case CURLE_SSL_CONNECT_ERROR:
        return {false, QStringLiteral("connessione protetta (TLS) non riuscita"), true};
    case CURLE_SSL_CACERT_BADFILE:
        return {false, QStringLiteral("file del certificato CA non leggibile"), true};
    default:
        break;
    }
    if (!server.isEmpty()) {
        if (d.comandoRifiutato == "RCPT")
            return {false, QStringLiteral("destinatario rifiutato dal server (%1)").arg(server), false};
        if (d.comandoRifiutato == "MAIL" && d.rifiuto.startsWith("530"))
            return {false, QStringLiteral("il server chiede l'accesso con utente e password (%1)").arg(server), true};
        if (d.comandoRifiutato == "MAIL")
            return {false, QStringLiteral("mittente rifiutato dal server (%1)").arg(server), true};
        if (d.rifiuto.startsWith('4'))
            return {false, QStringLiteral("rifiuto temporaneo del server, riprovare più tardi (%1)").arg(server), false};
        return {false, QStringLiteral("messaggio rifiutato dal server (%1)").arg(server), false};
    }
    if (codice == CURLE_SEND_ERROR || codice == CURLE_RECV_ERROR || codice == CURLE_GOT_NOTHING
        || codice == CURLE_PARTIAL_FILE)
        return {false, d.datiAccettati ? QStringLiteral("connessione interrotta dopo l'invio del messaggio")
                                        : QStringLiteral("connessione interrotta"),
                false, d.datiAccettati};
    return {false, QStringLiteral("errore di comunicazione con il server (codice %1)").arg(int(codice)), false};
}

} // namespace

CanaleCurl::CanaleCurl(const RichiestaPosta& r)
    : curl_(curl_easy_init())
{
    if (!curl_)
        return;
    curl_easy_setopt(curl_, CURLOPT_URL, IndirizzoServerSmtp(r.ServerSmtp, r.PortaSmtp).constData());
    curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
    // A password never crosses the network in clear.
    curl_easy_setopt(curl_, CURLOPT_USE_SSL, long(r.Utente.isEmpty() ? CURLUSESSL_TRY : CURLUSESSL_ALL));
    if (!r.CertificatoCA.isEmpty())
        curl_easy_setopt(curl_, CURLOPT_CAINFO, r.CertificatoCA.toUtf8().constData());
    if (!r.Utente.isEmpty())
        ImpostaAccesso(curl_, r.Utente, r.PasswordSmtp);
    curl_easy_setopt(curl_, CURLOPT_MAIL_FROM, ('<' + r.Mittente.trimmed().toUtf8() + '>').constData());
    // A server that stops answering has gone away: one wait, and the
    // dispatch decides every document left (see EseguiSpedizione).
    ImpostaAttesaEAscolto(curl_, r.AttesaServer, ascolta, &dialogo_);
}

CanaleCurl::~CanaleCurl()
{
    if (curl_)
        curl_easy_cleanup(curl_);
}

EsitoBusta CanaleCurl::Invia(const BustaPosta& b)
{
    if (!curl_)
        return {false, QStringLiteral("libreria di rete non disponibile"), true};

    Lista destinatari;
    aggiungi(destinatari, '<' + b.destinatario.toUtf8() + '>');
    Lista intestazioni;
    aggiungi(intestazioni, "From: " + b.mittente.toUtf8());
    aggiungi(intestazioni, "To: " + b.destinatario.toUtf8());
    aggiungi(intestazioni, "Subject: " + TestoIntestazione(b.oggetto));
    aggiungi(intestazioni, "Date: " + b.data.toString(Qt::RFC2822Date).toLatin1());
    aggiungi(intestazioni, "Message-ID: " + b.messageId.toUtf8());

    std::unique_ptr<curl_mime, LiberaMime> mime(curl_mime_init(curl_));
    curl_mimepart* corpo = curl_mime_addpart(mime.get());
    const QByteArray testo = b.testo.toUtf8();
    curl_mime_data(corpo, testo.constData(), size_t(testo.size()));
    curl_mime_type(corpo, "text/plain; charset=UTF-8");
    curl_mime_encoder(corpo, "quoted-printable");

    std::vector<Lettore> lettori;
    lettori.reserve(size_t(b.allegati.size()));
    for (const AllegatoPosta& a : b.allegati) {
        lettori.push_back({&a.dati});
        curl_mimepart* parte = curl_mime_addpart(mime.get());
        curl_mime_data_cb(parte, curl_off_t(a.dati.size()), leggi, riposiziona, nullptr, &lettori.back());
        curl_mime_type(parte, "application/pdf");
        curl_mime_encoder(parte, "base64");
        Lista disposizione;
        aggiungi(disposizione, "Content-Disposition: " + DisposizioneAllegato(a.nome));
        curl_mime_headers(parte, disposizione.release(), 1);
    }

    dialogo_ = {};
    curl_easy_setopt(curl_, CURLOPT_MAIL_RCPT, destinatari.get());
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, intestazioni.get());
    curl_easy_setopt(curl_, CURLOPT_MIMEPOST, mime.get());
    const CURLcode codice = curl_easy_perform(curl_);
    const EsitoBusta risultato = esito(codice, dialogo_, curl_);
    // Nothing of this message stays referenced by the handle.
    curl_easy_setopt(curl_, CURLOPT_MAIL_RCPT, nullptr);
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(curl_, CURLOPT_MIMEPOST, nullptr);
    return risultato;
}
