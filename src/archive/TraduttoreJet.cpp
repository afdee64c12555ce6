#include "archive/TraduttoreJet.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>
#include <QVector>

namespace {

// A Jet date literal is always month/day/year, whatever the workstation's
// locale; a time of day may follow.
QString letteraleData(const QString& interno)
{
    static const QRegularExpression forma(QStringLiteral(
        R"(^\s*(\d{1,2})[/\-](\d{1,2})[/\-](\d{2}|\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    const auto m = forma.match(interno);
    if (!m.hasMatch())
        return {};
    int anno = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        anno += anno < 30 ? 2000 : 1900;
    const QDate data(anno, m.captured(1).toInt(), m.captured(2).toInt());
    if (!data.isValid())
        return {};
    QString testo = data.toString(QStringLiteral("yyyy-MM-dd"));
    if (!m.captured(4).isEmpty()) {
        const QTime ora(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
        if (!ora.isValid())
            return {};
        testo += QLatin1Char(' ') + ora.toString(QStringLiteral("HH:mm:ss"));
    }
    return QLatin1Char('\'') + testo + QLatin1Char('\'');
}

bool carattereNome(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// Clauses that may follow an ORDER BY list.
bool parolaChiudeOrdine(const QString& parola)
{
    for (const char* clausola : {"limit", "offset", "fetch", "for"})
        if (parola.compare(QLatin1String(clausola), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

QString TraduciJet(const QString& istruzione, const Dialetto& dialetto)
{
    QString uscita;
    uscita.reserve(istruzione.size() + 32);
    // One entry per open parenthesis: what opened it.
    enum class Apertura { Gruppo, Anno, Data, Cast };
    QVector<Apertura> parentesi;
    bool dopoAs = false;
    // The ORDER BY list being copied: the depth of parentheses it stands at
    // (-1 outside one), and the last word of its current item.
    qsizetype profonditaOrdine = -1;
    QString ultimaDellaVoce;
    QString parolaPrecedente;
    const auto chiudiVoce = [&] {
        if (profonditaOrdine != parentesi.size())
            return;
        const bool detto = ultimaDellaVoce.compare(QLatin1String("first"), Qt::CaseInsensitive) == 0
                        || ultimaDellaVoce.compare(QLatin1String("last"), Qt::CaseInsensitive) == 0;
        // Right after the item, before the blanks that followed it.
        qsizetype dopoVoce = uscita.size();
        while (dopoVoce > 0 && uscita.at(dopoVoce - 1).isSpace())
            --dopoVoce;
        if (!detto)
            uscita.insert(dopoVoce, ultimaDellaVoce.compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0
                                        ? QLatin1String(" NULLS LAST")
                                        : QLatin1String(" NULLS FIRST"));
        ultimaDellaVoce.clear();
    };
    const qsizetype n = istruzione.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = istruzione.at(i);
        if (profonditaOrdine >= 0 && profonditaOrdine == parentesi.size()) {
            if (c == QLatin1Char(',')) {
                chiudiVoce();
            } else if (c == QLatin1Char(';') || c == QLatin1Char(')')) {
                chiudiVoce();
                profonditaOrdine = -1;
            }
        }
        // Only blanks may stand between AS and the name it gives.
        const bool alias = dopoAs && dialetto.nomiMinuscoli;
        if (!c.isSpace())
            dopoAs = false;
        if (c == QLatin1Char('\'')) {
            // Copied as it stands, '' escapes included.
            qsizetype j = i + 1;
            while (j < n) {
                if (istruzione.at(j) == QLatin1Char('\'')) {
                    if (j + 1 < n && istruzione.at(j + 1) == QLatin1Char('\''))
                        j += 2;
                    else
                        break;
                } else {
                    ++j;
                }
            }
            uscita += istruzione.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == QLatin1Char('"')) {
            QString valore;
            qsizetype j = i + 1;
            while (j < n) {
                if (istruzione.at(j) == QLatin1Char('"')) {
                    if (j + 1 < n && istruzione.at(j + 1) == QLatin1Char('"')) {
                        valore += QLatin1Char('"');
                        j += 2;
                        continue;
                    }
                    break;
                }
                valore += istruzione.at(j++);
            }
            valore.replace(QLatin1Char('\''), QStringLiteral("''"));
            uscita += QLatin1Char('\'') + valore + QLatin1Char('\'');
            i = j + 1;
        } else if (c == QLatin1Char('#')) {
            const qsizetype fine = istruzione.indexOf(QLatin1Char('#'), i + 1);
            const QString data = fine < 0 ? QString() : letteraleData(istruzione.mid(i + 1, fine - i - 1));
            if (data.isEmpty()) {
                // Not a date: left for the engine to refuse with its own error.
                uscita += c;
                ++i;
            } else {
                uscita += data;
                i = fine + 1;
            }
        } else if (c == QLatin1Char('[')) {
            const qsizetype fine = istruzione.indexOf(QLatin1Char(']'), i + 1);
            if (fine < 0) {
                uscita += istruzione.mid(i);
                break;
            }
            const QString nome = istruzione.mid(i + 1, fine - i - 1);
            uscita += QLatin1Char('"') + (dialetto.nomiMinuscoli ? nome.toLower() : nome) + QLatin1Char('"');
            i = fine + 1;
        } else if (carattereNome(c)) {
            qsizetype j = i;
            while (j < n && carattereNome(istruzione.at(j)))
                ++j;
            const QString parola = istruzione.mid(i, j - i);
            if (profonditaOrdine == parentesi.size() && parolaChiudeOrdine(parola)) {
                chiudiVoce();
                profonditaOrdine = -1;
            }
            qsizetype k = j;
            while (k < n && istruzione.at(k).isSpace())
                ++k;
            const bool funzione = k < n && istruzione.at(k) == QLatin1Char('(');
            if (funzione && parola.compare(QLatin1String("year"), Qt::CaseInsensitive) == 0) {
                uscita += dialetto.annoPrima;
                parentesi.append(Apertura::Anno);
                i = k + 1;
            } else if (funzione && parola.compare(QLatin1String("cdate"), Qt::CaseInsensitive) == 0) {
                uscita += dialetto.dataPrima;
                parentesi.append(Apertura::Data);
                i = k + 1;
            } else if (funzione && parola.compare(QLatin1String("cast"), Qt::CaseInsensitive) == 0) {
                // cast(x AS type): a type, not a column name.
                uscita += istruzione.mid(i, k - i + 1);
                parentesi.append(Apertura::Cast);
                i = k + 1;
            } else if (alias && !parola.front().isDigit()
                       && (parentesi.isEmpty() || parentesi.last() != Apertura::Cast)) {
                uscita += QLatin1Char('"') + parola + QLatin1Char('"');
                i = j;
            } else {
                uscita += parola;
                i = j;
            }
            dopoAs = parola.compare(QLatin1String("as"), Qt::CaseInsensitive) == 0;
            if (dialetto.nulliInFondo) {
                if (profonditaOrdine == parentesi.size())
                    ultimaDellaVoce = parola;
                else if (parola.compare(QLatin1String("by"), Qt::CaseInsensitive) == 0
                         && parolaPrecedente.compare(QLatin1String("order"), Qt::CaseInsensitive) == 0)
                    profonditaOrdine = parentesi.size();
                parolaPrecedente = parola;
            }
        } else if (c == QLatin1Char('(')) {
            parentesi.append(Apertura::Gruppo);
            uscita += c;
            ++i;
        } else if (c == QLatin1Char(')')) {
            const Apertura apertura = parentesi.isEmpty() ? Apertura::Gruppo : parentesi.takeLast();
            uscita += apertura == Apertura::Anno ? dialetto.annoDopo
                : apertura == Apertura::Data     ? dialetto.dataDopo
                                                 : QString(c);
            ++i;
        } else {
            uscita += c;
            ++i;
        }
    }
    if (profonditaOrdine >= 0)
        chiudiVoce();
    return uscita;
}
