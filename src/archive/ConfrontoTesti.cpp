#include "archive/ConfrontoTesti.h"

#include <QHash>

#include <algorithm>

#include <unicode/uchar.h>
#include <unicode/ustring.h>

namespace {

QString minuscoloIcu(QStringView testo)
{
    QString uscita(testo.size() + 8, Qt::Uninitialized);
    for (;;) {
        UErrorCode stato = U_ZERO_ERROR;
        const int32_t n = u_strToLower(reinterpret_cast<UChar*>(uscita.data()), int32_t(uscita.size()),
                                       reinterpret_cast<const UChar*>(testo.utf16()), int32_t(testo.size()), "",
                                       &stato);
        if (stato == U_BUFFER_OVERFLOW_ERROR) {
            uscita.resize(n);
            continue;
        }
        if (U_FAILURE(stato))
            return testo.toString();
        uscita.truncate(n);
        return uscita;
    }
}

bool soloAscii(QStringView testo)
{
    for (const QChar c : testo)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// For each lower-case character, the other characters that lower to it
// (upper and title case, and the odd sign such as the Kelvin K).
const QHash<char32_t, QList<char32_t>>& altreForme()
{
    static const QHash<char32_t, QList<char32_t>> forme = [] {
        QHash<char32_t, QList<char32_t>> f;
        for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
            if (!u_hasBinaryProperty(UChar32(c), UCHAR_CHANGES_WHEN_LOWERCASED))
                continue;
            const QList<uint> minuscolo = minuscoloIcu(QString::fromUcs4(&c, 1)).toUcs4();
            if (minuscolo.size() == 1)
                f[minuscolo.first()].append(c);
        }
        // A capital sigma lowers to the final form at the end of a word.
        f[U'ς'].append(U'Σ');
        return f;
    }();
    return forme;
}

} // namespace

QString Minuscolo(const QString& testo)
{
    return soloAscii(testo) ? testo.toLower() : minuscoloIcu(testo);
}

int ConfrontaTesti(QStringView a, QStringView b)
{
    if (soloAscii(a) && soloAscii(b))
        return a.compare(b, Qt::CaseInsensitive);
    const QString ma = minuscoloIcu(a);
    const QString mb = minuscoloIcu(b);
    // Unicode's numbering, not UTF-16's order of surrogates.
    const QList<uint> ca = ma.toUcs4();
    const QList<uint> cb = mb.toUcs4();
    return std::lexicographical_compare(cb.begin(), cb.end(), ca.begin(), ca.end())   ? 1
         : std::lexicographical_compare(ca.begin(), ca.end(), cb.begin(), cb.end()) ? -1
                                                                                     : 0;
}

QStringList Varianti(const QString& testo, int massimo)
{
    const QString minuscolo = Minuscolo(testo);
    // The capital I with a dot lowers to two characters: not listed here.
    if (minuscolo.contains(QStringLiteral("i\u0307")))
        return {};
    QStringList varianti{QString()};
    for (const char32_t c : minuscolo.toUcs4()) {
        QList<char32_t> scelte{c};
        scelte += altreForme().value(c);
        if (varianti.size() * scelte.size() > massimo)
            return {};
        QStringList prossime;
        for (const QString& inizio : std::as_const(varianti))
            for (const char32_t s : std::as_const(scelte))
                prossime.append(inizio + QString::fromUcs4(&s, 1));
        varianti = prossime;
    }
    return varianti;
}
