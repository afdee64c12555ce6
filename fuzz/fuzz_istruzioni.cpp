// The search statements on Posta with user text where the search windows put
// it, translated for the archive engine. Input, one value a line: search mode,
// type, year, document number, client/supplier code, first and last date
// (yyyy-MM-dd; dates the date pickers cannot hold fall back to a fixed one).
//
// What must hold: the translated statement has exactly the literals of the
// statement as built, each a date or one of the values the user typed, so no
// quote typed by the user ever ends or opens a literal; and the engine accepts
// the statement whenever the year, when used, is four digits.

#include "SupportoFuzz.h"

#include "archive/Archivio.h"
#include "archive/Connessione.h"
#include "archive/MotoreSQLite.h"
#include "archive/TraduttoreJet.h"
#include "common/Testo.h"
#include "search/IstruzioniRicerca.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <optional>

namespace {

// The literals of a statement in order, their quotes undone; nothing when one
// is left open or a quote stands where no literal can. Jet statements also
// have #date# literals; translated ones may only quote names in "...".
std::optional<QStringList> Letterali(const QString& istruzione, bool jet)
{
    QStringList letterali;
    qsizetype i = 0;
    while (i < istruzione.size()) {
        const QChar c = istruzione.at(i);
        const bool apice = c == QLatin1Char('\'') || (jet && c == QLatin1Char('"'));
        if (jet && c == QLatin1Char('#')) {
            const qsizetype fine = istruzione.indexOf(QLatin1Char('#'), i + 1);
            if (fine < 0)
                return std::nullopt;
            letterali.append(istruzione.mid(i + 1, fine - i - 1));
            i = fine + 1;
        } else if (apice) {
            QString valore;
            qsizetype j = i + 1;
            for (;; ++j) {
                if (j >= istruzione.size())
                    return std::nullopt;
                if (istruzione.at(j) != c) {
                    valore += istruzione.at(j);
                } else if (j + 1 < istruzione.size() && istruzione.at(j + 1) == c) {
                    valore += c;
                    ++j;
                } else {
                    break;
                }
            }
            letterali.append(valore);
            i = j + 1;
        } else if (c == QLatin1Char('#') || c == QLatin1Char('"')) {
            return std::nullopt;
        } else {
            ++i;
        }
    }
    return letterali;
}

QDate DataDelSelettore(const QString& testo, const QDate& predefinita)
{
    const QDate data = QDate::fromString(testo, Qt::ISODate);
    if (!data.isValid() || data < QDate(1752, 9, 14) || data > QDate(9999, 12, 31))
        return predefinita;
    return data;
}

bool QuattroCifre(const QString& anno)
{
    if (anno.size() != 4)
        return false;
    for (const QChar c : anno) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QSqlDatabase* archivio = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PreparaAmbienteFuzz();
    const QString percorso = QDir(CartellaFuzz()).filePath(QStringLiteral("dati.sqlite"));
    if (CreaArchivio(percorso).presente())
        Violazione("an empty archive can be created", percorso);
    // Opened as the program opens it, with the text collation it registers.
    static Connessione connessione;
    if (connessione.Apri(StringaConnessione(percorso)).presente())
        Violazione("the empty archive opens", percorso);
    archivio = &connessione.Database();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione)
{
    const QStringList righe = RigheFuzz(TestoDaByte(dati, dimensione), 7);
    const auto modo = ModoRicerca(righe[0].trimmed().toInt());
    CriteriRicerca criteri{DataDelSelettore(righe[5], QDate(2014, 1, 31)),
                           DataDelSelettore(righe[6], QDate(2014, 2, 1)),
                           righe[1], righe[2], righe[3], righe[4]};
    // The windows let a search by number start only with a year they accept.
    if (modo == ModoRicerca::NumeroEAnno && !(TestoNumerico(criteri.anno) && criteri.anno.size() == 4))
        return 0;

    for (const bool tipoSempre : {false, true}) {
        const QString jet = IstruzioneDocumenti(modo, criteri, tipoSempre);
        if (jet.isEmpty())
            return 0;
        // The literals are checked on a dialect that adds none of its own,
        // with the server's sorting of empty values.
        const QString tradotta = TraduciJet(jet, Dialetto{QStringLiteral("year("), QStringLiteral(")"), false, true,
                                                          QStringLiteral("date("), QStringLiteral(")")});
        const auto primi = Letterali(jet, true);
        const auto tradotti = Letterali(tradotta, false);
        if (!primi || !tradotti || primi->size() != tradotti->size())
            Violazione("the translated statement has the literals of the one built",
                       QStringLiteral("%1\n%2").arg(jet, tradotta));
        const QStringList ammessi{criteri.dataIniziale.toString(Qt::ISODate),
                                  criteri.dataFinale.toString(Qt::ISODate), criteri.tipo.trimmed(),
                                  criteri.numero.trimmed(), criteri.codice.trimmed()};
        for (const QString& letterale : *tradotti) {
            if (!ammessi.contains(letterale))
                Violazione("every literal is a date or a value typed",
                           QStringLiteral("«%1» in %2").arg(letterale, tradotta));
        }
        QSqlQuery query(*archivio);
        const QString sqlite = MotoreSQLite::Istanza().Traduci(jet);
        // The engine reads a statement up to its first NUL, which no text box can hold.
        if ((modo != ModoRicerca::NumeroEAnno || QuattroCifre(criteri.anno)) && !sqlite.contains(QChar(0))
            && !query.prepare(sqlite))
            Violazione("the engine accepts the statement", sqlite);
    }
    return 0;
}
