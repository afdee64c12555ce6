// The mail helper: sends the documents of one dispatch and ends.
//
//   velmira-posta < richiesta
//
// The request (account, password, table of documents and recipients, the
// program's folder) arrives on standard input, so that nothing secret shows
// on the command line. Progress and the closing message go to standard
// output, one line each; the list of what became of every document is left
// in the program's folder. Exit status 0 once the dispatch ran (whatever
// became of the documents), 2 when the request could not be read.

#include "mail/CanaleCurl.h"
#include "mail/ProtocolloPosta.h"
#include "mail/Segreti.h"
#include "mail/SpedizionePosta.h"

#include <QFile>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <curl/curl.h>

namespace {

void scrivi(const QByteArray& riga)
{
    std::fwrite(riga.constData(), 1, size_t(riga.size()), stdout);
    std::fflush(stdout);
}

} // namespace

int main()
{
    ProteggiProcesso();
#ifdef SIGPIPE
    // The program that started us may go away: the dispatch goes on anyway.
    std::signal(SIGPIPE, SIG_IGN);
#endif

    QFile ingresso;
    if (!ingresso.open(stdin, QIODevice::ReadOnly))
        return 2;
    QByteArray testo = ingresso.readAll();
    auto richiesta = DecodificaRichiesta(testo);
    AzzeraSegreto(testo);
    if (!richiesta) {
        scrivi(RigaFine(false, QStringLiteral("Richiesta di invio non leggibile dal programma di invio della posta.")));
        return 2;
    }

    curl_global_init_mem(CURL_GLOBAL_DEFAULT, std::malloc, LiberaSegreto, RiallocaSegreto, DuplicaSegreto, std::calloc);
    EsitoSpedizione esito;
    {
        CanaleCurl canale(*richiesta);
        AzzeraSegreto(richiesta->PasswordSmtp); // curl has it now
        esito = EseguiSpedizione(*richiesta, canale, Adesso, [](int fatti, int totale, int colonna, const QString& riga) {
            scrivi(RigaAvanzamento(fatti, totale, colonna, riga));
        });
    }
    curl_global_cleanup();
    scrivi(RigaFine(esito.esito, esito.messaggio, esito.elencoScritto));
    return 0;
}
