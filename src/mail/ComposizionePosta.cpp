#include "mail/ComposizionePosta.h"

#include <QHash>
#include <QRegularExpression>
#include <QUuid>

namespace {

bool asciiStampabile(const QString& testo)
{
    for (const QChar c : testo)
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    return true;
}

} // namespace

bool IndirizzoValido(const QString& indirizzo)
{
    static const QRegularExpression forma(QStringLiteral(
        R"(^[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*)"
        R"(@[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?(\.[A-Za-z0-9]([A-Za-z0-9-]*[A-Za-z0-9])?)+$)"));
    return forma.match(indirizzo.trimmed()).hasMatch();
}

QByteArray IndirizzoServerSmtp(const QString& server, int porta)
{
    QString host = server.trimmed();
    QString schema = porta == 465 ? QStringLiteral("smtps://") : QStringLiteral("smtp://");
    for (const QString& dato : {QStringLiteral("smtps://"), QStringLiteral("smtp://")})
        if (host.startsWith(dato, Qt::CaseInsensitive)) {
            schema = dato;
            host = host.mid(dato.size());
        }
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    return (schema + host + (porta > 0 ? QStringLiteral(":%1").arg(porta) : QString())).toUtf8();
}

QByteArray TestoIntestazione(const QString& testo)
{
    // A line break inside a header would start a header of its own.
    QString pulito = testo;
    pulito.replace(QRegularExpression(QStringLiteral("[\r\n\t]+")), QStringLiteral(" "));
    if (asciiStampabile(pulito))
        return pulito.toLatin1();
    // "=?UTF-8?B?" + 60 base64 characters + "?=" is 72: 45 bytes per word, cut
    // between characters, never inside one.
    const QByteArray utf8 = pulito.toUtf8();
    QList<QByteArray> parole;
    qsizetype inizio = 0;
    while (inizio < utf8.size()) {
        qsizetype fine = qMin(inizio + 45, utf8.size());
        while (fine < utf8.size() && (static_cast<unsigned char>(utf8[fine]) & 0xC0) == 0x80)
            --fine;
        parole.append("=?UTF-8?B?" + utf8.mid(inizio, fine - inizio).toBase64() + "?=");
        inizio = fine;
    }
    return parole.join("\r\n ");
}

QByteArray DisposizioneAllegato(const QString& nomeFile)
{
    if (asciiStampabile(nomeFile)) {
        QString quotato = nomeFile;
        quotato.replace(QStringLiteral("\\"), QStringLiteral("\\\\")).replace(QStringLiteral("\""), QStringLiteral("\\\""));
        return "attachment; filename=\"" + quotato.toLatin1() + '"';
    }
    return "attachment; filename*=UTF-8''" + nomeFile.toUtf8().toPercentEncoding();
}

QString NuovoMessageId(const QString& mittente)
{
    QString dominio = mittente.trimmed().section(QLatin1Char('@'), 1);
    if (dominio.isEmpty())
        dominio = QStringLiteral("velmira.local");
    return QLatin1Char('<') + QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('@') + dominio
        + QLatin1Char('>');
}

QString TestoConRitorniCarrello(const QString& testo)
{
    QString normale = testo;
    normale.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return normale.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QList<MessaggioDaInviare> RaggruppaMessaggi(const QList<DocumentoDaInviare>& documenti, qint64 limite)
{
    QList<MessaggioDaInviare> messaggi;
    QHash<QString, qsizetype> aperto; // recipient -> its message still being filled
    QList<qint64> pesi;
    for (const DocumentoDaInviare& d : documenti) {
        const QString chiave = d.destinatario.trimmed().toLower();
        const auto trovato = aperto.constFind(chiave);
        if (trovato != aperto.constEnd() && pesi[*trovato] + d.dimensione <= limite) {
            messaggi[*trovato].colonne.append(d.colonna);
            pesi[*trovato] += d.dimensione;
            continue;
        }
        aperto.insert(chiave, messaggi.size());
        messaggi.append({d.destinatario.trimmed(), {d.colonna}});
        pesi.append(d.dimensione);
    }
    return messaggi;
}
