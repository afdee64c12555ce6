#include "tools/ComandoVelmira.h"

#include "archive/Archivio.h"
#include "archive/ArchivioServer.h"
#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"
#include "import/Sorveglianza.h"
#include "import/cImporta.h"
#include "archive/Connessione.h"
#include "indice/Indicizzazione.h"
#include "indice/Parole.h"
#include "mail/CasellaCurl.h"
#include "mail/FirmaCms.h"
#include "mail/RegistroRicevute.h"
#include "mail/Segreti.h"
#include "mail/StatoInvii.h"
#include "search/CercaDocumenti.h"
#include "search/RicercaTesto.h"
#include "settings/Contesto.h"

#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <curl/curl.h>
#include <optional>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int esitoRiuscito = 0;
constexpr int esitoInterrotto = 1;
constexpr int esitoPercorsi = 2;
constexpr int esitoIncompleto = 3;

const char* const guida =
    "Uso:\n"
    "  velmira importa --cartella-pdf CARTELLA --database FILE --file-ini FILE\n"
    "                  [--cartella-programma CARTELLA]\n"
    "  velmira sorveglia --cartella-pdf CARTELLA --database FILE --file-ini FILE\n"
    "                  [--cartella-programma CARTELLA] [--intervallo SECONDI]\n"
    "                  [--attesa SECONDI]\n"
    "  velmira crea-archivio FILE [--server PARAMETRI]\n"
    "  velmira trasferisci ARCHIVIO FILE-COLLEGAMENTO\n"
    "  velmira indicizza --database FILE --cartella-pdf CARTELLA [--limite SECONDI]\n"
    "  velmira cerca --database FILE [--dal GG/MM/AAAA --al GG/MM/AAAA]\n"
    "                [--numero N --anno AAAA] [--codice CODICE] [--tipo TIPO]\n"
    "                [--testo PAROLE]\n"
    "  velmira ricevute [--stato] [--cartella-programma CARTELLA]\n"
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
    "  --cartella-programma) e mostrato sull'uscita standard. Se in quella\n"
    "  cartella non si può scrivere (programma installato dal pacchetto), va in\n"
    "  ~/.local/share/ClientVelmira (o in $XDG_DATA_HOME/ClientVelmira).\n"
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
    "sorveglia\n"
    "  Tiene l'archivio aggiornato finché resta in esecuzione: ogni PDF nuovo della\n"
    "  cartella viene archiviato appena completo (chiuso dopo la scrittura, o di\n"
    "  dimensione ferma da --attesa secondi, 2 se non indicato), come farebbe\n"
    "  importa; le righe dei PDF tolti dalla cartella vengono tolte. Un passaggio\n"
    "  completo della cartella all'avvio, ogni --intervallo secondi (300 se non\n"
    "  indicato; 0 solo all'avvio) e quando le notifiche del sistema vanno perse\n"
    "  recupera quanto le notifiche non dicono (cartelle di rete). Un'importazione\n"
    "  dalla finestra o da importa nello stesso momento attende il proprio turno.\n"
    "  Una riga per passaggio sull'uscita standard. SIGTERM o SIGINT (Ctrl+C)\n"
    "  fermano il programma dopo il lotto in corso.\n"
    "  Esito: 0 fermato da un segnale; 2 un percorso mancante o errato all'avvio.\n"
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
    "  Esito: 0 archivio trasferito; 1 nulla è stato copiato; 2 comando errato.\n"
    "\n"
    "indicizza\n"
    "  Legge il testo di ogni PDF archiviato non ancora letto, o cambiato da\n"
    "  allora (dimensione o data di modifica), e lo mette nell'archivio per la\n"
    "  ricerca per parole. Mostra l'avanzamento sull'errore standard e il\n"
    "  riepilogo sull'uscita standard, con una riga per ogni PDF che non si è\n"
    "  potuto leggere e il motivo; un PDF non letto non viene riletto finché\n"
    "  non cambia. I PDF senza testo (scansioni) sono contati a parte.\n"
    "  SIGTERM o SIGINT (Ctrl+C) lo fermano dopo il file in corso; fermato in\n"
    "  qualunque modo, la volta successiva riprende da dove era arrivato.\n"
    "    --limite      secondi concessi alla lettura di un file (10 se non\n"
    "                  indicato); oltre, il file conta come non letto\n"
    "  Esito: 0 ogni documento è indicizzato; 3 fermato prima della fine;\n"
    "  1 archivio non leggibile o non scrivibile; 2 comando errato.\n"
    "\n"
    "cerca\n"
    "  Cerca i documenti come la finestra \"Visualizza Documenti\" e li scrive\n"
    "  nello stesso ordine, uno per riga, in cinque campi separati da una\n"
    "  tabulazione: nome del file, tipo, numero, data (GG/MM/AAAA), codice.\n"
    "    --dal --al    il periodo (ricerca per data)\n"
    "    --numero --anno  numero del documento e anno di quattro cifre\n"
    "                  (ricerca per numero; senza periodo)\n"
    "    --codice      codice cliente/fornitore, con il periodo o, senza,\n"
    "                  su tutte le date\n"
    "    --tipo        solo i documenti di quel tipo (\"Tutti\" o nessuno: ogni tipo)\n"
    "    --testo       solo i documenti il cui testo contiene tutte le parole\n"
    "                  (senza badare a maiuscole e accenti; parola* cerca\n"
    "                  l'inizio di una parola, \"tra virgolette\" una frase),\n"
    "                  dal più recente; da solo cerca in tutto l'archivio\n"
    "  Maiuscole e minuscole non contano, per ogni lettera (anche accentata):\n"
    "  l'archivio incorporato e quello sul server danno le stesse righe.\n"
    "  Esito: 0 ricerca eseguita (nessuna riga se non ha trovato nulla);\n"
    "  1 archivio non leggibile; 2 comando errato.\n"
    "\n"
    "ricevute\n"
    "  Legge dalla casella del mittente (IMAP con TLS, sezione [Email] di\n"
    "  Velmira.ini: ServerImap, PortaImap, gli stessi UserID e Password dell'invio)\n"
    "  le ricevute della posta certificata arrivate dall'ultima lettura e registra\n"
    "  per ogni documento e destinatario accettazione, consegna o mancata consegna.\n"
    "  La casella è aperta in sola lettura: nulla viene cancellato, spostato o\n"
    "  segnato come letto. Con CertificatiPec (il file dei certificati dei\n"
    "  gestori) la firma di ogni ricevuta è verificata e una firma non valida non\n"
    "  cambia nulla; senza, lo stato dice che la ricevuta non è verificata.\n"
    "  Impostazioni e archivio sono quelli della cartella del programma (di questo\n"
    "  eseguibile, o quella data con --cartella-programma); se in quella cartella\n"
    "  non si può scrivere (programma installato dal pacchetto), Velmira.ini è in\n"
    "  ~/.config/ClientVelmira (o in $XDG_CONFIG_HOME/ClientVelmira).\n"
    "    --stato  scrive invece, per ogni documento e destinatario, una riga di\n"
    "             campi separati da una tabulazione: nome del file, destinatario,\n"
    "             Message-ID, stato, ora dello stato (GG/MM/AAAA HH:MM:SS), motivo.\n"
    "  Esito: 0 lettura eseguita; 1 casella o archivio non raggiungibili;\n"
    "  2 comando errato.\n";

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

