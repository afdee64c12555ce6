#include "app/CursoreCollegamento.h"

#include "common/CartellaProgramma.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <QtEndian>

namespace {

// A .cur file is an icon file of type 2 whose first entry carries the hot
// spot where an icon keeps its colour planes and depth.
QPoint PuntoAttivo(const QByteArray& dati)
{
    const auto* byte = reinterpret_cast<const uchar*>(dati.constData());
    if (dati.size() < 14 || qFromLittleEndian<quint16>(byte + 2) != 2)
        return {-1, -1};
    return {qFromLittleEndian<quint16>(byte + 10), qFromLittleEndian<quint16>(byte + 12)};
}

} // namespace

QCursor CursoreCollegamento()
{
    QFile file(UnisciPercorso(CartellaProgramma(UsoCartella::Programma), QStringLiteral("link.cur")));
    if (!file.open(QIODevice::ReadOnly))
        return QCursor(Qt::PointingHandCursor);
    QByteArray dati = file.readAll();
    QBuffer buffer(&dati);
    QImageReader lettore(&buffer, "ico");
    const QImage immagine = lettore.read();
    if (immagine.isNull())
        return QCursor(Qt::PointingHandCursor);
    const QPoint punto = PuntoAttivo(dati);
    return QCursor(QPixmap::fromImage(immagine), punto.x(), punto.y());
}
