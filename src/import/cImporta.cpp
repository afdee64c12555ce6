#include "import/cImporta.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "common/CartellaProgramma.h"
#include "common/Dialoghi.h"
#include "import/ElencoCartella.h"
#include "import/ElencoImportazione.h"
#include "import/OsservatoreLunghezze.h"
#include "shell/ApriStampaFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QUtf8StringView>

#include <vector>

namespace {

// The window answers within this time however large the folder.
constexpr qint64 intervalloCessione = 5;
// Rows are written in transactions of about this length: few enough
// commits to be fast, short enough that another workstation is not kept
// waiting and that a run killed halfway loses little.
constexpr qint64 durataLotto = 200;
// How long one attempt waits for another workstation's lock, and how long
// a run keeps trying before it reports the files it could not archive.
constexpr int attesaTentativo = 100;
constexpr qint64 attesaMassima = 5000;

const QString annullata = QStringLiteral("Procedura annullata dall'operatore.");

// Listing the folder with folders included: anything there at all.
bool EsisteCartella(const QString& percorso)
{
    return !percorso.isEmpty() && QFileInfo::exists(percorso);
}

// Listing the path as normal files: a file is there.
bool EsisteFile(const QString& percorso)
{
    return !percorso.isEmpty() && QFileInfo(percorso).isFile();
}

// A path that failed its check is reported and marks the run as not to start.
bool PercorsoAccettato(bool esiste, const QString& messaggio, bool& erronePercorso)
{
    if (!esiste) {
        MostraMessaggio(messaggio, Icona::Esclamazione);
        erronePercorso = true;
    }
    return esiste;
}

} // namespace

// Everything one run keeps while it goes: the list, the widths, the open
// connection with its prepared statements, the current batch of rows.
struct cImporta::Esecuzione
{
    explicit Esecuzione(const QString& fileIni) : lunghezze(fileIni) {}

    struct Voce
    {
        QString nome;
        QString errore; // empty for a file archived
    };

    ElencoImportazione elenco;
    OsservatoreLunghezze lunghezze;
    Connessione connessione;
    std::unique_ptr<Comando> cercaDocumento;
    std::unique_ptr<Comando> inserisciDocumento;
    QElapsedTimer daUltimaCessione;

    // Files handled since the transaction began: they reach the list only
    // once their rows are safe, so the list never names a row that a failed
    // commit took back.
    bool inTransazione = false;
    QElapsedTimer inizioLotto;
    std::vector<Voce> lotto;
    ErroreArchivio bloccato; // why the last attempt to take the write lock failed
    QElapsedTimer ultimoTentativo;

    int archiviati = 0;
    QStringList note; // what the list must say besides the files

    // What the archive held when the run began. A file of the folder whose
    // row is there with exactly the key its name gives is known to be
    // archived without asking the archive again; this holds only for the
    // widths it was worked out with.
    std::vector<bool> giaArchiviato;
    LunghezzeCampi lunghezzeArchiviati;
    // Rows whose file was not in the folder: the clean-up looks at these.
    struct Orfana
    {
        qint64 riga;
        QString stampa;
    };
    std::vector<Orfana> orfane;

    bool GiaArchiviato(qsizetype indice) const
    {
        return !giaArchiviato.empty() && lunghezzeArchiviati == lunghezze.Lunghezze()
            && giaArchiviato[size_t(indice)];
    }

    // Lets the window handle its events when a few milliseconds have gone
    // by since the last time: often enough to answer a click at once,
    // rarely enough to cost nothing on a large folder.
    bool TempoDiCedere() const
    {
        return !daUltimaCessione.isValid() || daUltimaCessione.elapsed() >= intervalloCessione;
    }
    bool CedeSeTempo()
    {
        if (!TempoDiCedere())
            return false;
        Cede();
        return true;
    }
    void Cede()
    {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
        daUltimaCessione.start();
        ceduto = true;
    }
    // Events were handled since the widths were last looked at: whatever
    // they did (spooling.ini edited, for one) must count from the next file.
    bool ceduto = true;

