#include "mail/CasellaPosta.h"

#include <QRegularExpression>

namespace {

quint32 codiceRisposta(const QByteArray& risposta, const char* nome)
{
    const QRegularExpression forma(QStringLiteral("\\[%1 (\\d{1,10})\\]").arg(QLatin1String(nome)));
    const QRegularExpressionMatch m = forma.match(QString::fromLatin1(risposta));
    bool ok = false;
    const qulonglong valore = m.captured(1).toULongLong(&ok);
    return ok && valore <= 0xffffffffULL ? quint32(valore) : 0;
}

} // namespace

StatoCasella LeggiEsame(const QByteArray& risposta)
{
    return {codiceRisposta(risposta, "UIDVALIDITY"), codiceRisposta(risposta, "UIDNEXT")};
}

QList<quint32> LeggiRicerca(const QByteArray& risposta)
{
    QList<quint32> uid;
    for (const QByteArray& riga : risposta.split('\n')) {
        const QByteArray pulita = riga.trimmed();
        if (!pulita.startsWith("* SEARCH"))
            continue;
        for (const QByteArray& numero : pulita.mid(8).simplified().split(' ')) {
            bool ok = false;
            const quint32 n = numero.toUInt(&ok);
            if (ok && n > 0)
                uid.append(n);
        }
    }
    return uid;
}

QMap<quint32, QByteArray> LeggiMessaggi(const QByteArray& risposta)
{
    // "* 7 FETCH (UID 12 BODY[] {345}" CRLF, 345 bytes, then the rest of the
    // response's line: ")" or " UID 12)".
    static const QRegularExpression letterale(QStringLiteral("\\{(\\d{1,9})\\}\\r?$"));
    static const QRegularExpression uid(QStringLiteral("UID (\\d{1,10})"));
    QMap<quint32, QByteArray> messaggi;
    qsizetype riga = 0;
    while (riga < risposta.size()) {
        qsizetype fine = risposta.indexOf('\n', riga);
        if (fine < 0)
            fine = risposta.size();
        const QString testo = QString::fromLatin1(risposta.mid(riga, fine - riga));
        riga = fine + 1;
        const QRegularExpressionMatch lunghezza = letterale.match(testo);
        if (!testo.startsWith(QLatin1String("* ")) || !testo.contains(QLatin1String("FETCH")) || !lunghezza.hasMatch())
            continue;
        const qsizetype n = lunghezza.captured(1).toLongLong();
        if (riga + n > risposta.size())
            break;
        const QByteArray corpo = risposta.mid(riga, n);
        riga += n;
        qsizetype coda = risposta.indexOf('\n', riga);
        if (coda < 0)
            coda = risposta.size();
        const QString resto = testo + QString::fromLatin1(risposta.mid(riga, coda - riga));
        riga = coda + 1;
        bool ok = false;
        const quint32 numero = uid.match(resto).captured(1).toUInt(&ok);
        if (ok)
            messaggi.insert(numero, corpo);
    }
    return messaggi;
}