const QString opzioneCartella = QStringLiteral("--cartella-pdf");
const QString opzioneDatabase = QStringLiteral("--database");
const QString opzioneIni = QStringLiteral("--file-ini");
const QString opzioneProgramma = QStringLiteral("--cartella-programma");
const QString opzioneIntervallo = QStringLiteral("--intervallo");
const QString opzioneAttesa = QStringLiteral("--attesa");
const QString opzioneTesto = QStringLiteral("--testo");
const QString opzioneLimite = QStringLiteral("--limite");

// Reads "--option value" pairs among those `note` allows; on a wrong command
// line tells why on `errori` and returns false.
bool LeggiOpzioni(const QStringList& opzioni, const QStringList& note, QHash<QString, QString>& valori,
                  std::FILE* errori)
{
    for (qsizetype i = 0; i < opzioni.size(); i += 2) {
        QString errore;
        if (!note.contains(opzioni[i]))
            errore = QStringLiteral("opzione sconosciuta: %1").arg(opzioni[i]);
        else if (i + 1 >= opzioni.size())
            errore = QStringLiteral("manca il valore di %1").arg(opzioni[i]);
        if (!errore.isEmpty()) {
            erroreUso(errori, errore);
            return false;
        }
        valori.insert(opzioni[i], opzioni[i + 1]);
    }
    if (valori.contains(opzioneProgramma))
        ImpostaCartellaProgramma(valori.value(opzioneProgramma));
    return true;
}