    // Takes the write lock for a new batch. Another workstation may hold it
    // for a while: keep trying, handling events in between, up to a limit;
    // once the limit was reached, try again only once per batch length so
    // that a run against an archive locked for good still ends quickly.
    bool AssicuraTransazione()
    {
        if (inTransazione)
            return true;
        if (bloccato.presente() && ultimoTentativo.elapsed() < durataLotto)
            return false;
        QElapsedTimer attesa;
        attesa.start();
        connessione.ImpostaAttesaBlocco(attesaTentativo);
        for (;;) {
            const ErroreArchivio errore = connessione.IniziaTransazione();
            if (!errore.presente()) {
                inTransazione = true;
                bloccato = {};
                inizioLotto.start();
                return true;
            }
            if (bloccato.presente() || attesa.elapsed() >= attesaMassima) {
                bloccato = errore;
                ultimoTentativo.start();
                // Reads must not wait either while the archive stays locked.
                connessione.ImpostaAttesaBlocco(0);
                return false;
            }
            Cede();
        }
    }

    // Commits the batch and writes its files to the list. A commit that
    // cannot be made takes every row of the batch back, and its files are
    // listed as not archived, with the reason.
    ErroreArchivio ChiudiLotto(const QString& cartella)
    {
        ErroreArchivio errore;
        if (inTransazione) {
            QElapsedTimer attesa;
            attesa.start();
            errore = connessione.Conferma();
            while (errore.presente() && attesa.elapsed() < attesaMassima) {
                Cede();
                errore = connessione.Conferma();
            }
            inTransazione = false;
            if (errore.presente()) {
                connessione.Annulla();
                for (Voce& voce : lotto) {
                    if (voce.errore.isEmpty())
                        voce.errore = errore.testo();
                }
            }
        }
        for (const Voce& voce : lotto) {
            if (voce.errore.isEmpty()) {
                ++archiviati;
                elenco.Riga(UnisciPercorso(cartella, voce.nome));
            } else {
                elenco.Riga(QStringLiteral("Problemi nell'archiviazione del file: ") + voce.nome
                            + QLatin1Char('.'));
                elenco.Riga(voce.errore);
            }
            elenco.Riga();
        }
        lotto.clear();
        elenco.Salva();
        return errore;
    }

    void ChiudiLottoSeTempo(const QString& cartella)
    {
        if (!inTransazione || inizioLotto.elapsed() >= durataLotto)
            ChiudiLotto(cartella);
    }
};

cImporta::cImporta() = default;
cImporta::~cImporta() = default;

QString cImporta::Database() const
{
    return stringaConnessione_;
}

void cImporta::Database(const QString& percorso)
{
    if (PercorsoAccettato(EsisteFile(percorso),
                          QStringLiteral("Manca il percorso del database, impossibile effettuare un "
                                         "controllo sui documenti prodotti da 'Marvena'"),
                          erronePercorso_))
        stringaConnessione_ = StringaConnessione(percorso);
}

QString cImporta::FileIni() const
{
    return fileIni_;
}

void cImporta::FileIni(const QString& percorso)
{
    if (PercorsoAccettato(EsisteFile(percorso),
                          QStringLiteral("Manca il percorso del file INI, impossibile effettuare un "
                                         "controllo sui documenti prodotti da 'Marvena'"),
                          erronePercorso_))
        fileIni_ = percorso;
}

QString cImporta::CartellaPDF() const
{
    return cartellaPDF_;
}

void cImporta::CartellaPDF(const QString& cartella)
{
    if (PercorsoAccettato(EsisteCartella(cartella),
                          QStringLiteral("Manca il percorso della cartella contenente i documenti "
                                         "pdf, impossibile effettuare un controllo sui documenti "
                                         "prodotti da 'Marvena'"),
                          erronePercorso_))
        cartellaPDF_ = cartella;
}

void cImporta::Avvia()
{
    if (erronePercorso_)
        return;
    // A caller that skipped an assignment has nothing to run on.
    if (cartellaPDF_.isEmpty() || stringaConnessione_.isEmpty() || fileIni_.isEmpty()) {
        MostraMessaggio(QStringLiteral("Percorsi dell'importazione incompleti: indicare la cartella "
                                       "dei documenti, il database e il file INI."),
                        Icona::Esclamazione);
        return;
    }
    EseguiImportazione();
}

bool cImporta::AnnullaProcedura() const
{
    return annullaProcedura_;
}

