#include "components/ImmaginiBarra.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace {

const QColor inchiostro(0x33, 0x3d, 0x4a);
const QColor carta(0xfd, 0xfd, 0xfa);

// A sheet of paper with a folded corner and a few lines of text.
void Foglio(QPainter& p, const QRectF& r, const QColor& righe)
{
    QPainterPath foglio;
    const qreal piega = r.width() * 0.3;
    foglio.moveTo(r.topLeft());
    foglio.lineTo(r.right() - piega, r.top());
    foglio.lineTo(r.right(), r.top() + piega);
    foglio.lineTo(r.bottomRight());
    foglio.lineTo(r.bottomLeft());
    foglio.closeSubpath();
    p.setPen(QPen(inchiostro, 1.2));
    p.setBrush(carta);
    p.drawPath(foglio);
    p.drawLine(QPointF(r.right() - piega, r.top()), QPointF(r.right() - piega, r.top() + piega));
    p.drawLine(QPointF(r.right() - piega, r.top() + piega), QPointF(r.right(), r.top() + piega));
    p.setPen(QPen(righe, 1.6));
    for (qreal y = r.top() + piega + 3; y < r.bottom() - 2; y += 3.5)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void Busta(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(inchiostro, 1.4));
    p.setBrush(QColor(0xf3, 0xe3, 0xb0));
    p.drawRoundedRect(r, 1.5, 1.5);
    p.drawPolyline(QPolygonF({r.topLeft(), QPointF(r.center().x(), r.center().y() + 2),
                              r.topRight()}));
}

void Freccia(QPainter& p, const QPointF& da, const QPointF& a, const QColor& colore)
{
    p.setPen(QPen(colore, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(da, a);
    const QLineF asta(a, da);
    const qreal angolo = qDegreesToRadians(asta.angle());
    const auto punta = [&](qreal scarto) {
        return a + QPointF(qCos(angolo + scarto) * 6.5, -qSin(angolo + scarto) * 6.5);
    };
    p.drawPolyline(QPolygonF({punta(0.7), a, punta(-0.7)}));
}

void Ingranaggio(QPainter& p)
{
    const QPointF centro(16, 16);
    p.setPen(QPen(inchiostro, 1.2));
    p.setBrush(QColor(0x8a, 0x96, 0xa6));
    QPainterPath ruota;
    for (int dente = 0; dente < 8; ++dente) {
        QTransform giro;
        giro.translate(centro.x(), centro.y()).rotate(dente * 45.0);
        ruota.addPolygon(giro.map(QPolygonF(QRectF(-3, -14, 6, 8))));
    }
    ruota.addEllipse(centro, 10, 10);
    p.drawPath(ruota.simplified());
    p.setBrush(carta);
    p.drawEllipse(centro, 4, 4);
}

void Stampante(QPainter& p)
{
    Foglio(p, QRectF(9, 3, 14, 12), QColor(0x6c, 0x8e, 0xbf));
    p.setPen(QPen(inchiostro, 1.2));
    p.setBrush(QColor(0x9a, 0xa5, 0xb3));
    p.drawRoundedRect(QRectF(3, 13, 26, 11), 2, 2);
    p.setBrush(carta);
    p.drawRect(QRectF(8, 21, 16, 8));
    p.setBrush(QColor(0x3c, 0xb0, 0x4a));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(25, 17), 1.5, 1.5);
}

void Copia(QPainter& p)
{
    Foglio(p, QRectF(4, 3, 16, 20), QColor(0xa0, 0xa8, 0xb4));
    Foglio(p, QRectF(12, 9, 16, 20), QColor(0x6c, 0x8e, 0xbf));
}

void Email(QPainter& p)
{
    Busta(p, QRectF(3, 8, 26, 17));
    Freccia(p, QPointF(17, 28), QPointF(29, 28), QColor(0x2e, 0x8b, 0x3a));
}

void ElencoMail(QPainter& p)
{
    Foglio(p, QRectF(5, 2, 18, 25), QColor(0x6c, 0x8e, 0xbf));
    Busta(p, QRectF(14, 18, 15, 11));
}

void Importa(QPainter& p)
{
    p.setPen(QPen(inchiostro, 1.2));
    p.setBrush(QColor(0xe8, 0xb9, 0x4a));
    p.drawRoundedRect(QRectF(3, 16, 26, 13), 2, 2);
    p.setBrush(QColor(0xf5, 0xd3, 0x7a));
    p.drawRect(QRectF(3, 16, 11, 3));
    Freccia(p, QPointF(16, 2), QPointF(16, 23), QColor(0x1f, 0x5f, 0xb5));
}

void Uscita(QPainter& p)
{
    p.setPen(QPen(inchiostro, 1.2));
    p.setBrush(QColor(0xa8, 0x6b, 0x3c));
    p.drawRect(QRectF(4, 3, 14, 26));
    p.setBrush(QColor(0xe0, 0xc0, 0x60));
    p.drawEllipse(QPointF(15, 17), 1.4, 1.4);
    Freccia(p, QPointF(14, 16), QPointF(29, 16), QColor(0xc6, 0x28, 0x28));
}

// A page of text under a magnifying glass.
void RicercaTesto(QPainter& p)
{
    p.setPen(QPen(inchiostro, 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4, 2, 18, 24));
    for (int riga = 0; riga < 4; ++riga)
        p.drawLine(QPointF(7, 7 + riga * 4), QPointF(19, 7 + riga * 4));
    p.setPen(QPen(QColor(0x1f, 0x5f, 0xb5), 2.4));
    p.setBrush(QColor(0xd6, 0xe6, 0xf8, 0xc0));
    p.drawEllipse(QPointF(19, 18), 6, 6);
    p.drawLine(QPointF(23.5, 22.5), QPointF(29, 28));
}

} // namespace

QIcon IconaBarra(const QString& chiave)
{
    static const std::pair<const char*, void (*)(QPainter&)> disegni[] = {
        {"Impostazioni", Ingranaggio}, {"Ristampa", Stampante}, {"RicercaTesto", RicercaTesto}, {"SelStampe", Copia},
        {"Email", Email},              {"ElencoMail", ElencoMail}, {"Importa", Importa},
        {"Uscita", Uscita},
    };
    for (const auto& [nome, disegna] : disegni) {
        if (chiave != QLatin1String(nome))
            continue;
        QPixmap immagine(32, 32);
        immagine.fill(Qt::transparent);
        QPainter pittore(&immagine);
        pittore.setRenderHint(QPainter::Antialiasing);
        disegna(pittore);
        pittore.end();
        return QIcon(immagine);
    }
    return {};
}