int importa(const QStringList& opzioni, std::FILE* uscita, std::FILE* errori)
{
    if (opzioni.size() == 1 && chiedeGuida(opzioni.first()))
        return guidaComando(uscita);
    QHash<QString, QString> valori;
    if (!LeggiOpzioni(opzioni, {opzioneCartella, opzioneDatabase, opzioneIni, opzioneProgramma}, valori,
                      errori))
        return esitoPercorsi;

    cImporta importazione;
    importazione.CartellaPDF(valori.value(opzioneCartella));
    importazione.Database(valori.value(opzioneDatabase));
    importazione.FileIni(valori.value(opzioneIni));
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

// SIGTERM and SIGINT (Ctrl+C) handled by `gestore`, or as by default with SIG_DFL.
void ArrestoConSegnali(void (*gestore)(int))
{
    struct sigaction azione {};
    azione.sa_handler = gestore;
    sigemptyset(&azione.sa_mask);
    azione.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &azione, nullptr);
    sigaction(SIGINT, &azione, nullptr);
}

// The write end of the pipe that turns SIGTERM and SIGINT into an event of
// the loop: a signal handler may do little more than write a byte.
int segnaleScrittura = -1;

void SegnaleArresto(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t scritti = ::write(segnaleScrittura, &byte, 1);
}

// A number of seconds, possibly with decimals, as milliseconds; -1 when not.
int Millisecondi(const QString& testo)
{
    bool numero = false;
    const double secondi = testo.toDouble(&numero);
    return numero && secondi >= 0 && secondi < 1e6 ? int(secondi * 1000) : -1;
}

int sorveglia(const QStringList& opzioni, std::FILE* uscita, std::FILE* errori)
{
    if (opzioni.size() == 1 && chiedeGuida(opzioni.first()))
        return guidaComando(uscita);
    QHash<QString, QString> valori;
    if (!LeggiOpzioni(opzioni,
                      {opzioneCartella, opzioneDatabase, opzioneIni, opzioneProgramma, opzioneIntervallo,
                       opzioneAttesa},
                      valori, errori))
        return esitoPercorsi;
    ImpostazioniSorveglianza impostazioni;
    impostazioni.cartellaPDF = valori.value(opzioneCartella);
    impostazioni.database = valori.value(opzioneDatabase);
    impostazioni.fileIni = valori.value(opzioneIni);
    for (const auto& [opzione, valore] : {std::pair{opzioneIntervallo, &impostazioni.intervalloCompleto},
                                          std::pair{opzioneAttesa, &impostazioni.attesaStabile}}) {
        if (!valori.contains(opzione))
            continue;
        *valore = Millisecondi(valori.value(opzione));
        if (*valore < 0)
            return erroreUso(errori, QStringLiteral("%1 vuole un numero di secondi").arg(opzione));
    }

    int tubo[2];
    if (::pipe2(tubo, O_CLOEXEC | O_NONBLOCK) != 0)
        return erroreUso(errori, QStringLiteral("impossibile preparare la gestione dei segnali"));
    segnaleScrittura = tubo[1];
    ArrestoConSegnali(SegnaleArresto);

    QEventLoop ciclo;
    Sorveglianza sorveglianza(impostazioni, [uscita](const QString& riga) { scrivi(uscita, riga + '\n'); });
    QSocketNotifier segnali(tubo[0], QSocketNotifier::Read);
    QObject::connect(&segnali, &QSocketNotifier::activated, &sorveglianza, [&] {
        char byte;
        while (::read(tubo[0], &byte, 1) > 0) {
        }
        sorveglianza.Ferma();
    });
    QObject::connect(&sorveglianza, &Sorveglianza::Fermata, &ciclo, &QEventLoop::quit);
    sorveglianza.Avvia();
    ciclo.exec();

    ArrestoConSegnali(SIG_DFL);
    ::close(tubo[0]);
    ::close(tubo[1]);
    segnaleScrittura = -1;
    return sorveglianza.PercorsiErrati() ? esitoPercorsi : esitoRiuscito;
}