void cImporta::AnnullaProcedura(bool annulla)
{
    annullaProcedura_ = annulla;
}

void cImporta::VisualizzaRisultato(qint32)
{
    ApriStampaFile(PercorsoElencoImportazione(), QStringLiteral("open"));
}

void cImporta::EliminaDocumentiDuplicati()
{
    if (erronePercorso_ || cartellaPDF_.isEmpty() || stringaConnessione_.isEmpty())
        return;
    Esecuzione run(fileIni_);
    if (const ErroreArchivio errore = run.connessione.Apri(stringaConnessione_); errore.presente()) {
        MostraMessaggio(errore.testo(), Icona::Nessuna);
        return;
    }
    ElencoCartella elenco;
    if (const QString errore = elenco.Leggi(cartellaPDF_); !errore.isEmpty()) {
        MostraMessaggio(errore, Icona::Esclamazione);
        return;
    }
    if (const ErroreArchivio errore = LeggiArchivio(run, elenco); errore.presente()) {
        MostraMessaggio(errore.testo(), Icona::Nessuna);
        return;
    }
    Pulisci(run);
}

void cImporta::EseguiImportazione()
{
    Esecuzione run(fileIni_);
    if (const QString errore = run.elenco.Crea(PercorsoElencoImportazione()); !errore.isEmpty()) {
        esito_ = EsitoImportazione::Interrotta;
        MostraMessaggio(errore, Icona::Esclamazione);
        return;
    }
    run.elenco.Riga(QStringLiteral("elenco file elaborati:"));
    run.elenco.Riga();
    run.elenco.Salva();
    esito_ = EsitoImportazione::Eseguita;

    ElencoCartella elenco;
    if (const QString errore = run.lunghezze.Aggiorna(); !errore.isEmpty()) {
        Interrompi(run, errore);
    } else if (const ErroreArchivio errore = run.connessione.Apri(stringaConnessione_);
               errore.presente()) {
        Interrompi(run, QStringLiteral("Impossibile aprire l'archivio %1: %2")
                            .arg(PercorsoDaConnessione(stringaConnessione_), errore.testo()));
    } else if (const QString errore = elenco.Leggi(cartellaPDF_); !errore.isEmpty()) {
        Interrompi(run, errore);
    } else if (const ErroreArchivio errore = LeggiArchivio(run, elenco); errore.presente()) {
        Interrompi(run, QStringLiteral("Impossibile leggere l'archivio %1: %2")
                            .arg(PercorsoDaConnessione(stringaConnessione_), errore.testo()));
    } else {
        ElaboraCartella(run, elenco);
    }

    // A cancelled walk still tidies the archive; a run stopped by an error
    // does not touch it any further.
    if (esito_ != EsitoImportazione::Interrotta) {
        if (CartellaRaggiungibile(cartellaPDF_))
            Pulisci(run);
        else
            run.note.append(QStringLiteral(
                "La cartella dei documenti %1 non è più raggiungibile: la pulizia dell'archivio non "
                "è stata eseguita e nessun documento è stato tolto dall'archivio.")
                                .arg(cartellaPDF_));
    }

    if (run.connessione.Aperta())
        run.connessione.AggiornaStatistiche();

    for (const QString& nota : std::as_const(run.note)) {
        run.elenco.Riga(nota);
        run.elenco.Riga();
    }
    if (esito_ == EsitoImportazione::Annullata)
        run.elenco.Riga(annullata);
    if (run.archiviati == 0)
        run.elenco.Riga(QStringLiteral("Nessun nuovo file archiviato."));
    else
        run.elenco.Riga(QStringLiteral("Archiviati n.%1 nuovi files.").arg(run.archiviati));
    run.elenco.Chiudi();
}

