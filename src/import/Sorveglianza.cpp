#include "import/Sorveglianza.h"

#include "import/cImporta.h"
#include "indice/IndicizzazioneInSottofondo.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <utility>

namespace {

// Events of one batch are gathered for this long (or until a batch is
// full), so that a burst becomes a few runs instead of one per file.
constexpr int raccolta = 100;

QFileInfo InfoFile(const QString& cartella, const QByteArray& nome)
{
    return QFileInfo(cartella + QLatin1Char('/') + QFile::decodeName(nome));
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
        const QFileInfo info = InfoFile(impostazioni.cartellaPDF, chiave);
        if (!info.exists()
            || info.lastModified().msecsTo(impostazioni.orologio()) >= impostazioni.attesaStabile)
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
      completo_(new QTimer(this)), stabili_(new QTimer(this)), ritorno_(new QTimer(this)),
      indice_(new IndicizzazioneInSottofondo(this))
{
    // The text of what was archived goes into the index on a thread of its
    // own, so that the next files are archived meanwhile.
    connect(indice_, &IndicizzazioneInSottofondo::Terminata, this, [this](const ConteggiIndice& c, const Errore& errore) {
        if (errore.presente())
            riga_(QStringLiteral("%1 testo dei documenti non indicizzato: %2").arg(Momento(), errore.testo()));
        else if (c.letti > 0)
            riga_(QStringLiteral("%1 testo dei documenti: letti %2, senza testo %3, non letti %4.")
                      .arg(Momento()).arg(c.letti).arg(c.senzaTesto).arg(c.falliti));
        if (fermaRichiesto_ && !inCorso_)
            Concludi();
    });
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

Sorveglianza::~Sorveglianza() = default;

void Sorveglianza::Avvia()
{
    notifiche_ = NotificheCartella::DelSistema();
    connect(notifiche_.get(), &NotificheCartella::Eventi, this, &Sorveglianza::Notificato);
    notifiche_->Osserva(impostazioni_.cartellaPDF);
    const QString ogni = impostazioni_.intervalloCompleto > 0
        ? QStringLiteral("ogni %1 s").arg(impostazioni_.intervalloCompleto / 1000.0)
        : QStringLiteral("solo all'avvio e quando le notifiche vanno perse");
    if (!notifiche_->Attive())
        riga_(QStringLiteral("%1 notifiche non disponibili per %2: la cartella viene riletta %3.")
                  .arg(Momento(), impostazioni_.cartellaPDF, ogni));
    else if (notifiche_->DiRete(impostazioni_.cartellaPDF))
        riga_(QStringLiteral("%1 %2 è una cartella di rete: i file scritti da altri computer vengono "
                             "archiviati dai passaggi completi, %3.")
                  .arg(Momento(), impostazioni_.cartellaPDF, ogni));
    if (impostazioni_.intervalloCompleto > 0)
        completo_->start(impostazioni_.intervalloCompleto);
    completoRichiesto_ = true;
    Programma(0);
}

void Sorveglianza::Notificato(const QList<NotificheCartella::Evento>& eventi)
{
    bool cambiato = false;
    for (const auto& [tipo, nome] : eventi) {
        switch (tipo) {
        case NotificheCartella::Tipo::Perse:
            completoRichiesto_ = true;
            break;
        case NotificheCartella::Tipo::Creato:
            inScrittura_.insert(nome, {});
            continue;
        case NotificheCartella::Tipo::Completo:
            inScrittura_.remove(nome);
            rimossi_.remove(nome);
            nuovi_.insert(nome);
            break;
        case NotificheCartella::Tipo::Tolto:
            inScrittura_.remove(nome);
            nuovi_.remove(nome);
            rimossi_.insert(nome);
            break;
        }
        cambiato = true;
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
        const QFileInfo info = InfoFile(impostazioni_.cartellaPDF, voce.key());
        if (!info.isFile()) {
            voce = inScrittura_.erase(voce);
            continue;
        }
        const qint64 modifica = info.lastModified().toMSecsSinceEpoch();
        if (voce->dimensione == info.size() && voce->modifica == modifica) {
            nuovi_.insert(voce.key());
            voce = inScrittura_.erase(voce);
            pronti = true;
            continue;
        }
        *voce = {info.size(), modifica};
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
        if (!notifiche_->Attive())
            notifiche_->Osserva(impostazioni_.cartellaPDF);
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
    notifiche_->Osserva(impostazioni_.cartellaPDF);
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
    IndicizzaTesto();
}

void Sorveglianza::IndicizzaTesto()
{
    if (!fermaRichiesto_)
        indice_->Avvia({impostazioni_.database, impostazioni_.cartellaPDF});
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
    if (r.archiviati > 0)
        IndicizzaTesto();
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
    indice_->Ferma();
    // A full pass may be long: it stops at its next file. A batch is short
    // and is finished.
    if (corrente_ && completoInCorso_)
        corrente_->AnnullaProcedura(true);
    if (!inCorso_)
        Concludi();
}

void Sorveglianza::Concludi()
{
    // The index's run ends at its next file, and Concludi follows.
    if (indice_->InCorso())
        return;
    prossimo_->stop();
    completo_->stop();
    stabili_->stop();
    ritorno_->stop();
    if (notifiche_)
        notifiche_->Sospendi();
    QTimer::singleShot(0, this, &Sorveglianza::Fermata);
}