// Set by SIGTERM or SIGINT while indexing: a lock-free flag is all a
// handler may touch.
std::atomic<bool> indicizzazioneFermata{false};

void FermaIndicizzazione(int)
{
    indicizzazioneFermata = true;
}

int indicizza(const QStringList& opzioni, std::FILE* uscita, std::FILE* errori)
{
    if (opzioni.size() == 1 && chiedeGuida(opzioni.first()))
        return guidaComando(uscita);
    QHash<QString, QString> valori;
    if (!LeggiOpzioni(opzioni, {opzioneDatabase, opzioneCartella, opzioneLimite}, valori, errori))
        return esitoPercorsi;
    for (const QString& necessaria : {opzioneDatabase, opzioneCartella})
        if (!valori.contains(necessaria))
            return erroreUso(errori, QStringLiteral("manca %1").arg(necessaria));
    ImpostazioniIndice impostazioni{valori.value(opzioneDatabase), valori.value(opzioneCartella)};
    if (valori.contains(opzioneLimite)) {
        impostazioni.limiteMillisecondi = Millisecondi(valori.value(opzioneLimite));
        if (impostazioni.limiteMillisecondi <= 0)
            return erroreUso(errori, QStringLiteral("--limite vuole un numero di secondi"));
    }
    indicizzazioneFermata = false;
    ArrestoConSegnali(FermaIndicizzazione);
    ConteggiIndice conteggi;
    const Errore errore = Indicizza(impostazioni, conteggi, indicizzazioneFermata,
                                    [&](const ConteggiIndice& c, const PassoIndice& passo) {
        if (!passo.motivo.isEmpty())
            scrivi(uscita, QStringLiteral("Non letto: %1: %2\n").arg(passo.file, passo.motivo));
        scrivi(errori, QStringLiteral("\rIndicizzazione: %1 di %2 documenti").arg(c.letti).arg(c.daLeggere));
    });
    ArrestoConSegnali(SIG_DFL);
    if (conteggi.daLeggere > 0)
        scrivi(errori, QStringLiteral("\n"));
    scrivi(uscita, QStringLiteral("Documenti letti: %1 (con testo %2, senza testo %3, non letti %4); già "
                                  "indicizzati: %5; PDF mancanti: %6.\n")
                       .arg(conteggi.letti).arg(conteggi.conTesto).arg(conteggi.senzaTesto).arg(conteggi.falliti)
                       .arg(conteggi.invariati).arg(conteggi.mancanti));
    if (errore.presente()) {
        scrivi(errori, QStringLiteral("velmira: %1\n").arg(errore.testo()));
        return esitoInterrotto;
    }
    if (conteggi.letti < conteggi.daLeggere) {
        scrivi(uscita, QStringLiteral("Indicizzazione fermata: la prossima riprenderà da qui.\n"));
        return esitoIncompleto;
    }
    return esitoRiuscito;
}