void cImporta::ElaboraCartella(Esecuzione& run, const ElencoCartella& elenco)
{
    ErroreArchivio errore;
    run.cercaDocumento = run.connessione.Prepara(
        QStringLiteral("Select 1 from Posta where Data=? and Codice=? and Tipo=? and NumDoc=? limit 1"),
        errore);
    if (!errore.presente())
        run.inserisciDocumento = run.connessione.Prepara(
            QStringLiteral("insert into Posta (Stampa, email, data, Tipo, NumDoc, Codice) "
                           "values (?, ?, ?, ?, ?, ?)"),
            errore);
    if (errore.presente()) {
        Interrompi(run, QStringLiteral("Impossibile leggere l'archivio %1: %2")
                            .arg(PercorsoDaConnessione(stringaConnessione_), errore.testo()));
        return;
    }

    for (qsizetype i = 0; i < elenco.Numero(); ++i) {
        if (avanzamento_ && run.TempoDiCedere())
            avanzamento_(i, elenco.Numero());
        run.CedeSeTempo();
        if (run.ceduto) {
            run.ceduto = false;
            if (const QString errore = run.lunghezze.Aggiorna(); !errore.isEmpty()) {
                run.ChiudiLotto(cartellaPDF_);
                Interrompi(run, errore);
                return;
            }
        }
        if (annullaProcedura_) {
            esito_ = EsitoImportazione::Annullata;
            break;
        }

        if (run.GiaArchiviato(i))
            continue;
        const QByteArrayView byteNome = elenco.Nome(i);
        const QString nome = QString::fromUtf8(byteNome);
        if (LunghezzaNonValida(run, nome))
            continue;
        if (!QUtf8StringView(byteNome.data(), byteNome.size()).isValidUtf8()) {
            // It could never be found again by its archived name.
            run.lotto.push_back({nome, QStringLiteral(
                                     "Il nome del file contiene caratteri non validi per il "
                                     "sistema: il file non è stato archiviato. Rinominare il file.")});
            run.ChiudiLottoSeTempo(cartellaPDF_);
            continue;
        }
        const ChiaveDocumento chiave = ScomponiNomeFile(nome, run.lunghezze.Lunghezze());
        if (chiave.Vuota()) {
            run.lotto.push_back({nome, TestoScarto(chiave.scarto)});
            run.ChiudiLottoSeTempo(cartellaPDF_);
            continue;
        }
        const RigaPosta riga = RigaDocumento(nome, chiave);

        // Within the write transaction nobody else can add the same document
        // between the test and the insert.
        const bool scrivibile = run.AssicuraTransazione();
        bool presente = false;
        if (const ErroreArchivio errore = DocumentoPresente(run, riga, presente); errore.presente())
            run.lotto.push_back({nome, errore.testo()});
        else if (!presente && !scrivibile)
            run.lotto.push_back({nome, run.bloccato.testo()});
        else if (!presente) {
            const ErroreArchivio esito = ArchiviaDocumento(run, riga);
            run.lotto.push_back({nome, esito.presente() ? esito.testo() : QString()});
        }
        run.ChiudiLottoSeTempo(cartellaPDF_);
    }
    run.ChiudiLotto(cartellaPDF_);
    if (avanzamento_)
        avanzamento_(elenco.Numero(), elenco.Numero());
}

ErroreArchivio cImporta::DocumentoPresente(Esecuzione& run, const RigaPosta& riga, bool& presente)
{
    presente = false;
    if (const ErroreArchivio errore =
            run.cercaDocumento->Esegui({riga.Data, riga.Codice, riga.Tipo, riga.NumDoc});
        errore.presente())
        return errore;
    // Reading to the end releases the statement, and with it the read lock.
    while (run.cercaDocumento->Successiva())
        presente = true;
    return {};
}

ErroreArchivio cImporta::ArchiviaDocumento(Esecuzione& run, const RigaPosta& riga)
{
    return run.inserisciDocumento->Esegui(
        {riga.Stampa, riga.email, riga.Data, riga.Tipo, riga.NumDoc, riga.Codice});
}

bool cImporta::LunghezzaNonValida(Esecuzione& run, const QString& nome)
{
    return ::LunghezzaNonValida(nome, run.lunghezze.Lunghezze());
}

