#include "indice/EstrattoreTesto.h"

#include "common/CartellaProgramma.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocale>
#include <QProcess>

namespace {

Errore fallito(const QString& perche)
{
    return {CodiceErrore::TestoDocumento, perche};
}

QString motivoItaliano(const RispostaTesto& risposta)
{
    switch (risposta.motivo) {
    case MotivoTesto::Cifrato:
        return QStringLiteral("PDF protetto da password: il testo non si può leggere");
    case MotivoTesto::Illeggibile:
        return QStringLiteral("file non leggibile");
    case MotivoTesto::Danneggiato:
        break;
    }
    return QStringLiteral("PDF danneggiato o non valido");
}

} // namespace

EstrattoreTesto::EstrattoreTesto(int limiteMillisecondi, const QString& eseguibile)
    : limite_(limiteMillisecondi), eseguibile_(eseguibile)
{
}

EstrattoreTesto::~EstrattoreTesto()
{
    ferma();
}

namespace {
QString eseguibileImpostato;
}

QString EstrattoreTesto::EseguibilePredefinito()
{
    return eseguibileImpostato.isEmpty()
        ? UnisciPercorso(QCoreApplication::applicationDirPath(), QStringLiteral("velmira-testo"))
        : eseguibileImpostato;
}

void EstrattoreTesto::ImpostaEseguibilePredefinito(const QString& eseguibile)
{
    eseguibileImpostato = eseguibile;
}

Errore EstrattoreTesto::avvia()
{
    processo_ = std::make_unique<QProcess>();
    // The library's complaints about a bad file say nothing the answer does not.
    processo_->setStandardErrorFile(QProcess::nullDevice());
    processo_->start(eseguibile_, {});
    // The time a file is given starts once the reader is ready: loading
    // the reader's libraries on a busy machine is not the file's fault.
    constexpr int attesaAvvio = 30000;
    const QByteArray saluto(SalutoTesto);
    QByteArray letto;
    const QDeadlineTimer scadenza(attesaAvvio);
    if (processo_->waitForStarted(attesaAvvio))
        while (letto.size() < saluto.size() && processo_->waitForReadyRead(int(std::max<qint64>(1, scadenza.remainingTime()))))
            letto += processo_->read(saluto.size() - letto.size());
    if (letto != saluto) {
        ferma();
        return {CodiceErrore::FileNonTrovato,
                QStringLiteral("Impossibile avviare il programma di lettura del testo dei PDF '%1'.").arg(eseguibile_),
                NaturaErrore::Grave};
    }
    lettore_ = {};
    return {};
}

void EstrattoreTesto::ferma()
{
    if (!processo_)
        return;
    processo_->kill();
    processo_->waitForFinished();
    processo_.reset();
}

Risultato<RispostaTesto> EstrattoreTesto::Estrai(const QString& percorso)
{
    if (percorso.contains(u'\n'))
        return fallito(QStringLiteral("nome del file non valido (contiene un a capo)"));
    if (!processo_ || processo_->state() != QProcess::Running)
        if (const Errore errore = avvia(); errore.presente())
            return errore;
    processo_->write(percorso.toUtf8() + '\n');
    const QDeadlineTimer scadenza(limite_);
    for (;;) {
        if (auto risposta = lettore_.Prossima()) {
            if (!*risposta) {
                ferma();
                return fallito(risposta->errore().descrizione);
            }
            if (!(*risposta)->riuscita)
                return fallito(motivoItaliano(**risposta));
            return **risposta;
        }
        if (processo_->state() != QProcess::Running) {
            processo_.reset();
            return fallito(QStringLiteral("il programma di lettura si è interrotto su questo file"));
        }
        if (scadenza.hasExpired()) {
            ferma();
            return fallito(QStringLiteral("lettura del testo troppo lunga (oltre %1 secondi)")
                               .arg(QLocale(QLocale::Italian).toString(limite_ / 1000.0)));
        }
        processo_->waitForReadyRead(int(std::max<qint64>(1, scadenza.remainingTime())));
        lettore_.Aggiungi(processo_->readAllStandardOutput());
    }
}
