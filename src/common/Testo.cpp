#include "common/Testo.h"

#include <QRegularExpression>
#include <cfenv>
#include <cmath>
#include <limits>

namespace {
int annoDaDueCifre(int anno)
{
    return anno < 30 ? 2000 + anno : 1900 + anno;
}
}

std::optional<QDate> InterpretaData(const QString& testo)
{
    static const QRegularExpression giornoPrima(
        QStringLiteral(R"(^\s*(\d{1,2})[/.\-](\d{1,2})[/.\-](\d{4}|\d{2})\s*$)"));
    static const QRegularExpression annoPrima(
        QStringLiteral(R"(^\s*(\d{4})[/.\-](\d{1,2})[/.\-](\d{1,2})\s*$)"));

    QDate data;
    if (const auto m = giornoPrima.match(testo); m.hasMatch()) {
        int anno = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            anno = annoDaDueCifre(anno);
        data = QDate(anno, m.captured(2).toInt(), m.captured(1).toInt());
    } else if (const auto m = annoPrima.match(testo); m.hasMatch()) {
        data = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    }
    if (!data.isValid())
        return std::nullopt;
    return data;
}

bool TestoNumerico(const QString& testo)
{
    static const QRegularExpression numero(
        QStringLiteral(R"(^\s*[+-]?(\d+([.,]\d*)?|[.,]\d+)([eE][+-]?\d+)?\s*$)"));
    return numero.match(testo).hasMatch();
}

std::optional<qint32> InteroDaTesto(const QString& testo)
{
    if (!TestoNumerico(testo))
        return std::nullopt;
    QString normale = testo.trimmed();
    normale.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double valore = normale.toDouble(&ok);
    if (!ok || !std::isfinite(valore))
        return std::nullopt;
    const int modo = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double arrotondato = std::nearbyint(valore);
    std::fesetround(modo);
    if (arrotondato < std::numeric_limits<qint32>::min()
        || arrotondato > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(arrotondato);
}

std::optional<qint16> Intero16DaTesto(const QString& testo)
{
    static const QRegularExpression intero(QStringLiteral(R"(^\s*[+-]?\d+\s*$)"));
    if (!intero.match(testo).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qlonglong valore = testo.trimmed().toLongLong(&ok);
    if (!ok || valore < std::numeric_limits<qint16>::min()
        || valore > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(valore);
}

QString TestoDelCampo(const QVariant& valore, const QString& formatoDataOra)
{
    if (valore.isNull())
        return {};
    switch (valore.typeId()) {
    case QMetaType::QDate:
        return valore.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime:
        return valore.toDateTime().toString(formatoDataOra);
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(valore.toDouble(), 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
    default:
        return valore.toString();
    }
}