int creaArchivio(const QStringList& argomenti, std::FILE* uscita, std::FILE* errori)
{
    if (argomenti.size() == 1 && chiedeGuida(argomenti.first()))
        return guidaComando(uscita);
    const bool server = argomenti.size() == 3 && argomenti[1] == QLatin1String("--server");
    if (argomenti.size() != 1 && !server)
        return erroreUso(errori, QStringLiteral("crea-archivio vuole il file dell'archivio da creare e, per "
                                                "un archivio sul server, --server e i parametri"));
    const Errore errore = server ? CreaArchivioServer(argomenti[0], argomenti[2])
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
    const Errore errore = TrasferisciArchivio(argomenti[0], argomenti[1], [errori](qint64 copiate, qint64 totale) {
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

// The search of the reprint window whose mode the options given choose; on a
// wrong command line says why and gives no mode.
std::optional<ModoRicerca> LeggiModoRicerca(const QHash<QString, QString>& valori, CriteriRicerca& criteri,
                                            QString& errore)
{
    const auto data = [&valori](const char* opzione) {
        return QDate::fromString(valori.value(QLatin1String(opzione)), QStringLiteral("d/M/yyyy"));
    };
    const bool periodo = valori.contains(QStringLiteral("--dal")) || valori.contains(QStringLiteral("--al"));
    const bool numero = valori.contains(QStringLiteral("--numero")) || valori.contains(QStringLiteral("--anno"));
    const bool codice = valori.contains(QStringLiteral("--codice"));
    criteri.tipo = valori.value(QStringLiteral("--tipo"), QStringLiteral("Tutti"));
    criteri.codice = valori.value(QStringLiteral("--codice"));
    if (numero) {
        criteri.numero = valori.value(QStringLiteral("--numero"));
        criteri.anno = valori.value(QStringLiteral("--anno"));
        if (periodo || codice)
            errore = QStringLiteral("la ricerca per numero e anno non usa né periodo né codice");
        else if (!valori.contains(QStringLiteral("--numero")))
            errore = QStringLiteral("manca --numero");
        else if (!CriteriRicerca::AnnoValido(criteri.anno))
            errore = QStringLiteral("Anno documento non valido: --anno vuole quattro cifre");
        return errore.isEmpty() ? std::optional(ModoRicerca::NumeroEAnno) : std::nullopt;
    }
    if (periodo) {
        criteri.dataIniziale = data("--dal");
        criteri.dataFinale = data("--al");
        if (!criteri.dataIniziale.isValid() || !criteri.dataFinale.isValid())
            errore = QStringLiteral("--dal e --al vogliono due date GG/MM/AAAA");
    } else if (codice) {
        // Every date an archive can hold.
        criteri.dataIniziale = QDate(1, 1, 1);
        criteri.dataFinale = QDate(9999, 12, 31);
    } else {
        errore = QStringLiteral("cerca vuole un periodo, un numero con l'anno o un codice");
    }
    if (!errore.isEmpty())
        return std::nullopt;
    return codice ? ModoRicerca::CodiceEPeriodo : ModoRicerca::Periodo;
}

int cerca(const QStringList& opzioni, std::FILE* uscita, std::FILE* errori)
{
    if (opzioni.size() == 1 && chiedeGuida(opzioni.first()))
        return guidaComando(uscita);
    QHash<QString, QString> valori;
    if (!LeggiOpzioni(opzioni,
                      {opzioneDatabase, QStringLiteral("--dal"), QStringLiteral("--al"), QStringLiteral("--numero"),
                       QStringLiteral("--anno"), QStringLiteral("--codice"), QStringLiteral("--tipo"), opzioneTesto},
                      valori, errori))
        return esitoPercorsi;
    CriteriRicerca criteri;
    QString sbagliato;
    bool conCriteri = false;
    for (const char* opzione : {"--dal", "--al", "--numero", "--anno", "--codice"})
        conCriteri = conCriteri || valori.contains(QLatin1String(opzione));
    std::optional<ModoRicerca> modo;
    if (conCriteri || !valori.contains(opzioneTesto)) {
        modo = LeggiModoRicerca(valori, criteri, sbagliato);
    } else if (valori.contains(QStringLiteral("--tipo"))) {
        // Words and a type: the documents of that type of every date.
        criteri = {QDate(1, 1, 1), QDate(9999, 12, 31), valori.value(QStringLiteral("--tipo")), {}, {}, {}};
        modo = ModoRicerca::Periodo;
    }
    if (!valori.contains(opzioneDatabase))
        return erroreUso(errori, QStringLiteral("manca --database"));
    if (!modo && !sbagliato.isEmpty())
        return erroreUso(errori, sbagliato);
    Errore errore;
    if (valori.contains(opzioneTesto)) {
        const auto frasi = LeggiRicerca(valori.value(opzioneTesto));
        if (!frasi)
            return erroreUso(errori, frasi.errore().descrizione);
        errore = ArchivioTesti().Cerca(valori.value(opzioneDatabase), *frasi, modo, criteri, [uscita](const DocumentoTrovato& d) {
            scrivi(uscita, QStringList{d.stampa, d.tipo, d.numero, TestoDelCampo(d.data), d.codice}.join(u'\t') + u'\n');
        });
    } else {
        errore = CercaDocumenti(valori.value(opzioneDatabase), *modo, criteri,
                                [uscita](const QString& riga) { scrivi(uscita, riga + '\n'); });
    }
    if (errore.presente()) {
        scrivi(errori, QStringLiteral("velmira: %1\n").arg(errore.testo()));
        return esitoInterrotto;
    }
    return esitoRiuscito;
}

int statoInvii(const Contesto& contesto, std::FILE* uscita, std::FILE* errori)
{
    Connessione connessione;
    Errore errore = connessione.Apri(StringaConnessione(contesto.strDatabase, u";"));
    const Risultato<QList<StatoInvio>> stati = errore.presente() ? Risultato<QList<StatoInvio>>(errore) : StatiInvii(connessione);
    if (!stati) {
        scrivi(errori, QStringLiteral("velmira: %1\n").arg(stati.errore().testo()));
        return esitoInterrotto;
    }
    for (const StatoInvio& s : *stati)
        scrivi(uscita, RigaStato(s) + QLatin1Char('\n'));
    return esitoRiuscito;
}

int ricevute(const QStringList& argomenti, std::FILE* uscita, std::FILE* errori)
{
    if (argomenti.size() == 1 && chiedeGuida(argomenti.first()))
        return guidaComando(uscita);
    QStringList opzioni = argomenti;
    const bool stato = opzioni.removeAll(QStringLiteral("--stato")) > 0;
    QHash<QString, QString> valori;
    if (!LeggiOpzioni(opzioni, {opzioneProgramma}, valori, errori))
        return esitoPercorsi;
    const auto fallito = [errori](const QString& testo) {
        scrivi(errori, QStringLiteral("velmira: %1\n").arg(testo));
        return esitoInterrotto;
    };
    if (!EsisteVelmiraIni())
        return fallito(QStringLiteral("impostazioni non trovate: manca %1.").arg(PercorsoVelmiraIni()));
    const Contesto contesto = LeggiContesto();
    if (stato)
        return statoInvii(contesto, uscita, errori);

    const QString email = QStringLiteral("Email");
    AccountImap account{LeggiIni(email, QStringLiteral("ServerImap")).trimmed(), 993, contesto.email.UserID,
                        contesto.email.Password, LeggiIni(email, QStringLiteral("CertificatoCA"))};
    if (account.server.isEmpty())
        return fallito(QStringLiteral("server della posta in arrivo non indicato nelle impostazioni (ServerImap nella "
                                      "sezione [Email] di %1).").arg(PercorsoVelmiraIni()));
    if (const QString porta = LeggiIni(email, QStringLiteral("PortaImap")).trimmed(); !porta.isEmpty()) {
        bool ok = false;
        account.porta = porta.toInt(&ok);
        if (!ok || account.porta < 1 || account.porta > 65535)
            return fallito(QStringLiteral("porta del server della posta in arrivo non valida: %1.").arg(porta));
    }
    const Risultato<VerificaFirma> verifica = VerificaConCertificati(LeggiIni(email, QStringLiteral("CertificatiPec")));
    if (!verifica)
        return fallito(verifica.errore().testo());
    const QString nome = QStringLiteral("%1@%2:%3/INBOX").arg(account.utente, account.server).arg(account.porta);
    curl_global_init_mem(CURL_GLOBAL_DEFAULT, std::malloc, LiberaSegreto, RiallocaSegreto, DuplicaSegreto, std::calloc);
    EsitoRicevute esito;
    {
        CasellaCurl casella(account);
        AzzeraSegreto(account.password);
        esito = AggiornaRicevute(casella, nome, contesto.strDatabase, *verifica);
    }
    curl_global_cleanup();
    if (esito.errore.presente())
        return fallito(esito.errore.testo());
    scrivi(uscita, RiepilogoRicevute(esito) + QLatin1Char('\n'));
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
    if (comando == QLatin1String("sorveglia"))
        return sorveglia(argomenti.mid(1), uscita, errori);
    if (comando == QLatin1String("crea-archivio"))
        return creaArchivio(argomenti.mid(1), uscita, errori);
    if (comando == QLatin1String("trasferisci"))
        return trasferisci(argomenti.mid(1), uscita, errori);
    if (comando == QLatin1String("indicizza"))
        return indicizza(argomenti.mid(1), uscita, errori);
    if (comando == QLatin1String("cerca"))
        return cerca(argomenti.mid(1), uscita, errori);
    if (comando == QLatin1String("ricevute"))
        return ricevute(argomenti.mid(1), uscita, errori);
    return erroreUso(errori, QStringLiteral("comando sconosciuto: %1").arg(comando));
}
