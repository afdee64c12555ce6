#include "mail/MessaggioMime.h"

namespace {

bool spazio(char c)
{
    return c == ' ' || c == '\t';
}

int valoreEsadecimale(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray senzaRitorno(QByteArray riga)
{
    if (riga.endsWith('\r'))
        riga.chop(1);
    return riga;
}

} // namespace

ParteMime DividiParte(const QByteArray& testo)
{
    qsizetype inizio = 0;
    while (inizio < testo.size()) {
        const qsizetype fine = testo.indexOf('\n', inizio);
        if (fine < 0)
            break;
        if (senzaRitorno(testo.mid(inizio, fine - inizio)).isEmpty())
            return {testo.left(inizio), testo.mid(fine + 1)};
        inizio = fine + 1;
    }
    return {testo, {}};
}

std::optional<QByteArray> ValoreIntestazione(const QByteArray& intestazioni, QByteArrayView nome)
{
    std::optional<QByteArray> valore;
    for (const QByteArray& grezza : intestazioni.split('\n')) {
        const QByteArray riga = senzaRitorno(grezza);
        if (!riga.isEmpty() && spazio(riga.front())) {
            if (valore)
                *valore += ' ' + riga.trimmed();
            continue;
        }
        if (valore)
            return valore->trimmed();
        const qsizetype dueP = riga.indexOf(':');
        if (dueP > 0 && QByteArrayView(riga).first(dueP).trimmed().compare(nome, Qt::CaseInsensitive) == 0)
            valore = riga.mid(dueP + 1);
    }
    if (valore)
        return valore->trimmed();
    return std::nullopt;
}

QByteArray ParametroIntestazione(const QByteArray& valore, QByteArrayView nome)
{
    for (const QByteArray& parte : valore.split(';')) {
        const qsizetype uguale = parte.indexOf('=');
        if (uguale < 0 || QByteArrayView(parte).first(uguale).trimmed().compare(nome, Qt::CaseInsensitive) != 0)
            continue;
        QByteArray dato = parte.mid(uguale + 1).trimmed();
        if (dato.size() >= 2 && dato.startsWith('"') && dato.endsWith('"'))
            dato = dato.mid(1, dato.size() - 2);
        return dato;
    }
    return {};
}

QList<QByteArray> PartiMultiparte(const QByteArray& corpo, const QByteArray& confine)
{
    if (confine.isEmpty())
        return {};
    // A delimiter is a line of its own: "--" and the boundary, the line break
    // before it belonging to it.
    const QByteArray delimitatore = "--" + confine;
    QList<QByteArray> parti;
    qsizetype inizioParte = -1;
    qsizetype riga = 0;
    while (riga <= corpo.size()) {
        qsizetype fine = corpo.indexOf('\n', riga);
        if (fine < 0)
            fine = corpo.size();
        const QByteArray testo = senzaRitorno(corpo.mid(riga, fine - riga));
        if (testo.startsWith(delimitatore)) {
            const QByteArray resto = testo.mid(delimitatore.size()).trimmed();
            const bool chiusura = resto == "--";
            if (resto.isEmpty() || chiusura) {
                if (inizioParte >= 0) {
                    qsizetype fineParte = riga > 0 ? riga - 1 : 0; // the line break before the delimiter
                    if (fineParte > inizioParte && corpo[fineParte - 1] == '\r')
                        --fineParte;
                    parti.append(corpo.mid(inizioParte, qMax<qsizetype>(0, fineParte - inizioParte)));
                }
                if (chiusura)
                    return parti;
                inizioParte = fine + 1;
            }
        }
        riga = fine + 1;
    }
    return {};
}

QByteArray DecodificaCorpo(const QByteArray& corpo, const QByteArray& codifica)
{
    const QByteArray tipo = codifica.trimmed().toLower();
    if (tipo == "base64")
        return QByteArray::fromBase64(corpo);
    if (tipo != "quoted-printable")
        return corpo;
    QByteArray testo;
    testo.reserve(corpo.size());
    for (qsizetype i = 0; i < corpo.size(); ++i) {
        const char c = corpo[i];
        if (c != '=') {
            testo += c;
            continue;
        }
        // "=" at a line's end joins it to the next; "=XX" is a byte.
        if (i + 1 < corpo.size() && corpo[i + 1] == '\n') {
            ++i;
        } else if (i + 2 < corpo.size() && corpo[i + 1] == '\r' && corpo[i + 2] == '\n') {
            i += 2;
        } else if (i + 2 < corpo.size() && valoreEsadecimale(corpo[i + 1]) >= 0 && valoreEsadecimale(corpo[i + 2]) >= 0) {
            testo += char(valoreEsadecimale(corpo[i + 1]) * 16 + valoreEsadecimale(corpo[i + 2]));
            i += 2;
        } else {
            testo += c;
        }
    }
    return testo;
}
