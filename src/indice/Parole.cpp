#include "indice/Parole.h"


namespace {

// Longer runs are not words (encoded data, rows of dashes read as letters).
constexpr qsizetype parolaMassima = 100;

// The code point at `i`, moving `i` past it.
char32_t prossimo(QStringView testo, qsizetype& i)
{
    const QChar c = testo[i++];
    if (c.isHighSurrogate() && i < testo.size() && testo[i].isLowSurrogate())
        return QChar::surrogateToUcs4(c, testo[i++]);
    return c.unicode();
}

bool letteraOCifra(char32_t c)
{
    return QChar::isLetter(c) || QChar::category(c) == QChar::Number_DecimalDigit;
}

QString forma(QStringView parola)
{
    bool ascii = true;
    for (QChar c : parola)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        return parola.toString().toLower();
    // Compatibility forms too: a ligature "ﬁ" is "fi", a full-width digit a digit.
    const QString scomposta = parola.toString().normalized(QString::NormalizationForm_KD);
    QString risultato;
    risultato.reserve(scomposta.size());
    for (qsizetype i = 0; i < scomposta.size();) {
        const char32_t c = prossimo(scomposta, i);
        if (letteraOCifra(c))
            risultato += QString::fromUcs4(&c, 1);
    }
    return risultato.toLower();
}

struct Parola
{
    qsizetype inizio;
    qsizetype lunghezza;
    QString forma;
};

QList<Parola> paroleDi(const QString& testo)
{
    QList<Parola> parole;
    PerOgniParola(testo, [&parole](qsizetype inizio, qsizetype lunghezza, const QString& f) {
        parole.append({inizio, lunghezza, f});
    });
    return parole;
}

// How many words from `k` on match `frase`, or 0.
qsizetype corrisponde(const QList<Parola>& parole, qsizetype k, const FraseCercata& frase)
{
    const qsizetype n = frase.parole.size();
    if (k + n > parole.size())
        return 0;
    for (qsizetype j = 0; j < n; ++j) {
        const QString& trovata = parole[k + j].forma;
        const bool ultima = j == n - 1;
        if (ultima && frase.prefisso ? !trovata.startsWith(frase.parole[j]) : trovata != frase.parole[j])
            return 0;
    }
    return n;
}

// What stands between two words, each run of blanks and line ends one blank.
QString unaRiga(QStringView testo)
{
    QString riga;
    for (QChar c : testo)
        if (!c.isSpace())
            riga += c;
        else if (!riga.endsWith(u' '))
            riga += u' ';
    return riga;
}

} // namespace

void PerOgniParola(const QString& testo,
                   const std::function<void(qsizetype, qsizetype, const QString&)>& parola)
{
    qsizetype inizio = -1;
    const auto chiudi = [&](qsizetype fine) {
        if (inizio >= 0 && fine - inizio <= parolaMassima) {
            const QString f = forma(QStringView(testo).mid(inizio, fine - inizio));
            if (!f.isEmpty())
                parola(inizio, fine - inizio, f);
        }
        inizio = -1;
    };
    for (qsizetype i = 0; i < testo.size();) {
        const qsizetype qui = i;
        const char32_t c = prossimo(testo, i);
        // An accent written apart from its letter belongs to the word.
        const bool segno = inizio >= 0 && QChar::category(c) == QChar::Mark_NonSpacing;
        if (letteraOCifra(c) || segno) {
            if (inizio < 0)
                inizio = qui;
        } else {
            chiudi(qui);
        }
    }
    chiudi(testo.size());
}

QString ParoleDelTesto(const QString& testo)
{
    QString parole;
    parole.reserve(testo.size());
    int numero = 0;
    PerOgniParola(testo, [&](qsizetype, qsizetype, const QString& f) {
        if (numero++ >= ParoleMassime)
            return;
        if (!parole.isEmpty())
            parole += QLatin1Char(' ');
        parole += f;
    });
    return parole;
}

