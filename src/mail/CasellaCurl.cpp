#include "mail/CasellaCurl.h"

#include "mail/OpzioniCurl.h"

namespace {

// Every line the server sends, literals included: curl hands a command of
// our own only the first line of each answer, the debug callback all of it.
// What goes out (the login among it) is never kept.
int ascolta(CURL*, curl_infotype tipo, char* testo, size_t lunghezza, void* arg)
{
    if (tipo == CURLINFO_HEADER_IN)
        static_cast<QByteArray*>(arg)->append(testo, qsizetype(lunghezza));
    return 0;
}

size_t scarta(char*, size_t dimensione, size_t quanti, void*)
{
    return dimensione * quanti;
}

Errore erroreCasella(const QString& testo)
{
    return {CodiceErrore::Casella, testo};
}

Errore errore(CURLcode codice, const QString& server, const QByteArray& risposta)
{
    switch (codice) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        return erroreCasella(QStringLiteral("Il server della posta in arrivo %1 non risponde: controllare il server e la "
                                            "porta IMAP nelle impostazioni e la connessione di rete.").arg(server));
    case CURLE_LOGIN_DENIED:
        return erroreCasella(QStringLiteral("Il server della posta in arrivo %1 ha rifiutato l'accesso: controllare utente "
                                            "e password nelle impostazioni.").arg(server));
    case CURLE_PEER_FAILED_VERIFICATION:
        return erroreCasella(QStringLiteral("Il certificato del server della posta in arrivo %1 non è valido.").arg(server));
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_USE_SSL_FAILED:
        return erroreCasella(QStringLiteral("Connessione protetta (TLS) con il server della posta in arrivo %1 non riuscita.")
                                 .arg(server));
    case CURLE_SSL_CACERT_BADFILE:
        return erroreCasella(QStringLiteral("Il file del certificato CA indicato nelle impostazioni non è leggibile."));
    default:
        break;
    }
    // The server's own refusal, as it wrote it: the last tagged line.
    const QList<QByteArray> righe = risposta.trimmed().split('\n');
    const QString ultima = righe.isEmpty() ? QString() : QString::fromUtf8(righe.last().left(120)).simplified();
    return erroreCasella(QStringLiteral("Lettura della casella sul server %1 non riuscita (codice %2%3).")
                             .arg(server)
                             .arg(int(codice))
                             .arg(ultima.isEmpty() ? QString() : QStringLiteral(": ") + ultima));
}

} // namespace

CasellaCurl::CasellaCurl(const AccountImap& a)
    : curl_(curl_easy_init())
    , server_(a.server.trimmed())
{
    if (!curl_)
        return;
    const bool starttls = a.porta == 143;
    const QString indirizzo = QStringLiteral("%1://%2:%3/")
                                  .arg(starttls ? QStringLiteral("imap") : QStringLiteral("imaps"),
                                       server_.contains(QLatin1Char(':')) ? QLatin1Char('[') + server_ + QLatin1Char(']') : server_)
                                  .arg(a.porta > 0 ? a.porta : 993);
    curl_easy_setopt(curl_, CURLOPT_URL, indirizzo.toUtf8().constData());
    curl_easy_setopt(curl_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl_, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    if (!a.certificatoCA.isEmpty())
        curl_easy_setopt(curl_, CURLOPT_CAINFO, a.certificatoCA.toUtf8().constData());
    ImpostaAccesso(curl_, a.utente, a.password);
    ImpostaAttesaEAscolto(curl_, a.attesa, ascolta, &risposta_);
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, scarta);
}

CasellaCurl::~CasellaCurl()
{
    if (curl_)
        curl_easy_cleanup(curl_);
}

Risultato<QByteArray> CasellaCurl::Comando(const QByteArray& comando)
{
    if (!curl_)
        return erroreCasella(QStringLiteral("Libreria di rete non disponibile."));
    risposta_.clear();
    curl_easy_setopt(curl_, CURLOPT_CUSTOMREQUEST, comando.constData());
    const CURLcode codice = curl_easy_perform(curl_);
    if (codice != CURLE_OK)
        return errore(codice, server_, risposta_);
    return risposta_;
}

Risultato<StatoCasella> CasellaCurl::Esamina()
{
    // EXAMINE, never SELECT: the server keeps the inbox read-only.
    const Risultato<QByteArray> risposta = Comando("EXAMINE INBOX");
    if (!risposta)
        return risposta.errore();
    const StatoCasella stato = LeggiEsame(*risposta);
    if (stato.uidValidity == 0)
        return erroreCasella(QStringLiteral("Il server %1 non indica la validità degli identificativi della casella "
                                            "(UIDVALIDITY).").arg(server_));
    return stato;
}

Risultato<QList<quint32>> CasellaCurl::Ricevute(quint32 daUid)
{
    const Risultato<QByteArray> risposta =
        Comando(QByteArrayLiteral("UID SEARCH UID ") + QByteArray::number(qMax<quint32>(daUid, 1)) + ":* HEADER X-Ricevuta \"\"");
    if (!risposta)
        return risposta.errore();
    QList<quint32> uid;
    // "n:*" always takes the last message, even one older than n.
    for (const quint32 u : LeggiRicerca(*risposta))
        if (u >= daUid)
            uid.append(u);
    return uid;
}

Risultato<QMap<quint32, QByteArray>> CasellaCurl::Messaggi(const QList<quint32>& uid)
{
    QByteArrayList numeri;
    for (const quint32 u : uid)
        numeri.append(QByteArray::number(u));
    // BODY.PEEK: reading a message does not mark it as read.
    const Risultato<QByteArray> risposta = Comando("UID FETCH " + numeri.join(',') + " (UID BODY.PEEK[])");
    if (!risposta)
        return risposta.errore();
    return LeggiMessaggi(*risposta);
}