ErroreArchivio cImporta::LeggiArchivio(Esecuzione& run, const ElencoCartella& elenco)
{
    // Read in slices, each statement run to its end: a reading left open
    // would keep other workstations from saving for as long as it lasts.
    constexpr int righePerLettura = 5000;
    ErroreArchivio errore;
    const auto righe = run.connessione.Prepara(
        QStringLiteral("select %1, Stampa, Codice, Tipo, NumDoc, Data from Posta "
                       "where %1 > ? order by %1 limit %2")
            .arg(ColonnaChiave)
            .arg(righePerLettura),
        errore);
    if (errore.presente())
        return errore;
    // Without usable widths (the clean-up on its own) no key is worked out.
    const bool conChiavi = run.lunghezze.Aggiorna().isEmpty();
    const LunghezzeCampi lunghezze = run.lunghezze.Lunghezze();
    if (conChiavi) {
        run.giaArchiviato.assign(size_t(elenco.Numero()), false);
        run.lunghezzeArchiviati = lunghezze;
    }
    qint64 ultima = -1;
    for (int lette = righePerLettura; lette == righePerLettura;) {
        if (errore = righe->Esegui({ultima}); errore.presente())
            return errore;
        for (lette = 0; righe->Successiva(); ++lette) {
            ultima = righe->Valore(0).toLongLong();
            const QString stampa = righe->Valore(1).toString();
            const qsizetype indice = elenco.Indice(QFile::encodeName(stampa));
            if (indice < 0) {
                run.orfane.push_back({ultima, stampa});
                continue;
            }
            if (!conChiavi || run.giaArchiviato[size_t(indice)]
                || ::LunghezzaNonValida(stampa, lunghezze))
                continue;
            const ChiaveDocumento chiave = ScomponiNomeFile(stampa, lunghezze);
            if (chiave.Vuota())
                continue;
            const RigaPosta riga = RigaDocumento(stampa, chiave);
            run.giaArchiviato[size_t(indice)] = riga.Codice == righe->Valore(2).toString()
                && riga.Tipo == righe->Valore(3).toString()
                && riga.NumDoc == righe->Valore(4).toString()
                && riga.Data == righe->Valore(5).toDate();
        }
        run.CedeSeTempo();
    }
    return {};
}

void cImporta::Pulisci(Esecuzione& run)
{
    const auto segnala = [&run](const ErroreArchivio& errore) {
        MostraMessaggio(errore.testo(), Icona::Nessuna);
        run.note.append(QStringLiteral("Errore durante la pulizia dell'archivio: ") + errore.testo());
    };
    if (run.orfane.empty())
        return;

    ErroreArchivio errore;
    const auto elimina = run.connessione.Prepara(
        QStringLiteral("delete from Posta where %1=? and Stampa=?").arg(ColonnaChiave), errore);
    if (errore.presente()) {
        segnala(errore);
        return;
    }
    // The listing is a few moments old: each file is looked up again
    // before its row goes.
    for (const Esecuzione::Orfana& orfana : run.orfane) {
        run.CedeSeTempo();
        // A folder that went away now must not empty the archive.
        if (!CartellaRaggiungibile(cartellaPDF_)) {
            run.note.append(QStringLiteral(
                "La cartella dei documenti %1 non è più raggiungibile: la pulizia dell'archivio è "
                "stata interrotta.")
                                .arg(cartellaPDF_));
            break;
        }
        if (FilePresente(cartellaPDF_, QFile::encodeName(orfana.stampa)))
            continue;
        if (!run.AssicuraTransazione()) {
            segnala(run.bloccato);
            return;
        }
        if (errore = elimina->Esegui({orfana.riga, orfana.stampa}); errore.presente()) {
            run.connessione.Annulla();
            run.inTransazione = false;
            segnala(errore);
            return;
        }
        if (run.inizioLotto.elapsed() >= durataLotto) {
            if (errore = run.ChiudiLotto(cartellaPDF_); errore.presente()) {
                segnala(errore);
                return;
            }
        }
    }
    if (errore = run.ChiudiLotto(cartellaPDF_); errore.presente())
        segnala(errore);
}

void cImporta::Interrompi(Esecuzione& run, const QString& messaggio)
{
    esito_ = EsitoImportazione::Interrotta;
    MostraMessaggio(messaggio, Icona::Esclamazione);
    run.note.append(messaggio);
}

void cImporta::ImpostaAvanzamento(std::function<void(qsizetype, qsizetype)> avanzamento)
{
    avanzamento_ = std::move(avanzamento);
}

QString PercorsoElencoImportazione()
{
    return UnisciPercorso(CartellaProgramma(), QStringLiteral("ElencoFileImp.txt"));
}
