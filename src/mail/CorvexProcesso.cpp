#include "mail/CorvexProcesso.h"

#include "common/CartellaProgramma.h"
#include "common/ErroreSistema.h"
#include "mail/ElencoMail.h"
#include "mail/ProtocolloPosta.h"
#include "settings/Contesto.h"

#include <QCoreApplication>
#include <QProcess>

namespace {
QString motivoAvvioMancato(const QString& testoQt)
{
    const QString motivo = TraduciErroreSistema(testoQt);
    return motivo.isEmpty() ? QStringLiteral("programma mancante o non eseguibile") : motivo;
}
} // namespace

CorvexProcesso::CorvexProcesso(const Contesto& contesto, const QString& eseguibile)
    : eseguibile_(eseguibile), cartellaPDF_(contesto.strCartellaPDF), adesso_(contesto.adesso)
{
}

CorvexProcesso::~CorvexProcesso()
{
    if (!processo_)
        return;
    // Never killed with its owner: a dispatch under way is seen through.
    processo_->disconnect(this);
    processo_->setParent(nullptr);
    if (processo_->state() == QProcess::NotRunning) {
        processo_->deleteLater();
        return;
    }
    QObject::connect(processo_, &QProcess::finished, processo_, &QObject::deleteLater);
    QObject::connect(processo_, &QProcess::errorOccurred, processo_, &QObject::deleteLater);
}

QString CorvexProcesso::EseguibilePredefinito()
{
    return UnisciPercorso(QCoreApplication::applicationDirPath(), QStringLiteral("velmira-posta"));
}

void CorvexProcesso::InviaDocumenti(const TabellaInvio& tabella)
{
    if (processo_) {
        concludi(false, QStringLiteral("Invio già avviato con questo componente di posta."));
        return;
    }
    RichiestaPosta r;
    static_cast<ValoriCorvex&>(r) = *this;
    r.CertificatoCA = LeggiIni(QStringLiteral("Email"), QStringLiteral("CertificatoCA"));
    r.CartellaProgramma = CartellaProgramma(UsoCartella::Dati);
    r.CartellaPDF = cartellaPDF_;
    // An office on a slow line may wait less, never more: the dispatch must end.
    if (const int attesa = LeggiIni(QStringLiteral("Email"), QStringLiteral("AttesaServer")).toInt(); attesa > 0)
        r.AttesaServer = attesa;
    r.tabella = tabella;
    tabella_ = tabella;

    processo_ = new QProcess(this);
    processo_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(processo_, &QProcess::readyReadStandardOutput, this, &CorvexProcesso::leggiUscita);
    connect(processo_, &QProcess::finished, this,
            [this](int codice, QProcess::ExitStatus stato) { terminato(codice, stato); });
    connect(processo_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError errore) {
        if (errore == QProcess::FailedToStart)
            concludi(false, QStringLiteral("Impossibile avviare il programma di invio della posta %1: %2.")
                                    .arg(eseguibile_, motivoAvvioMancato(processo_->errorString()))
                                + completaElenco(QStringLiteral("Non inviato: programma di invio della posta non avviato")));
    });
    processo_->start(eseguibile_, {});
    if (processo_->state() == QProcess::NotRunning)
        return;
    // The account and the password go through the pipe, never the command line.
    processo_->write(CodificaRichiesta(r));
    processo_->closeWriteChannel();
}

void CorvexProcesso::leggiUscita()
{
    resto_ += processo_->readAllStandardOutput();
    qsizetype finePrimaRiga;
    while ((finePrimaRiga = resto_.indexOf('\n')) >= 0) {
        const auto riga = LeggiRigaUscitaPosta(resto_.left(finePrimaRiga));
        resto_.remove(0, finePrimaRiga + 1);
        if (!riga)
            continue;
        if (riga->fine) {
            fineRicevuta_ = true;
            esito_ = riga->esito;
            messaggio_ = riga->messaggio;
            if (!riga->elencoScritto)
                nonScritto_ = righe_.values();
        } else {
            righe_.insert(riga->colonna, riga->elenco);
            emit Avanzamento(riga->fatti, riga->totale);
        }
    }
}

void CorvexProcesso::terminato(int codice, int stato)
{
    leggiUscita();
    if (fineRicevuta_) {
        concludi(esito_, messaggio_);
        return;
    }
    const QString perche = stato == QProcess::CrashExit
        ? QStringLiteral("Il programma di invio della posta si è interrotto prima della fine.")
        : QStringLiteral("Il programma di invio della posta è terminato senza esito (codice %1).").arg(codice);
    concludi(false, perche + completaElenco(QStringLiteral("Esito non noto: programma di invio della posta interrotto")));
}

QString CorvexProcesso::completaElenco(const QString& esitoMancante)
{
    QStringList righe;
    for (int k = 0; k < tabella_.percorsi.size(); ++k)
        righe.append(righe_.value(k, RigaElencoMail({adesso_(), Mittente.trimmed(),
                                                     tabella_.destinatari.value(k).trimmed(), esitoMancante,
                                                     tabella_.percorsi[k]})));
    const int noti = int(righe_.size());
    const QString cartella = CartellaProgramma(UsoCartella::Dati);
    const auto elenco = ScriviElencoMail(cartella, righe, adesso_());
    if (!elenco)
        nonScritto_ = righe;
    return QStringLiteral("\nDocumenti con esito noto: %1; senza esito: %2.").arg(noti).arg(righe.size() - noti)
        + (elenco ? QString() : QLatin1Char('\n') + AvvisoElencoNonScritto(cartella, elenco.errore()));
}

void CorvexProcesso::concludi(bool esito, const QString& messaggio)
{
    if (concluso_)
        return;
    concluso_ = true;
    // Heard from the event loop, never from inside InviaDocumenti or a signal
    // of the process: the receiver may release this object right away.
    QMetaObject::invokeMethod(
        this, [this, esito, messaggio] { emit Risultato(esito, messaggio); }, Qt::QueuedConnection);
}
