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
    "  Esito: 0 importazione eseguita; 2 un percorso mancante o errato (nessuna\n"
    "  importazione); 1 importazione interrotta da un errore (l'elenco riporta\n"
    "  quanto fatto). I messaggi vanno sull'errore standard.\n"
    "\n"
    "crea-archivio\n"
    "  Crea un archivio vuoto nel file indicato. Non sovrascrive mai un file\n"
    "  esistente.\n"
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
    "  o niente. Rifiuta un archivio sul server che contiene già documenti.\n";

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

    QFile elenco(PercorsoElencoImportazione());
    if (elenco.open(QIODevice::ReadOnly)) {
        const QByteArray contenuto = elenco.readAll();
        std::fwrite(contenuto.constData(), 1, size_t(contenuto.size()), uscita);
        std::fflush(uscita);
    }
    return importazione.Esito() == EsitoImportazione::Interrotta ? esitoInterrotto : esitoRiuscito;
}

int creaArchivio(const QStringList& argomenti, std::FILE* uscita, std::FILE* errori)
{
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
    if (comando == QLatin1String("--help") || comando == QLatin1String("-h")
        || comando == QLatin1String("aiuto")) {
        std::fputs(guida, uscita);
        return esitoRiuscito;
    }
    if (comando == QLatin1String("importa"))
        return importa(argomenti.mid(1), uscita, errori);
    if (comando == QLatin1String("crea-archivio"))
        return creaArchivio(argomenti.mid(1), uscita, errori);
    if (comando == QLatin1String("trasferisci"))
        return trasferisci(argomenti.mid(1), uscita, errori);
    return erroreUso(errori, QStringLiteral("comando sconosciuto: %1").arg(comando));
}
