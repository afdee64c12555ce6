// The settings file on arbitrary bytes: Velmira.ini is the input, every key
// of the program is read, one is written back, and the whole input is saved
// and read again as the mail message.
//
// What must hold: a one-line value is written and reads back as written (the
// settings file trims blanks around values) and every other value stays as it
// was, or, when the file was no settings file, that file is kept aside whole
// and a new one holds the value alone; a value with a line break is refused
// and leaves the file byte for byte untouched; a
// message reads back as saved, each line break in whichever form typed (and
// each "+") becoming one line break, and an empty message keeps the old one.

#include "SupportoFuzz.h"

#include "settings/FileIni.h"
#include "settings/Impostazioni.h"

#include <QDir>
#include <QFile>

#include <array>
#include <utility>

namespace {

const std::array<std::pair<const char*, const char*>, 15> chiavi{{
    {"Percorsi", "CartellaPDF"}, {"Percorsi", "DataBase"}, {"Percorsi", "CartellaLocale"},
    {"Email", "Indirizzo"}, {"Email", "SMTP"}, {"Email", "UserID"}, {"Email", "Password"},
    {"Email", "Oggetto"}, {"Email", "Messaggio"}, {"Email", "Porta"},
    {"EliminaTemp", "Durata"}, {"Test", "AttivaLog"},
    {"AS/400", "LunCodCli"}, {"AS/400", "LunTipDoc"}, {"AS/400", "LunNumDoc"},
}};

std::array<QString, chiavi.size()> LeggiTutte()
{
    std::array<QString, chiavi.size()> valori;
    for (size_t i = 0; i < chiavi.size(); ++i)
        valori[i] = LeggiIni(QString::fromLatin1(chiavi[i].first), QString::fromLatin1(chiavi[i].second));
    return valori;
}

QString SenzaBlanchiAiLati(QString testo)
{
    const auto bianco = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (!testo.isEmpty() && bianco(testo.front()))
        testo.remove(0, 1);
    while (!testo.isEmpty() && bianco(testo.back()))
        testo.chop(1);
    return testo;
}

QByteArray Contenuto(const QString& percorso)
{
    QFile file(percorso);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    PreparaAmbienteFuzz();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t dimensione)
{
    const QString percorso = ScriviFileFuzz(QStringLiteral("Velmira.ini"), dati, dimensione);
    const auto prima = LeggiTutte();

    // One key written back: which one and its value (the last line) come from the input.
    const QString testo = TestoDaByte(dati, dimensione);
    const size_t scelta = dimensione % chiavi.size();
    const QString sezione = QString::fromLatin1(chiavi[scelta].first);
    const QString chiave = QString::fromLatin1(chiavi[scelta].second);
    const QString valore = testo.mid(testo.lastIndexOf(QLatin1Char('\n')) + 1);
    const bool scritto = ScriviValoreIni(percorso, sezione, chiave, valore);
    MessaggiMostrati();
    const QByteArray originale(reinterpret_cast<const char*>(dati), qsizetype(dimensione));
    const bool unaRiga = !valore.contains(QLatin1Char('\r')) && !valore.contains(QChar(0));
    if (scritto != unaRiga)
        Violazione("a one-line value is always written, a value with a line break never",
                   QStringLiteral("[%1] %2 = «%3»").arg(sezione, chiave, valore));
    if (!scritto) {
        if (Contenuto(percorso) != originale)
            Violazione("a refused write leaves the file untouched", percorso);
        return 0;
    }
    // A file that was no settings file is kept aside as it was, and a new one started.
    QDir cartella(CartellaFuzz());
    const QStringList daParte = cartella.entryList({QStringLiteral("Velmira.ini.non-valido-*")});
    auto attese = prima;
    if (!daParte.isEmpty()) {
        if (daParte.size() != 1 || Contenuto(cartella.filePath(daParte.first())) != originale)
            Violazione("a file that is no settings file is kept aside whole", percorso);
        cartella.remove(daParte.first());
        attese.fill(QString());
    }
    attese[scelta] = SenzaBlanchiAiLati(valore);
    const auto dopo = LeggiTutte();
    for (size_t i = 0; i < chiavi.size(); ++i) {
        if (dopo[i] != attese[i])
            Violazione("a write changes its own value only",
                       QStringLiteral("[%1] %2: «%3» invece di «%4» (scritto [%5] %6 = «%7»)")
                           .arg(QString::fromLatin1(chiavi[i].first), QString::fromLatin1(chiavi[i].second),
                                dopo[i], attese[i], sezione, chiave, valore));
    }

    QString precedente;
    LeggiScriviMessaggio(precedente, true);
    QString messaggio = testo;
    LeggiScriviMessaggio(messaggio, false);
    QString letto;
    LeggiScriviMessaggio(letto, true);
    MessaggiMostrati();
    QString atteso = testo;
    atteso.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    atteso.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    atteso.replace(QLatin1Char('+'), QLatin1Char('\n'));
    atteso = SenzaBlanchiAiLati(atteso);
    atteso.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    // Nothing is saved for an empty message, nor for one no line of the file can keep.
    if (testo.isEmpty() || testo.contains(QChar(0)))
        atteso = precedente;
    if (letto != atteso)
        Violazione("a message reads back as saved",
                   QStringLiteral("salvato «%1» letto «%2» atteso «%3»").arg(testo, letto, atteso));
    return 0;
}
