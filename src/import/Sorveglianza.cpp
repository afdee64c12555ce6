#include "import/Sorveglianza.h"

#include "import/cImporta.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <optional>
#include <utility>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace {

// Events of one batch are gathered for this long (or until a batch is
// full), so that a burst becomes a few runs instead of one per file.
constexpr int raccolta = 100;

constexpr quint32 eventiOsservati = IN_CLOSE_WRITE | IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_MOVED_FROM
    | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

// File systems served by another machine: its writes raise no notification here.
bool CartellaDiRete(const QString& cartella)
{
    struct statfs info {};
    if (statfs(QFile::encodeName(cartella).constData(), &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x6969:     // NFS
    case 0x517B:     // SMB
    case 0xFF534D42: // CIFS
    case 0xFE534D42: // SMB2
    case 0x65735546: // FUSE (sshfs and the like)
        return true;
    default:
        return false;
    }
}

// Milliseconds since the epoch of the file's last change; nothing when it is not there.
std::optional<qint64> UltimaModifica(const QString& cartella, const QByteArray& nome)
{
    struct stat info {};
    const QByteArray percorso = QFile::encodeName(cartella) + '/' + nome;
    if (::stat(percorso.constData(), &info) != 0)
        return std::nullopt;
    return qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
}

} // namespace

// Which files a run leaves for later because they are still being written.
// Asked on the run's thread, it answers from what the watcher knew when the
// run started and from the files themselves; what it finds still changing
// goes back to the watcher once the run has ended.
struct Sorveglianza::Rinvio
{
    ImpostazioniSorveglianza impostazioni;
    bool completo;
    QSet<QByteArray> inScrittura;
    QSet<QByteArray> chiusi; // named by a notification as closed after writing
    QList<QByteArray> giovani;

    bool DaRinviare(QByteArrayView nome)
    {
        const QByteArray chiave = nome.toByteArray();
        if (inScrittura.contains(chiave))
            return true;
        if (!completo || chiusi.contains(chiave))
            return false;
        // Found by a full pass: complete only once it has stopped changing.
        const std::optional<qint64> modifica = UltimaModifica(impostazioni.cartellaPDF, chiave);
        if (!modifica || impostazioni.orologio().toMSecsSinceEpoch() - *modifica >= impostazioni.attesaStabile)
            return false;
        giovani.append(chiave);
        return true;
    }
};

QString Sorveglianza::Momento() const
{
    return impostazioni_.orologio().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

Sorveglianza::Sorveglianza(const ImpostazioniSorveglianza& impostazioni,
                           std::function<void(const QString&)> riga, QObject* genitore)
    : QObject(genitore), impostazioni_(impostazioni), riga_(std::move(riga)), prossimo_(new QTimer(this)),
      completo_(new QTimer(this)), stabili_(new QTimer(this)), ritorno_(new QTimer(this))
{
    prossimo_->setSingleShot(true);
    connect(prossimo_, &QTimer::timeout, this, &Sorveglianza::Esegui);
    connect(completo_, &QTimer::timeout, this, [this] {
        completoRichiesto_ = true;
        Programma(0);
    });
    stabili_->setInterval(impostazioni_.attesaStabile);
    connect(stabili_, &QTimer::timeout, this, &Sorveglianza::ControllaInScrittura);
    ritorno_->setInterval(impostazioni_.attesaRitorno);
    connect(ritorno_, &QTimer::timeout, this, &Sorveglianza::CercaCartella);
}

Sorveglianza::~Sorveglianza()
{
    if (inotify_ >= 0)
        ::close(inotify_);
}

void Sorveglianza::Avvia()
{
    inotify_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify_ >= 0) {
        notifiche_ = new QSocketNotifier(inotify_, QSocketNotifier::Read, this);
        connect(notifiche_, &QSocketNotifier::activated, this, &Sorveglianza::LeggiEventi);
        Osserva();
    }
    const QString ogni = impostazioni_.intervalloCompleto > 0
        ? QStringLiteral("ogni %1 s").arg(impostazioni_.intervalloCompleto / 1000.0)
        : QStringLiteral("solo all'avvio e quando le notifiche vanno perse");
    if (osservazione_ < 0)
        riga_(QStringLiteral("%1 notifiche non disponibili per %2: la cartella viene riletta %3.")
                  .arg(Momento(), impostazioni_.cartellaPDF, ogni));
    else if (CartellaDiRete(impostazioni_.cartellaPDF))
        riga_(QStringLiteral("%1 %2 è una cartella di rete: i file scritti da altri computer vengono "
                             "archiviati dai passaggi completi, %3.")
                  .arg(Momento(), impostazioni_.cartellaPDF, ogni));
    if (impostazioni_.intervalloCompleto > 0)
        completo_->start(impostazioni_.intervalloCompleto);
    completoRichiesto_ = true;
    Programma(0);
}

