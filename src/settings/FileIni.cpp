#include "settings/FileIni.h"

#include "common/Dialoghi.h"
#include "common/ErroreSistema.h"
#include "common/Orologio.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <SimpleIni.h>

namespace {

const QByteArray bomUtf8("\xEF\xBB\xBF");

// Blanks as the reader of the file counts them: a vertical tab or a no-break
// space is part of a name or a value there, so it must be here too.
bool Bianco(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

QStringView SenzaBianchi(QStringView testo)
{
    while (!testo.isEmpty() && Bianco(testo.front()))
        testo = testo.sliced(1);
    while (!testo.isEmpty() && Bianco(testo.back()))
        testo.chop(1);
    return testo;
}

// A settings file as text, with what its rewrite must keep: encoding, byte
// order mark and line ends.
struct TestoIni
{
    enum class Stato { Assente, Impostazioni, NonImpostazioni, Illeggibile } stato = Stato::Assente;
    QString testo;
    bool windows1252 = false;
    bool bom = false;
    QString errore; // why it could not be read
};

// Section headers, key=value lines, comments and blank lines: anything else
// means the file is not a settings file (a note, a document saved over it).
bool FormaIni(const QString& testo)
{
    for (const QStringView riga : QStringView(testo).split(QLatin1Char('\n'))) {
        const QStringView pulita = SenzaBianchi(riga);
        if (pulita.isEmpty() || pulita.startsWith(QLatin1Char(';')) || pulita.startsWith(QLatin1Char('#')))
            continue;
        if (pulita.startsWith(QLatin1Char('[')) && pulita.endsWith(QLatin1Char(']')))
            continue;
        const qsizetype uguale = pulita.indexOf(QLatin1Char('='));
        if (uguale <= 0)
            return false;
    }
    return true;
}

// The text of a file's bytes: UTF-8 (with or without a byte order mark), or
// else the 8-bit code page a file written on Windows is in.
QString Decodifica(QByteArray dati, bool* bom, bool* windows1252)
{
    *bom = dati.startsWith(bomUtf8);
    if (*bom)
        dati.remove(0, bomUtf8.size());
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString testo = utf8.decode(dati);
    *windows1252 = utf8.hasError();
    return *windows1252 ? QStringDecoder("windows-1252").decode(dati) : testo;
}

TestoIni Carica(const QString& fileIni)
{
    TestoIni ini;
    QFile file(fileIni);
    if (!QFileInfo::exists(fileIni))
        return ini;
    if (!file.open(QIODevice::ReadOnly)) {
        ini.stato = TestoIni::Stato::Illeggibile;
        ini.errore = TestoErroreFile(file);
        return ini;
    }
    const QByteArray dati = file.readAll();
    ini.testo = Decodifica(dati, &ini.bom, &ini.windows1252);
    // The reader ends a line at a lone carriage return too (old Mac files); so
    // must everything that finds lines here.
    static const QRegularExpression ritornoSolo(QStringLiteral("\r(?!\n)"));
    ini.testo.replace(ritornoSolo, QStringLiteral("\r\n"));
    ini.stato = !dati.contains('\0') && FormaIni(ini.testo) ? TestoIni::Stato::Impostazioni
                                                            : TestoIni::Stato::NonImpostazioni;
    return ini;
}

// A problem with a settings file is told once, not at every read or window
// activation; a different problem with the same file is told again, and so
// is the same one once the same kind of access worked in between.
enum class Accesso { Lettura, Scrittura };

QHash<QString, QString>& Segnalati()
{
    static QHash<QString, QString> segnalati;
    return segnalati;
}

QString Chiave(const QString& fileIni, Accesso accesso)
{
    return (accesso == Accesso::Lettura ? QStringLiteral("L:") : QStringLiteral("S:")) + fileIni;
}

void Segnala(const QString& fileIni, Accesso accesso, const QString& testo)
{
    QString& ultimo = Segnalati()[Chiave(fileIni, accesso)];
    if (ultimo == testo)
        return;
    ultimo = testo;
    MostraMessaggio(testo, Icona::Esclamazione);
}

void Riuscito(const QString& fileIni, Accesso accesso)
{
    Segnalati().remove(Chiave(fileIni, accesso));
}

QString MessaggioNonImpostazioni(const QString& fileIni)
{
    return QStringLiteral("Il file %1 non è un file di impostazioni: i valori non possono essere "
                          "letti.")
        .arg(fileIni);
}

// Sections as the reader sees them: a line starting with '[' ends the
// section before it, and names the section up to its first ']' (the rest of
// the line is ignored); without a ']' it starts a section no name matches.
bool StessaSezione(QStringView riga, const QString& sezione)
{
    const QStringView pulita = SenzaBianchi(riga);
    const qsizetype fine = pulita.indexOf(QLatin1Char(']'));
    return pulita.startsWith(QLatin1Char('[')) && fine > 0
        && SenzaBianchi(pulita.mid(1, fine - 1)).compare(sezione, Qt::CaseInsensitive) == 0;
}

bool IntestazioneSezione(QStringView riga)
{
    return SenzaBianchi(riga).startsWith(QLatin1Char('['));
}

// The text with every `chiave` of `sezione` set to `valore` (added at the end
// of the section, or in a new section at the end): every other line, line
// end and blank stays exactly as it was.
QString ConValore(const QString& testo, const QString& sezione, const QString& chiave,
                  const QString& valore)
{
    const QString aCapo = testo.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r\n")
                                                                 : QStringLiteral("\n");
    QStringList righe = testo.split(QLatin1Char('\n'));
    const bool conCR = aCapo.size() == 2;
    bool inSezione = false;
    bool trovata = false;
    qsizetype dopoUltimaRiga = -1; // where a new key of the section goes
    for (qsizetype i = 0; i < righe.size(); ++i) {
        QString& riga = righe[i];
        const bool cr = riga.endsWith(QLatin1Char('\r'));
        const QStringView contenuto = QStringView(riga).chopped(cr ? 1 : 0);
        if (IntestazioneSezione(contenuto)) {
            inSezione = StessaSezione(contenuto, sezione);
            if (inSezione)
                dopoUltimaRiga = i + 1;
            continue;
        }
        if (!inSezione)
            continue;
        const QStringView pulita = SenzaBianchi(contenuto);
        if (pulita.isEmpty() || pulita.startsWith(QLatin1Char(';')) || pulita.startsWith(QLatin1Char('#')))
            continue;
        dopoUltimaRiga = i + 1;
        const qsizetype uguale = contenuto.indexOf(QLatin1Char('='));
        if (uguale <= 0 || SenzaBianchi(contenuto.left(uguale)).compare(chiave, Qt::CaseInsensitive) != 0)
            continue;
        qsizetype inizioValore = uguale + 1;
        while (inizioValore < contenuto.size() && Bianco(contenuto[inizioValore]))
            ++inizioValore;
        riga = contenuto.left(inizioValore).toString() + valore + (cr ? QStringLiteral("\r") : QString());
        trovata = true;
    }
    if (trovata)
        return righe.join(QLatin1Char('\n'));

    const QString nuova = chiave + QLatin1Char('=') + valore + (conCR ? QStringLiteral("\r") : QString());
    if (dopoUltimaRiga >= 0) {
        righe.insert(dopoUltimaRiga, nuova);
        return righe.join(QLatin1Char('\n'));
    }
    QString risultato = testo;
    if (!risultato.isEmpty() && !risultato.endsWith(QLatin1Char('\n')))
        risultato += aCapo;
    if (!risultato.trimmed().isEmpty())
        risultato += aCapo;
    return risultato + QLatin1Char('[') + sezione + QLatin1Char(']') + aCapo + chiave
        + QLatin1Char('=') + valore + aCapo;
}

// In the encoding the file came in, unless the new value cannot be written in
// it, or the rewritten bytes would read back as other text (a Windows file
// whose only byte that is not UTF-8 was on the line replaced).
QByteArray Codifica(const TestoIni& ini, const QString& testo)
{
    if (ini.windows1252) {
        QStringEncoder windows("windows-1252");
        const QByteArray dati = windows.encode(testo);
        bool bom = false;
        bool windows1252 = false;
        if (!windows.hasError() && Decodifica(dati, &bom, &windows1252) == testo)
            return dati;
    }
    return (ini.bom ? bomUtf8 : QByteArray()) + testo.toUtf8();
}

// Moves a file that is not a settings file out of the way under a name of
// its own; returns that name, or empty text when it could not be moved.
QString MettiDaParte(const QString& fileIni)
{
    const QString base = fileIni + QStringLiteral(".non-valido-")
        + Adesso().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString nome = base;
    for (int n = 2; QFileInfo::exists(nome) || QFileInfo(nome).isSymLink(); ++n)
        nome = base + QLatin1Char('-') + QString::number(n);
    return QFile::rename(fileIni, nome) ? nome : QString();
}

constexpr QFileDevice::Permissions soloProprietario = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace

QString LeggiValoreIni(const QString& fileIni, const QString& sezione, const QString& chiave)
{
    const TestoIni ini = Carica(fileIni);
    switch (ini.stato) {
    case TestoIni::Stato::Assente:
        return {};
    case TestoIni::Stato::Illeggibile:
        Segnala(fileIni, Accesso::Lettura, QStringLiteral("Impossibile leggere il file di impostazioni %1: %2.")
                             .arg(fileIni, ini.errore));
        return {};
    case TestoIni::Stato::NonImpostazioni:
        Segnala(fileIni, Accesso::Lettura, MessaggioNonImpostazioni(fileIni));
        return {};
    case TestoIni::Stato::Impostazioni:
        break;
    }
    Riuscito(fileIni, Accesso::Lettura);
    CSimpleIniA lettore;
    lettore.SetUnicode(true);
    const QByteArray utf8 = ini.testo.toUtf8();
    if (lettore.LoadData(utf8.constData(), size_t(utf8.size())) < 0)
        return {};
    const char* valore = lettore.GetValue(sezione.toUtf8().constData(), chiave.toUtf8().constData());
    if (!valore)
        return {};
    // Not fromUtf8, which drops a byte order mark at the start of a value.
    QStringDecoder decodifica(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decodifica.decode(QByteArrayView(valore));
}

bool ScriviValoreIni(const QString& fileIni, const QString& sezione, const QString& chiave,
                     const QString& valore)
{
    // A value is one line of the file: a line break would end it there and
    // make the rest a line of its own (a new key or section, or a line that
    // turns the whole file into something that is not a settings file), and
    // a NUL would make the file no text at all.
    if (valore.contains(QLatin1Char('\r')) || valore.contains(QLatin1Char('\n'))
        || valore.contains(QChar(0))) {
        MostraMessaggio(QStringLiteral("Il valore di %1 contiene un a capo o un carattere nullo e "
                                       "non può essere salvato nel file di impostazioni %2: il "
                                       "file non è stato modificato.")
                            .arg(chiave, fileIni),
                        Icona::Esclamazione);
        return false;
    }
    TestoIni ini = Carica(fileIni);
    if (ini.stato == TestoIni::Stato::Illeggibile) {
        Segnala(fileIni, Accesso::Scrittura, QStringLiteral("Impossibile leggere il file di impostazioni %1: %2. Il "
                                        "valore non è stato salvato.")
                             .arg(fileIni, ini.errore));
        return false;
    }
    QString avviso;
    if (ini.stato == TestoIni::Stato::NonImpostazioni) {
        const QString daParte = MettiDaParte(fileIni);
        if (daParte.isEmpty()) {
            Segnala(fileIni, Accesso::Scrittura, QStringLiteral("Il file %1 non è un file di impostazioni e non può "
                                            "essere messo da parte: il valore non è stato salvato.")
                                 .arg(fileIni));
            return false;
        }
        avviso = QStringLiteral("Il file %1 non era un file di impostazioni: è stato conservato "
                                "come %2 e ne è stato creato uno nuovo.")
                     .arg(fileIni, daParte);
        ini = TestoIni();
    }
    const QByteArray dati = Codifica(ini, ConValore(ini.testo, sezione, chiave, valore));

    // It holds the mail password: only its owner may read it, however it
    // was made. The rewritten file keeps these permissions.
    if (ini.stato == TestoIni::Stato::Assente) {
        QFile nuovo(fileIni);
        if (nuovo.open(QIODevice::WriteOnly))
            nuovo.setPermissions(soloProprietario);
    } else if (QFile::permissions(fileIni) != soloProprietario) {
        QFile::setPermissions(fileIni, soloProprietario);
    }
    // Unbuffered: a write refused by a full disk must fail here, not in a
    // flush whose failure the commit would not see (it would put an empty
    // file in place of the settings).
    QSaveFile file(fileIni);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(dati) != dati.size()
        || !file.commit()) {
        Segnala(fileIni, Accesso::Scrittura, QStringLiteral("Impossibile salvare il file di impostazioni %1: %2")
                             .arg(fileIni, TestoErroreFile(file)));
        return false;
    }
    Riuscito(fileIni, Accesso::Scrittura);
    if (!avviso.isEmpty())
        MostraMessaggio(avviso, Icona::Esclamazione);
    return true;
}
