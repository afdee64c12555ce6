#include "import/NomeDocumento.h"

#include "common/Testo.h"
#include "settings/FileIni.h"

#include <limits>

namespace {

bool soloCifre(QStringView testo)
{
    for (const QChar c : testo) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return !testo.isEmpty();
}

// The date of a key as the archive reads it: day/month/year. The shape every
// converted yyyymmdd takes is read directly; anything else goes through the
// general reading of dates, which gives the same answer more slowly.
std::optional<QDate> dataDellaChiave(const QString& testo)
{
    if (testo.size() == 10 && testo[2] == QLatin1Char('/') && testo[5] == QLatin1Char('/')
        && soloCifre(QStringView(testo).first(2)) && soloCifre(QStringView(testo).sliced(3, 2))
        && soloCifre(QStringView(testo).sliced(6))) {
        const QDate data(QStringView(testo).sliced(6).toInt(), QStringView(testo).sliced(3, 2).toInt(),
                         QStringView(testo).first(2).toInt());
        return data.isValid() ? std::optional<QDate>(data) : std::nullopt;
    }
    return InterpretaData(testo);
}

const QString sezioneAS400 = QStringLiteral("AS/400");

} // namespace

std::optional<qint16> LunghezzeCampi::LunghezzaNome() const
{
    const int somma = int(LunCodCli) + int(LunTipDoc) + int(LunNumDoc) + 12;
    if (somma > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(somma);
}

Risultato<LunghezzeCampi> LeggiLunghezzeCampi(const QString& fileIni)
{
    const auto inutilizzabili = [](const QString& motivo) { return Errore{CodiceErrore::Lunghezze, motivo}; };
    LunghezzeCampi lunghezze;
    const std::pair<const char*, qint16*> chiavi[] = {{"LunCodCli", &lunghezze.LunCodCli},
                                                      {"LunTipDoc", &lunghezze.LunTipDoc},
                                                      {"LunNumDoc", &lunghezze.LunNumDoc}};
    for (const auto& [chiave, destinazione] : chiavi) {
        const QString nome = QString::fromLatin1(chiave);
        const QString valore = LeggiValoreIni(fileIni, sezioneAS400, nome);
        const QString dove = QStringLiteral("Nel file %1, sezione \"AS/400\", ").arg(fileIni);
        if (valore.trimmed().isEmpty())
            return inutilizzabili(dove + QStringLiteral("manca la lunghezza %1: impossibile "
                                                        "riconoscere i nomi dei documenti.")
                                             .arg(nome));
        const auto numero = Intero16DaTesto(valore);
        if (!numero)
            return inutilizzabili(dove + QStringLiteral("la lunghezza %1 vale \"%2\", che non è "
                                                        "un numero intero valido: impossibile "
                                                        "riconoscere i nomi dei documenti.")
                                             .arg(nome, valore));
        if (*numero <= 0)
            return inutilizzabili(dove + QStringLiteral("la lunghezza %1 vale %2: una lunghezza "
                                                        "deve essere maggiore di zero. Impossibile "
                                                        "riconoscere i nomi dei documenti.")
                                             .arg(nome)
                                             .arg(*numero));
        *destinazione = *numero;
    }
    if (!lunghezze.LunghezzaNome())
        return inutilizzabili(QStringLiteral("Nel file %1, sezione \"AS/400\", le lunghezze dei campi sono "
                                             "troppo grandi: impossibile riconoscere i nomi dei documenti.")
                                  .arg(fileIni));
    return lunghezze;
}

bool LunghezzaNonValida(const QString& nome, const LunghezzeCampi& lunghezze)
{
    const auto attesa = lunghezze.LunghezzaNome();
    return !attesa || nome.size() != *attesa;
}

QString ConvertiData(const QString& testo)
{
    return testo.right(2) + QLatin1Char('/') + testo.mid(4, 2) + QLatin1Char('/') + testo.left(4);
}

ChiaveDocumento ScomponiNomeFile(const QString& nome, const LunghezzeCampi& lunghezze)
{
    ChiaveDocumento vuota;
    if (nome.isEmpty()) {
        vuota.scarto = ScartoChiave::NomeVuoto;
        return vuota;
    }
    const int lc = lunghezze.LunCodCli;
    const int lt = lunghezze.LunTipDoc;
    const int ln = lunghezze.LunNumDoc;
    ChiaveDocumento chiave;
    chiave.Codice = nome.left(lc);
    chiave.Tipo = nome.mid(lc, lt);
    chiave.Numero = nome.mid(lc + lt, ln);
    chiave.Data = nome.mid(lc + lt + ln, 8);

    // A field boundary inside a character (a symbol written as two UTF-16
    // units) would store half a character: no reader could make sense of it.
    for (const QString* campo : {&chiave.Codice, &chiave.Tipo, &chiave.Numero, &chiave.Data}) {
        if (!QStringView(*campo).isValidUtf16()) {
            vuota.scarto = ScartoChiave::CarattereDiviso;
            return vuota;
        }
    }

    // Eight digits in a row are never a date as they stand: no need to ask.
    if (soloCifre(chiave.Data) || !InterpretaData(chiave.Data))
        chiave.Data = ConvertiData(chiave.Data);

    if (chiave.Numero.isEmpty() || chiave.Numero == QString(ln, QLatin1Char('0'))) {
        vuota.scarto = ScartoChiave::NumeroVuoto;
        return vuota;
    }
    if (!dataDellaChiave(chiave.Data)) {
        vuota.scarto = ScartoChiave::DataNonValida;
        return vuota;
    }
    return chiave;
}

QString NormalizzaCampo(const QString& testo)
{
    // Plain digits are by far the usual case and need no general reading.
    if (soloCifre(testo) && testo.size() <= 9)
        return QString::number(QStringView(testo).toInt());
    if (const auto numero = InteroDaTesto(testo))
        return QString::number(*numero);
    return testo;
}

RigaPosta RigaDocumento(const QString& nome, const ChiaveDocumento& chiave)
{
    // Empty text, not a missing value: the searches select this column.
    return {nome,
            QStringLiteral(""),
            dataDellaChiave(chiave.Data).value_or(QDate()),
            chiave.Tipo,
            NormalizzaCampo(chiave.Numero),
            NormalizzaCampo(chiave.Codice)};
}

QString TestoScarto(ScartoChiave scarto)
{
    switch (scarto) {
    case ScartoChiave::Nessuno:
        break;
    case ScartoChiave::NomeVuoto:
        return QStringLiteral("Il nome del file è vuoto.");
    case ScartoChiave::NumeroVuoto:
        return QStringLiteral("Il numero del documento nel nome del file è vuoto o fatto di soli "
                              "zeri: il file non è stato archiviato.");
    case ScartoChiave::DataNonValida:
        return QStringLiteral("La data del documento nel nome del file non è una data valida: "
                              "il file non è stato archiviato.");
    case ScartoChiave::CarattereDiviso:
        return QStringLiteral("Un carattere del nome del file cade a cavallo di due campi del "
                              "documento: il file non è stato archiviato. Rinominare il file.");
    }
    return {};
}