void Sorveglianza::Osserva()
{
    if (inotify_ < 0)
        return;
    osservazione_ = inotify_add_watch(inotify_, QFile::encodeName(impostazioni_.cartellaPDF).constData(),
                                      eventiOsservati);
}

void Sorveglianza::LeggiEventi()
{
    alignas(inotify_event) char dati[64 * 1024];
    bool cambiato = false;
    for (;;) {
        const ssize_t letti = ::read(inotify_, dati, sizeof dati);
        if (letti <= 0)
            break;
        for (ssize_t i = 0; i < letti;) {
            const auto* evento = reinterpret_cast<const inotify_event*>(dati + i);
            i += ssize_t(sizeof(inotify_event) + evento->len);
            if (evento->mask & IN_Q_OVERFLOW) {
                completoRichiesto_ = true;
                cambiato = true;
                continue;
            }
            if (evento->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) {
                // The folder itself went: another one may stand in its place
                // already, or later. Either way a full pass follows. What is
                // still heard of a folder watched before is past.
                if (evento->wd != osservazione_)
                    continue;
                if (osservazione_ >= 0 && (evento->mask & IN_IGNORED) == 0)
                    inotify_rm_watch(inotify_, osservazione_);
                osservazione_ = -1;
                completoRichiesto_ = true;
                cambiato = true;
                continue;
            }
            if (evento->len == 0 || (evento->mask & IN_ISDIR))
                continue; // subfolders are never archived
            const QByteArray nome(evento->name);
            if (evento->mask & IN_CREATE) {
                inScrittura_.insert(nome, {});
            } else if (evento->mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) {
                inScrittura_.remove(nome);
                rimossi_.remove(nome);
                nuovi_.insert(nome);
                cambiato = true;
            } else if (evento->mask & (IN_DELETE | IN_MOVED_FROM)) {
                inScrittura_.remove(nome);
                nuovi_.remove(nome);
                rimossi_.insert(nome);
                cambiato = true;
            }
        }
    }
    if (!inScrittura_.isEmpty() && !stabili_->isActive())
        stabili_->start();
    if (cambiato)
        Programma(nuovi_.size() + rimossi_.size() >= impostazioni_.nomiPerLotto ? 0 : raccolta);
}

