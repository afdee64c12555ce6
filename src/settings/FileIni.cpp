#include "settings/FileIni.h"

#include "common/Dialoghi.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

#include <SimpleIni.h>

namespace {

enum class Contenuto { Assente, Testo, NonTesto, Illeggibile };

// Loads the file into `ini`; tells what kind of content it found.
Contenuto carica(const QString& fileIni, CSimpleIniA& ini)
{
    ini.SetUnicode(true);
    ini.SetSpaces(false);
    QFile file(fileIni);
    if (!file.exists())
        return Contenuto::Assente;
    if (!file.open(QIODevice::ReadOnly))
        return Contenuto::Illeggibile;
    QByteArray dati = file.readAll();
    if (dati.contains('\0'))
        return Contenuto::NonTesto;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString testo = utf8.decode(dati);
    if (utf8.hasError())
        testo = QStringDecoder("windows-1252").decode(dati);
    const QByteArray convertito = testo.toUtf8();
    if (ini.LoadData(convertito.constData(), size_t(convertito.size())) < 0)
        return Contenuto::NonTesto;
    return Contenuto::Testo;
}

// Each unusable file is reported once per run of the program, not at every read.
void segnalaUnaVolta(const QString& fileIni, const QString& testo)
{
    static QSet<QString> segnalati;
    if (segnalati.contains(fileIni))
        return;
    segnalati.insert(fileIni);
    MostraMessaggio(testo, Icona::Esclamazione);
}

QString messaggioNonTesto(const QString& fileIni)
{
    return QStringLiteral("Il file di impostazioni %1 non è un file di testo: i valori non "
                          "possono essere letti né salvati. Il file non è stato modificato.")
        .arg(fileIni);
}

} // namespace

QString LeggiValoreIni(const QString& fileIni, const QString& sezione, const QString& chiave)
{
    CSimpleIniA ini;
    const Contenuto contenuto = carica(fileIni, ini);
    if (contenuto == Contenuto::NonTesto)
        segnalaUnaVolta(fileIni, messaggioNonTesto(fileIni));
    if (contenuto != Contenuto::Testo)
        return {};
    const char* valore = ini.GetValue(sezione.toUtf8().constData(), chiave.toUtf8().constData());
    if (!valore)
        return {};
    // Not fromUtf8, which drops a byte order mark at the start of a value.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(QByteArrayView(valore));
}

bool ScriviValoreIni(const QString& fileIni, const QString& sezione, const QString& chiave,
                     const QString& valore)
{
    // A value is one line of the file: a line break would end it there and
    // start a line of its own (even a new key or section) with the rest, and
    // a NUL would cut it short.
    if (valore.contains(QLatin1Char('\r')) || valore.contains(QLatin1Char('\n'))
        || valore.contains(QChar(0))) {
        MostraMessaggio(QStringLiteral("Il valore di %1 contiene un a capo o un carattere nullo e "
                                       "non può essere salvato nel file di impostazioni %2: il "
                                       "file non è stato modificato.")
                            .arg(chiave, fileIni),
                        Icona::Esclamazione);
        return false;
    }
    CSimpleIniA ini;
    const Contenuto contenuto = carica(fileIni, ini);
    if (contenuto == Contenuto::NonTesto || contenuto == Contenuto::Illeggibile) {
        segnalaUnaVolta(fileIni, contenuto == Contenuto::NonTesto
                                     ? messaggioNonTesto(fileIni)
                                     : QStringLiteral("Impossibile leggere il file di impostazioni %1.")
                                           .arg(fileIni));
        return false;
    }
    ini.SetValue(sezione.toUtf8().constData(), chiave.toUtf8().constData(),
                 valore.toUtf8().constData());
    std::string testo;
    ini.Save(testo, false);

    if (contenuto == Contenuto::Assente) {
        // Create it empty and private first: the renamed file keeps these permissions.
        QFile nuovo(fileIni);
        if (nuovo.open(QIODevice::WriteOnly))
            nuovo.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    QSaveFile file(fileIni);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(testo.data(), qint64(testo.size())) != qint64(testo.size())
        || !file.commit()) {
        segnalaUnaVolta(fileIni, QStringLiteral("Impossibile salvare il file di impostazioni %1: %2")
                                     .arg(fileIni, file.errorString()));
        return false;
    }
    return true;
}
