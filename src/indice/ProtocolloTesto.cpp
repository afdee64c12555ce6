#include "indice/ProtocolloTesto.h"

#include <QList>

namespace {

constexpr qsizetype intestazioneMassima = 64;

const char* parolaDi(MotivoTesto motivo)
{
    switch (motivo) {
    case MotivoTesto::Cifrato:
        return "cifrato";
    case MotivoTesto::Illeggibile:
        return "illeggibile";
    case MotivoTesto::Danneggiato:
        break;
    }
    return "danneggiato";
}

std::optional<MotivoTesto> motivoDa(const QByteArray& parola)
{
    for (MotivoTesto m : {MotivoTesto::Danneggiato, MotivoTesto::Cifrato, MotivoTesto::Illeggibile})
        if (parola == parolaDi(m))
            return m;
    return std::nullopt;
}

Errore nonValida(const QString& perche)
{
    return {CodiceErrore::TestoDocumento,
            QStringLiteral("Il programma di lettura del testo ha risposto in modo non valido (%1).").arg(perche)};
}

// A number of decimal digits alone, within `massimo`; -1 when not.
qint64 numero(const QByteArray& testo, qint64 massimo)
{
    if (testo.isEmpty() || testo.size() > 10)
        return -1;
    qint64 n = 0;
    for (char c : testo) {
        if (c < '0' || c > '9')
            return -1;
        n = n * 10 + (c - '0');
    }
    return n <= massimo ? n : -1;
}

} // namespace

QByteArray ScriviRisposta(const RispostaTesto& risposta)
{
    const QByteArray corpo = risposta.testo.toUtf8();
    const QByteArray intestazione = risposta.riuscita
        ? QByteArrayLiteral("testo ") + QByteArray::number(risposta.pagine)
        : QByteArrayLiteral("errore ") + parolaDi(risposta.motivo);
    return intestazione + ' ' + QByteArray::number(corpo.size()) + '\n' + corpo;
}

std::optional<Risultato<RispostaTesto>> LettoreRisposte::Prossima()
{
    const qsizetype fineRiga = dati_.indexOf('\n');
    if (fineRiga < 0) {
        if (dati_.size() > intestazioneMassima)
            return nonValida(QStringLiteral("intestazione troppo lunga"));
        return std::nullopt;
    }
    if (fineRiga > intestazioneMassima)
        return nonValida(QStringLiteral("intestazione troppo lunga"));
    const QList<QByteArray> parti = dati_.left(fineRiga).split(' ');
    if (parti.size() != 3)
        return nonValida(QStringLiteral("intestazione di forma errata"));
    const qint64 lunghezza = numero(parti[2], testoMassimo);
    if (lunghezza < 0)
        return nonValida(QStringLiteral("lunghezza non valida"));
    RispostaTesto risposta;
    if (parti[0] == "testo") {
        risposta.riuscita = true;
        risposta.pagine = int(numero(parti[1], 1000000));
        if (risposta.pagine < 0)
            return nonValida(QStringLiteral("numero di pagine non valido"));
    } else if (parti[0] == "errore") {
        const auto motivo = motivoDa(parti[1]);
        if (!motivo)
            return nonValida(QStringLiteral("motivo sconosciuto"));
        risposta.motivo = *motivo;
    } else {
        return nonValida(QStringLiteral("risposta sconosciuta"));
    }
    if (dati_.size() - fineRiga - 1 < lunghezza)
        return std::nullopt;
    risposta.testo = QString::fromUtf8(dati_.constData() + fineRiga + 1, lunghezza);
    dati_.remove(0, fineRiga + 1 + lunghezza);
    return risposta;
}