// A file created and still open for writing (or written through a link,
// or by a program that never closes it) is taken once it stops changing.
void Sorveglianza::ControllaInScrittura()
{
    bool pronti = false;
    for (auto voce = inScrittura_.begin(); voce != inScrittura_.end();) {
        struct stat info {};
        const QByteArray percorso = QFile::encodeName(impostazioni_.cartellaPDF) + '/' + voce.key();
        if (::stat(percorso.constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
            voce = inScrittura_.erase(voce);
            continue;
        }
        const qint64 modifica = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        if (voce->dimensione == info.st_size && voce->modifica == modifica) {
            nuovi_.insert(voce.key());
            voce = inScrittura_.erase(voce);
            pronti = true;
            continue;
        }
        *voce = {info.st_size, modifica};
        ++voce;
    }
    if (inScrittura_.isEmpty())
        stabili_->stop();
    if (pronti)
        Programma(0);
}

void Sorveglianza::Programma(int millisecondi)
{
    // A run under way reschedules itself at its end; a batch timer already
    // running is not pushed back, so that a steady stream is still served.
    // A missing folder is waited for instead.
    if (inCorso_ || assente_ || (prossimo_->isActive() && prossimo_->remainingTime() <= millisecondi))
        return;
    prossimo_->start(millisecondi);
}

void Sorveglianza::Esegui()
{
    if (inCorso_)
        return;
    if (fermaRichiesto_) {
        Concludi();
        return;
    }
    // Wrong paths at the start are the command line's: the first pass says so.
    if (!primoCompleto_ && !CartellaPresente())
        return;
    inCorso_ = true;
    riprova_ = false;
    const bool completo = completoRichiesto_;
    std::optional<SelezioneImportazione> lotto;
    if (completo) {
        completoRichiesto_ = false;
        if (osservazione_ < 0)
            Osserva();
        // What the notifications named so far is covered by this pass.
        rimossi_.clear();
        completoInCorso_ = true;
    } else {
        lotto = SelezioneImportazione{Preleva(nuovi_), Preleva(rimossi_)};
    }
    auto rinvio = std::make_shared<Rinvio>(
        Rinvio{impostazioni_, completo, QSet<QByteArray>(inScrittura_.keyBegin(), inScrittura_.keyEnd()), nuovi_, {}});
    corrente_ = new cImporta(this);
    corrente_->CartellaPDF(impostazioni_.cartellaPDF);
    corrente_->Database(impostazioni_.database);
    corrente_->FileIni(impostazioni_.fileIni);
    corrente_->ImpostaRinvio([rinvio](QByteArrayView nome) { return rinvio->DaRinviare(nome); });
    connect(corrente_, &cImporta::Terminata, this, [this, rinvio, lotto] {
        completoInCorso_ = false;
        // Found still changing by the run: taken once they stop.
        for (const QByteArray& nome : std::as_const(rinvio->giovani))
            inScrittura_.insert(nome, {});
        if (!inScrittura_.isEmpty() && !stabili_->isActive())
            stabili_->start();
        if (lotto) {
            ConcludiLotto(*lotto);
        } else {
            nuovi_.subtract(rinvio->chiusi);
            ConcludiCompleto();
        }
        corrente_->deleteLater();
        corrente_ = nullptr;
        inCorso_ = false;
        if (fermaRichiesto_)
            Concludi();
        else if (completoRichiesto_ || !nuovi_.isEmpty() || !rimossi_.isEmpty())
            Programma(riprova_ ? impostazioni_.attesaRitorno : 0);
    });
    corrente_->AvviaInSottofondo(lotto);
}

QList<QByteArray> Sorveglianza::Preleva(QSet<QByteArray>& insieme) const
{
    QList<QByteArray> presi;
    for (auto nome = insieme.begin(); nome != insieme.end() && presi.size() < impostazioni_.nomiPerLotto;) {
        presi.append(*nome);
        nome = insieme.erase(nome);
    }
    return presi;
}

bool Sorveglianza::CartellaPresente()
{
    if (QFileInfo(impostazioni_.cartellaPDF).isDir())
        return true;
    if (!assente_) {
        riga_(QStringLiteral("%1 la cartella %2 non c'è più: nulla viene archiviato né tolto finché non "
                             "torna (controllo ogni %3 s).")
                  .arg(Momento(), impostazioni_.cartellaPDF)
                  .arg(impostazioni_.attesaRitorno / 1000.0));
        assente_ = true;
        // What was heard of the old folder is of no use: the full pass on
        // its return sees what is there.
        nuovi_.clear();
        rimossi_.clear();
        inScrittura_.clear();
        stabili_->stop();
        completoRichiesto_ = true;
        ritorno_->start();
    }
    return false;
}

void Sorveglianza::CercaCartella()
{
    if (!QFileInfo(impostazioni_.cartellaPDF).isDir())
        return;
    ritorno_->stop();
    assente_ = false;
    riga_(QStringLiteral("%1 la cartella %2 è di nuovo presente: passaggio completo.")
              .arg(Momento(), impostazioni_.cartellaPDF));
    Osserva();
    completoRichiesto_ = true;
    Programma(0);
}

void Sorveglianza::ConcludiCompleto()
{
    const bool primo = std::exchange(primoCompleto_, false);
    const RiepilogoImportazione r = corrente_->Riepilogo();
    const EsitoImportazione esito = corrente_->Esito();
    if (esito == EsitoImportazione::NonAvviata) {
        if (fermaRichiesto_)
            return;
        // Wrong paths from the start are the command line's fault: stop. Later
        // they are a folder or server gone for a while: try again next time.
        if (primo) {
            percorsiErrati_ = true;
            fermaRichiesto_ = true;
        } else {
            riga_(QStringLiteral("%1 passaggio completo non eseguito: controllare i percorsi.").arg(Momento()));
        }
        return;
    }
    QString testo = QStringLiteral("%1 passaggio completo: archiviati %2, non archiviati %3, righe tolte %4, "
                                   "in attesa %5")
                        .arg(Momento())
                        .arg(r.archiviati)
                        .arg(r.problemi)
                        .arg(r.tolti)
                        .arg(r.rinviati);
    if (esito == EsitoImportazione::Annullata)
        testo += QStringLiteral("; interrotto dall'arresto");
    else if (esito == EsitoImportazione::Interrotta)
        testo += QStringLiteral("; interrotto da un errore, vedere ElencoFileImp.txt");
    riga_(testo + QLatin1Char('.'));
}

void Sorveglianza::ConcludiLotto(const SelezioneImportazione& lotto)
{
    const QList<QByteArray>& nuovi = lotto.nuovi;
    const QList<QByteArray>& rimossi = lotto.rimossi;
    const RiepilogoImportazione r = corrente_->Riepilogo();
    QString testo = QStringLiteral("%1 lotto di %2 file nuovi e %3 tolti: archiviati %4, non archiviati %5, "
                                   "righe tolte %6, in attesa %7")
                        .arg(Momento())
                        .arg(nuovi.size())
                        .arg(rimossi.size())
                        .arg(r.archiviati)
                        .arg(r.problemi)
                        .arg(r.tolti)
                        .arg(r.rinviati);
    if (corrente_->Esito() == EsitoImportazione::Interrotta)
        testo += QStringLiteral("; interrotto da un errore, vedere ElencoFileImp.txt");
    else if (corrente_->Esito() == EsitoImportazione::NonAvviata) {
        testo += QStringLiteral("; non eseguito");
        riprova_ = true;
        // Nothing was done: the names are tried again with the next run, a
        // little later, so that a missing archive is not tried in a loop.
        for (const QByteArray& nome : nuovi)
            nuovi_.insert(nome);
        for (const QByteArray& nome : rimossi)
            rimossi_.insert(nome);
    }
    riga_(testo + QLatin1Char('.'));
}

void Sorveglianza::Ferma()
{
    fermaRichiesto_ = true;
    // A full pass may be long: it stops at its next file. A batch is short
    // and is finished.
    if (corrente_ && completoInCorso_)
        corrente_->AnnullaProcedura(true);
    if (!inCorso_)
        Concludi();
}

void Sorveglianza::Concludi()
{
    prossimo_->stop();
    completo_->stop();
    stabili_->stop();
    ritorno_->stop();
    if (notifiche_)
        notifiche_->setEnabled(false);
    QTimer::singleShot(0, this, &Sorveglianza::Fermata);
}