Risultato<QList<FraseCercata>> LeggiRicerca(const QString& ricerca)
{
    QList<FraseCercata> frasi;
    const auto aggiungi = [&frasi](QStringView pezzo, bool prefisso) {
        FraseCercata frase;
        PerOgniParola(pezzo.toString(), [&frase](qsizetype, qsizetype, const QString& f) { frase.parole.append(f); });
        frase.prefisso = prefisso;
        if (!frase.parole.isEmpty())
            frasi.append(frase);
    };
    const qsizetype n = ricerca.size();
    qsizetype i = 0;
    while (i < n) {
        if (ricerca[i].isSpace()) {
            ++i;
        } else if (ricerca[i] == u'"') {
            qsizetype fine = ricerca.indexOf(u'"', i + 1);
            if (fine < 0)
                fine = n;
            const QStringView dentro = QStringView(ricerca).mid(i + 1, fine - i - 1).trimmed();
            const bool asterisco = fine + 1 < n && ricerca[fine + 1] == u'*';
            aggiungi(dentro, dentro.endsWith(u'*') || asterisco);
            i = fine + (asterisco ? 2 : 1);
        } else {
            qsizetype fine = i;
            while (fine < n && !ricerca[fine].isSpace() && ricerca[fine] != u'"')
                ++fine;
            const QStringView parola = QStringView(ricerca).mid(i, fine - i);
            aggiungi(parola, parola.endsWith(u'*'));
            i = fine;
        }
    }
    if (frasi.isEmpty())
        return Errore{CodiceErrore::Ricerca, QStringLiteral("Scrivere almeno una parola da cercare.")};
    return frasi;
}

QList<PezzoEstratto> EstrattoTesto(const QString& testo, const QList<FraseCercata>& frasi)
{
    constexpr qsizetype prima = 6;
    constexpr qsizetype dopo = 14;
    const QList<Parola> parole = paroleDi(testo);
    if (parole.isEmpty())
        return {};
    // Which words are found, and where the first of them stands.
    QList<bool> trovate(parole.size(), false);
    qsizetype primo = -1;
    for (qsizetype k = 0; k < parole.size(); ++k)
        for (const FraseCercata& frase : frasi)
            if (const qsizetype lunga = corrisponde(parole, k, frase); lunga > 0) {
                std::fill(trovate.begin() + k, trovate.begin() + k + lunga, true);
                if (primo < 0)
                    primo = k;
            }
    const qsizetype da = std::max<qsizetype>(0, primo - prima);
    const qsizetype a = std::min(parole.size(), std::max<qsizetype>(primo, 0) + dopo + 1);
    QList<PezzoEstratto> pezzi;
    const auto aggiungi = [&pezzi](const QString& t, bool trovato) {
        if (t.isEmpty())
            return;
        if (!pezzi.isEmpty() && pezzi.last().trovato == trovato)
            pezzi.last().testo += t;
        else
            pezzi.append({t, trovato});
    };
    if (da > 0)
        aggiungi(QStringLiteral("… "), false);
    for (qsizetype k = da; k < a; ++k) {
        const Parola& p = parole[k];
        if (k > da) {
            const qsizetype fineprecedente = parole[k - 1].inizio + parole[k - 1].lunghezza;
            // Between two words found, as in a phrase, the blank is part of the find.
            aggiungi(unaRiga(QStringView(testo).mid(fineprecedente, p.inizio - fineprecedente)),
                     trovate[k - 1] && trovate[k]);
        }
        aggiungi(testo.mid(p.inizio, p.lunghezza), trovate[k]);
    }
    // What sticks to the last word (a full stop, a closing quote) goes with it.
    const qsizetype fine = parole[a - 1].inizio + parole[a - 1].lunghezza;
    qsizetype attaccato = fine;
    while (attaccato < testo.size() && !testo[attaccato].isSpace() && (a == parole.size() || attaccato < parole[a].inizio))
        ++attaccato;
    aggiungi(testo.mid(fine, attaccato - fine), false);
    if (a < parole.size())
        aggiungi(QStringLiteral(" …"), false);
    return pezzi;
}
