#pragma once

#include <QString>

#include <curl/curl.h>

// What every curl handle of ours is given alike, for the mail server and
// for the mailbox.

// The login; curl keeps its own copy of the password (for a login again on
// a new connection), ours is wiped at once.
void ImpostaAccesso(CURL* curl, const QString& utente, const QString& password);

// A server that stops answering has gone away after `attesa` seconds, for
// the connection and for each reply; `ascolta` hears the dialogue with it.
void ImpostaAttesaEAscolto(CURL* curl, long attesa, curl_debug_callback ascolta, void* dati);
