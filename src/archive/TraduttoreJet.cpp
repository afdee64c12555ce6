#include "archive/TraduttoreJet.h"

#include "archive/Archivio.h"

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

bool colonnaDiTesto(const QString& parola)
{
    for (const char* colonna : {"stampa", "tipo", "numdoc", "codice", "email", "emaildest", "esito"})
        if (parola.compare(QLatin1String(colonna), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool parolaUguale(const QString& parola, const char* attesa)
{
    return parola.compare(QLatin1String(attesa), Qt::CaseInsensitive) == 0;
}

// The program's tables and query that name a document's file.
bool tabellaConStampa(const QString& parola)
{
    return parolaUguale(parola, "posta") || parolaUguale(parola, "emailinviate") || parolaUguale(parola, "qryemail");
}

// After a column at `i`: blanks, "=" or "<>", blanks and a text in quotes.
// Gives the operator and the text, and moves `i` past it.
bool confrontoConTesto(const QString& istruzione, qsizetype& i, QString& operatore, QString& valore)
{
    const qsizetype n = istruzione.size();
    qsizetype j = i;
    const auto saltaBianchi = [&] {
        while (j < n && istruzione.at(j).isSpace())
            ++j;
    };
    saltaBianchi();
    if (istruzione.mid(j, 2) == QLatin1String("<>"))
        operatore = QStringLiteral("<>");
    else if (j < n && istruzione.at(j) == QLatin1Char('=') && istruzione.mid(j, 2) != QLatin1String("=="))
        operatore = QStringLiteral("=");
    else
        return false;
    j += operatore.size();
    saltaBianchi();
    const QChar apice = j < n ? istruzione.at(j) : QChar();
    if (apice != QLatin1Char('\'') && apice != QLatin1Char('"'))
        return false;
    valore.clear();
    for (++j; j < n; ++j) {
        if (istruzione.at(j) == apice) {
            if (j + 1 < n && istruzione.at(j + 1) == apice) {
                valore += apice;
                ++j;
                continue;
            }
            i = j + 1;
            return true;
        }
        valore += istruzione.at(j);
    }
    return false; // never closed: left for the engine to refuse
}

} // namespace

QString LetteraleTesto(const QString& valore)
{
    return QLatin1Char('\'') + QString(valore).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

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
    // DISTINCT and GROUP BY sort on what they list: nothing may be added.
    bool ordineFisso = false;
    // An ORDER BY on the key column leaves no ties to break; one on a table
    // without file names, or on a join of two with, has none to break them by.
    bool ordinePerChiave = false;
    bool conStampa = false;
    // Between the SET of an UPDATE and its WHERE, "x = 'y'" gives a value.
    bool assegnazioni = false;
    // Right after the item, before the blanks that followed it.
    const auto dopoVoce = [&uscita] {
        qsizetype dopo = uscita.size();
        while (dopo > 0 && uscita.at(dopo - 1).isSpace())
            --dopo;
        return dopo;
    };
    const auto chiudiVoce = [&] {
        if (profonditaOrdine != parentesi.size())
            return;
        const bool detto = parolaUguale(ultimaDellaVoce, "first") || parolaUguale(ultimaDellaVoce, "last");
        if (!detto && dialetto.nulliInFondo)
            uscita.insert(dopoVoce(), parolaUguale(ultimaDellaVoce, "desc") ? QLatin1String(" NULLS LAST")
                                                                            : QLatin1String(" NULLS FIRST"));
        ultimaDellaVoce.clear();
    };
    const auto chiudiOrdine = [&] {
        chiudiVoce();
        if (profonditaOrdine == 0 && conStampa && !ordineFisso && !ordinePerChiave && !dialetto.spareggio.isEmpty())
            uscita.insert(dopoVoce(), QStringLiteral(", ") + dialetto.spareggio);
        profonditaOrdine = -1;
        ordinePerChiave = false;
    };
    const qsizetype n = istruzione.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = istruzione.at(i);
        if (profonditaOrdine >= 0 && profonditaOrdine == parentesi.size()) {
            if (c == QLatin1Char(',')) {
                chiudiVoce();
            } else if (c == QLatin1Char(';') || c == QLatin1Char(')')) {
                chiudiOrdine();
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
            if (profonditaOrdine == parentesi.size() && parolaChiudeOrdine(parola))
                chiudiOrdine();
            if (parolaUguale(parola, "distinct") || parolaUguale(parola, "group"))
                ordineFisso = true;
            if (parolaUguale(parola, "set") || parolaUguale(parola, "where"))
                assegnazioni = parolaUguale(parola, "set");
            if (parentesi.isEmpty() && parolaUguale(parolaPrecedente, "from"))
                conStampa = tabellaConStampa(parola);
            else if (parolaUguale(parola, "join"))
                conStampa = false;
            const bool inOrdine = profonditaOrdine == parentesi.size();
            const bool qualificata = i > 0 && istruzione.at(i - 1) == QLatin1Char('.');
            QString operatore;
            QString valore;
            qsizetype dopoConfronto = j;
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
            } else if (!funzione && !qualificata && colonnaDiTesto(parola) && inOrdine && !ordineFisso
                       && dialetto.ordine) {
                uscita += dialetto.ordine(parola);
                i = j;
            } else if (!funzione && !qualificata && !inOrdine && !assegnazioni && colonnaDiTesto(parola) && dialetto.confronto
                       && confrontoConTesto(istruzione, dopoConfronto, operatore, valore)) {
                uscita += dialetto.confronto(parola, operatore, valore);
                i = dopoConfronto;
            } else if (alias && !parola.front().isDigit()
                       && (parentesi.isEmpty() || parentesi.last() != Apertura::Cast)) {
                uscita += QLatin1Char('"') + parola + QLatin1Char('"');
                i = j;
            } else {
                uscita += parola;
                i = j;
            }
            dopoAs = parolaUguale(parola, "as");
            if (inOrdine) {
                ultimaDellaVoce = parola;
                ordinePerChiave = ordinePerChiave || parola.compare(ColonnaChiave, Qt::CaseInsensitive) == 0;
            }
            else if (parolaUguale(parola, "by") && parolaUguale(parolaPrecedente, "order"))
                profonditaOrdine = parentesi.size();
            parolaPrecedente = parola;
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
        chiudiOrdine();
    return uscita;
}
