#include "widgets/artwork_backgrounds.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "widgets/skin.h"

namespace artwork {
namespace {

const QColor kTeal{0x16, 0x9c, 0x9a};

QColor alpha(QColor c, int a) {
    c.setAlpha(a);
    return c;
}

// Radio waves: arcs of rising radius around `centre`, fading outward.
void waves(QPainter& p, QPointF centre, qreal first, qreal step, int count, const QColor& c, qreal width) {
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < count; ++i) {
        const qreal r = first + i * step;
        p.setPen(QPen(alpha(c, 150 - i * (120 / count)), width, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 20 * 16, 70 * 16);
    }
}

// The data card in outline, as on the tray pictures but large.
void card(QPainter& p, QRectF body, const QColor& fill, const QColor& rim) {
    p.setPen(QPen(rim, 1.5));
    p.setBrush(fill);
    p.drawRoundedRect(body, body.height() * 0.22, body.height() * 0.22);
    const QRectF plug(body.left() - body.height() * 0.55, body.top() + body.height() * 0.22, body.height() * 0.55,
                      body.height() * 0.56);
    p.drawRect(plug);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5c, 0xe0, 0x8e));
    p.drawEllipse(QPointF(body.right() - body.height() * 0.35, body.center().y()), body.height() * 0.1,
                  body.height() * 0.1);
}

void logo(QPainter& p, QRectF r) {
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, kTeal.lighter(110));
    g.setColorAt(1, skin::kAccent);
    p.setPen(QPen(alpha(Qt::white, 170), qMax<qreal>(1.0, r.width() / 24)));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), r.width() * 0.22, r.width() * 0.22);
    const QPointF c(r.center().x(), r.bottom() - r.height() * 0.24);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(c, r.width() * 0.08, r.width() * 0.08);
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= 3; ++i) {
        const qreal rad = r.width() * 0.18 * i;
        p.setPen(QPen(i == 3 ? skin::kAccentLight : Qt::white, r.width() * 0.085, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(c.x() - rad, c.y() - rad, 2 * rad, 2 * rad), 45 * 16, 90 * 16);
    }
}

}  // namespace

QImage SplashBackground(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r(QPointF(0, 0), size);
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, skin::kAccentDark.darker(115));
    g.setColorAt(0.6, skin::kAccent);
    g.setColorAt(1, kTeal.darker(105));
    p.fillRect(r, g);

    // A soft light behind the card.
    const QPointF glow(r.width() * 0.74, r.height() * 0.52);
    QRadialGradient halo(glow, r.width() * 0.42);
    halo.setColorAt(0, alpha(Qt::white, 60));
    halo.setColorAt(1, alpha(Qt::white, 0));
    p.fillRect(r, halo);

    // A fine dot grid gives the field some texture.
    p.setPen(Qt::NoPen);
    p.setBrush(alpha(Qt::white, 16));
    for (qreal y = 8; y < r.height(); y += 12)
        for (qreal x = 8; x < r.width(); x += 12) p.drawEllipse(QPointF(x, y), 0.9, 0.9);

    const QRectF body(glow.x() - 34, glow.y() - 12, 68, 26);
    card(p, body, alpha(Qt::white, 46), alpha(Qt::white, 190));
    waves(p, QPointF(body.right() - 6, body.top() + 4), 18, 14, 4, Qt::white, 3.0);

    // The strip at the bottom carries the start-up message.
    p.fillRect(QRectF(0, r.height() - 30, r.width(), 30), alpha(Qt::black, 46));
    p.setPen(QPen(alpha(Qt::white, 50), 1));
    p.drawLine(QPointF(0, r.height() - 30.5), QPointF(r.width(), r.height() - 30.5));
    return img;
}

QImage UnlockBackground(QSize size) {
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRect r(QPoint(0, 0), size);
    skin::PaintWindowFrame(p, r, true);

    // A pale band under the title with a padlock watermark at the right.
    const QRectF band(1, skin::kTitleHeight, r.width() - 2, 70);
    QLinearGradient g(band.topLeft(), band.bottomLeft());
    g.setColorAt(0, skin::kAccentLight);
    g.setColorAt(1, skin::kSurface);
    p.fillRect(band, g);

    const QPointF lockAt(r.width() - 92, r.height() * 0.55);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(alpha(skin::kAccent, 34), 14, Qt::SolidLine, Qt::FlatCap));
    // The shackle as one stroke, so the translucent ink never overlaps itself.
    QPainterPath shackle;
    shackle.moveTo(lockAt.x() - 34, lockAt.y() - 29);
    shackle.lineTo(lockAt.x() - 34, lockAt.y() - 43);
    shackle.arcTo(QRectF(lockAt.x() - 34, lockAt.y() - 88, 68, 90), 180, -180);
    shackle.lineTo(lockAt.x() + 34, lockAt.y() - 29);
    p.drawPath(shackle);
    p.setPen(Qt::NoPen);
    p.setBrush(alpha(skin::kAccent, 30));
    p.drawRoundedRect(QRectF(lockAt.x() - 56, lockAt.y() - 22, 112, 94), 12, 12);
    p.setBrush(alpha(skin::kAccent, 44));
    QPainterPath keyhole;
    keyhole.addEllipse(QPointF(lockAt.x(), lockAt.y() + 16), 11, 11);
    QPainterPath slot;
    slot.addRect(QRectF(lockAt.x() - 4, lockAt.y() + 20, 8, 26));
    p.drawPath(keyhole.united(slot));

    // The card beside the lock: what is being unlocked.
    card(p, QRectF(lockAt.x() - 40, lockAt.y() + 92, 76, 28), alpha(skin::kAccent, 22), alpha(skin::kAccent, 60));

    // A thin accent rule at the left of the text column.
    p.fillRect(QRectF(18, skin::kTitleHeight + 18, 3, r.height() - skin::kTitleHeight - 60), alpha(skin::kAccent, 120));
    return img;
}

QImage LogoBitmap(int size, const QColor& ground) {
    QImage img(QSize(size, size), QImage::Format_RGB32);
    img.fill(ground);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    logo(p, QRectF(0, 0, size, size));
    return img;
}

}  // namespace artwork
