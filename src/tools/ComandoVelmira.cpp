#include "tools/ComandoVelmira.h"

#include "archive/Archivio.h"
#include "archive/ArchivioServer.h"
#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"
#include "import/cImporta.h"

#include <QFile>
#include <QHash>

namespace {

constexpr int esitoRiuscito = 0;
constexpr int esitoInterrotto = 1;
constexpr int esitoPercorsi = 2;
constexpr int esitoIncompleto = 3;

const char* const guida =
    "Uso:\n"
    "  velmira importa --cartella-pdf CARTELLA --database FILE --file-ini FILE\n"
    "                  [--cartella-programma CARTELLA]\n"
    "  velmira crea-archivio FILE [--server PARAMETRI]\n"
    "  velmira trasferisci ARCHIVIO FILE-COLLEGAMENTO\n"
    "  velmira --help\n"
    "\n"
    "importa\n"
    "  Archivia i documenti PDF nuovi della cartella indicata, esattamente come la\n"
    "  finestra \"Importa Documenti\": ogni file il cui nome segue la convenzione dei\n"
    "  documenti (lunghezze dei campi lette dalla sezione \"AS/400\" del file INI)\n"
    "  diventa una riga dell'archivio, se non vi è già; le righe dei documenti il cui\n"
    "  PDF non è più nella cartella vengono tolte.\n"
    "  L'elenco di quanto fatto, ElencoFileImp.txt, viene scritto nella cartella del\n"
    "  programma (quella di questo eseguibile, o quella data con\n"
    "  --cartella-programma) e mostrato sull'uscita standard.\n"
    "    --cartella-pdf        la cartella dei documenti PDF sul server\n"
    "    --database            il file dell'archivio (di solito dati.mdb)\n"
    "    --file-ini            il file spooling.ini di Marvena\n"
    "    --cartella-programma  dove scrivere ElencoFileImp.txt\n"
    "  Due importazioni con la stessa cartella del programma si danno il turno: la\n"
    "  seconda attende che la prima abbia finito.\n"
    "  Esito:\n"
    "    0  importazione eseguita: ogni file della cartella è stato trattato\n"
    "    3  importazione eseguita fino in fondo, ma alcuni file non sono stati\n"
    "       archiviati (archivio bloccato o in sola lettura, righe rifiutate, nomi\n"
    "       non validi) oppure la pulizia dell'archivio non è riuscita o non è\n"
    "       stata eseguita: l'elenco dice quali e perché\n"
    "    1  importazione interrotta da un errore (disco pieno, archivio danneggiato,\n"
    "       elenco non scrivibile): l'elenco riporta quanto fatto\n"
    "    2  un percorso mancante o errato, o un comando errato: nessuna importazione\n"
    "  I messaggi vanno sull'errore standard.\n"
    "\n"
    "crea-archivio\n"
    "  Crea un archivio vuoto nel file indicato. Non sovrascrive mai un file\n"
    "  esistente. Esito: 0 archivio creato; 1 archivio non creato; 2 comando errato.\n"
    "    --server  crea invece l'archivio in un database PostgreSQL già esistente\n"
    "              e vuoto, indicato nei termini di libpq, per esempio\n"
    "              \"host=server dbname=velmira user=ufficio\"; il file indicato\n"
    "              diventa il file di collegamento da mettere come dati.mdb nella\n"
    "              cartella DataBase. La password non va mai nel file: ogni utente\n"
    "              la scrive nel proprio ~/.pgpass (permessi 600).\n"
    "\n"
    "trasferisci\n"
    "  Copia tutte le righe di un archivio (il vecchio dati.mdb) nell'archivio sul\n"
    "  server indicato dal file di collegamento, in una sola transazione: o tutto\n"
    "  o niente. Rifiuta un archivio sul server che contiene già documenti.\n"
    "  Esito: 0 archivio trasferito; 1 nulla è stato copiato; 2 comando errato.\n";

bool chiedeGuida(const QString& argomento)
{
    return argomento == QLatin1String("--help") || argomento == QLatin1String("-h")
        || argomento == QLatin1String("aiuto");
}

int guidaComando(std::FILE* uscita)
{
    std::fputs(guida, uscita);
    std::fflush(uscita);
    return esitoRiuscito;
}

void scrivi(std::FILE* flusso, const QString& testo)
{
    std::fputs(qUtf8Printable(testo), flusso);
    std::fflush(flusso);
}

int erroreUso(std::FILE* errori, const QString& testo)
{
    scrivi(errori, QStringLiteral("velmira: %1\nPer l'uso: velmira --help\n").arg(testo));
    return esitoPercorsi;
}

int importa(const QStringList& opzioni, std::FILE* uscita, std::FILE* errori)
{
    if (opzioni.size() == 1 && chiedeGuida(opzioni.first()))
        return guidaComando(uscita);
    const QStringList note = {QStringLiteral("--cartella-pdf"), QStringLiteral("--database"),
                              QStringLiteral("--file-ini"), QStringLiteral("--cartella-programma")};
    QHash<QString, QString> valori;
    for (qsizetype i = 0; i < opzioni.size(); i += 2) {
        if (!note.contains(opzioni[i]))
            return erroreUso(errori, QStringLiteral("opzione sconosciuta: %1").arg(opzioni[i]));
        if (i + 1 >= opzioni.size())
            return erroreUso(errori, QStringLiteral("manca il valore di %1").arg(opzioni[i]));
        valori.insert(opzioni[i], opzioni[i + 1]);
    }
    if (valori.contains(note[3]))
        ImpostaCartellaProgramma(valori.value(note[3]));

    cImporta importazione;
    importazione.CartellaPDF(valori.value(note[0]));
    importazione.Database(valori.value(note[1]));
    importazione.FileIni(valori.value(note[2]));
    importazione.Avvia();
    if (importazione.Esito() == EsitoImportazione::NonAvviata)
        return esitoPercorsi;

    // Still our turn: the list is the one this run wrote.
    QFile elenco(PercorsoElencoImportazione());
    if (elenco.open(QIODevice::ReadOnly)) {
        const QByteArray contenuto = elenco.readAll();
        std::fwrite(contenuto.constData(), 1, size_t(contenuto.size()), uscita);
        std::fflush(uscita);
    }
    switch (importazione.Esito()) {
    case EsitoImportazione::Eseguita:
        return esitoRiuscito;
    case EsitoImportazione::EseguitaConProblemi:
        return esitoIncompleto;
    default:
        return esitoInterrotto;
    }
}

int creaArchivio(const QStringList& argomenti, std::FILE* uscita, std::FILE* errori)
{
    if (argomenti.size() == 1 && chiedeGuida(argomenti.first()))
        return guidaComando(uscita);
    const bool server = argomenti.size() == 3 && argomenti[1] == QLatin1String("--server");
    if (argomenti.size() != 1 && !server)
        return erroreUso(errori, QStringLiteral("crea-archivio vuole il file dell'archivio da creare e, per "
                                                "un archivio sul server, --server e i parametri"));
    const ErroreArchivio errore = server ? CreaArchivioServer(argomenti[0], argomenti[2])
                                         : CreaArchivio(argomenti.first());
    if (errore.presente()) {
        scrivi(errori, QStringLiteral("velmira: %1\n").arg(errore.testo()));
        return esitoInterrotto;
    }
    scrivi(uscita, QStringLiteral("Archivio creato: %1\n").arg(argomenti.first()));
    return esitoRiuscito;
}

int trasferisci(const QStringList& argomenti, std::FILE* uscita, std::FILE* errori)
{
    if (argomenti.size() == 1 && chiedeGuida(argomenti.first()))
        return guidaComando(uscita);
    if (argomenti.size() != 2)
        return erroreUso(errori, QStringLiteral("trasferisci vuole l'archivio da copiare e il file di "
                                                "collegamento dell'archivio sul server"));
    const ErroreArchivio errore = TrasferisciArchivio(argomenti[0], argomenti[1], [errori](qint64 copiate, qint64 totale) {
        scrivi(errori, QStringLiteral("\rTrasferimento: %1 di %2 righe").arg(copiate).arg(totale));
    });
    scrivi(errori, QStringLiteral("\n"));
    if (errore.presente()) {
        scrivi(errori, QStringLiteral("velmira: %1\nNulla è stato copiato.\n").arg(errore.testo()));
        return esitoInterrotto;
    }
    scrivi(uscita, QStringLiteral("Archivio trasferito: %1\n").arg(argomenti[1]));
    return esitoRiuscito;
}

} // namespace

int EseguiVelmira(const QStringList& argomenti, std::FILE* uscita, std::FILE* errori)
{
    static DialoghiConsole console;
    Dialoghi::Installa(&console);

    const QString comando = argomenti.value(0);
    if (comando.isEmpty())
        return erroreUso(errori, QStringLiteral("manca il comando"));
    if (chiedeGuida(comando))
        return guidaComando(uscita);
    if (comando == QLatin1String("importa"))
        return importa(argomenti.mid(1), uscita, errori);
    if (comando == QLatin1String("crea-archivio"))
        return creaArchivio(argomenti.mid(1), uscita, errori);
    if (comando == QLatin1String("trasferisci"))
        return trasferisci(argomenti.mid(1), uscita, errori);
    return erroreUso(errori, QStringLiteral("comando sconosciuto: %1").arg(comando));
}
