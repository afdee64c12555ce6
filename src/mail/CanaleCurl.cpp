#include "mail/CanaleCurl.h"

#include "mail/ComposizionePosta.h"

#include <QDateTime>
#include <QUuid>

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

QString dominio(const QString& indirizzo)
{
    const QString d = indirizzo.section(QLatin1Char('@'), 1);
    return d.isEmpty() ? QStringLiteral("velmira.local") : d;
}

// The outcome, in Italian, of what curl and the server said.
EsitoBusta esito(CURLcode codice, const char* dettaglio, CURL* curl)
{
    const QString testo = QString::fromUtf8(*dettaglio ? dettaglio : curl_easy_strerror(codice));
    switch (codice) {
    case CURLE_OK:
        return {true, {}, false};
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return {false, QStringLiteral("server non raggiungibile"), true};
    case CURLE_OPERATION_TIMEDOUT: {
        curl_off_t collegato = 0;
        curl_easy_getinfo(curl, CURLINFO_CONNECT_TIME_T, &collegato);
        if (collegato == 0)
            return {false, QStringLiteral("server non raggiungibile"), true};
        return {false, QStringLiteral("connessione interrotta (il server non risponde)"), false};
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
    if (testo.startsWith(QLatin1String("RCPT failed")))
        return {false, QStringLiteral("destinatario rifiutato dal server"), false};
    if (testo.startsWith(QLatin1String("MAIL failed"))) {
        long risposta = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &risposta);
        if (risposta == 530)
            return {false, QStringLiteral("il server chiede l'accesso con utente e password"), true};
        return {false, QStringLiteral("mittente rifiutato dal server"), true};
    }
    if (codice == CURLE_SEND_ERROR || codice == CURLE_RECV_ERROR || codice == CURLE_GOT_NOTHING
        || codice == CURLE_PARTIAL_FILE)
        return {false, QStringLiteral("connessione interrotta"), false};
    return {false, QStringLiteral("errore del server (%1)").arg(testo), false};
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
    if (!r.Utente.isEmpty()) {
        curl_easy_setopt(curl_, CURLOPT_USERNAME, r.Utente.toUtf8().constData());
        curl_easy_setopt(curl_, CURLOPT_PASSWORD, r.PasswordSmtp.toUtf8().constData());
    }
    curl_easy_setopt(curl_, CURLOPT_MAIL_FROM, ('<' + r.Mittente.trimmed().toUtf8() + '>').constData());
    curl_easy_setopt(curl_, CURLOPT_CONNECTTIMEOUT, 30L);
    // A server that stops answering for two minutes has gone away.
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl_, CURLOPT_LOW_SPEED_TIME, 120L);
    curl_easy_setopt(curl_, CURLOPT_SERVER_RESPONSE_TIMEOUT, 120L);
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
    aggiungi(intestazioni, "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1());
    aggiungi(intestazioni, "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + '@'
                               + dominio(b.mittente).toUtf8() + '>');

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

    char dettaglio[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, dettaglio);
    curl_easy_setopt(curl_, CURLOPT_MAIL_RCPT, destinatari.get());
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, intestazioni.get());
    curl_easy_setopt(curl_, CURLOPT_MIMEPOST, mime.get());
    const CURLcode codice = curl_easy_perform(curl_);
    const EsitoBusta risultato = esito(codice, dettaglio, curl_);
    // Nothing of this message stays referenced by the handle.
    curl_easy_setopt(curl_, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(curl_, CURLOPT_MAIL_RCPT, nullptr);
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(curl_, CURLOPT_MIMEPOST, nullptr);
    return risultato;
}
