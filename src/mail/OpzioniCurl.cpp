#include "mail/OpzioniCurl.h"

#include "mail/Segreti.h"

void ImpostaAccesso(CURL* curl, const QString& utente, const QString& password)
{
    curl_easy_setopt(curl, CURLOPT_USERNAME, utente.toUtf8().constData());
    QByteArray parola = password.toUtf8();
    curl_easy_setopt(curl, CURLOPT_PASSWORD, parola.constData());
    AzzeraSegreto(parola);
}

void ImpostaAttesaEAscolto(CURL* curl, long attesa, curl_debug_callback ascolta, void* dati)
{
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, attesa);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, attesa);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, attesa);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, ascolta);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, dati);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
}
