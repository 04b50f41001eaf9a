#include "widgets/artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include "widgets/skin.h"

namespace artwork {
namespace {
// A transparent pixmap at the screen's pixel ratio, painted by f in logical units.
template <class F>
QPixmap draw(int size, F f) {
    const qreal dpr = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(QSize(size, size) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    f(p, QRectF(0, 0, size, size));
    return pm;
}

QPixmap roundIcon(int size, const QColor& c, const QString& glyph) {
    return draw(size, [&](QPainter& p, QRectF r) {
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(r.adjusted(1, 1, -1, -1));
        QFont f;
        f.setBold(true);
        f.setPixelSize(static_cast<int>(size * 0.62));
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(r, Qt::AlignCenter, glyph);
    });
}
}  // namespace

QPixmap SmallLogo(int size) {
    return draw(size, [](QPainter& p, QRectF r) {
        // Three rising arcs over a dot: a card sending into the air.
        const QPointF c(r.center().x(), r.bottom() - r.height() * 0.18);
        p.setBrush(Qt::white);
        p.setPen(Qt::NoPen);
        p.drawEllipse(c, r.width() * 0.09, r.width() * 0.09);
        p.setBrush(Qt::NoBrush);
        for (int i = 1; i <= 3; ++i) {
            const qreal rad = r.width() * 0.22 * i;
            p.setPen(QPen(i == 3 ? skin::kAccentLight : Qt::white, r.width() * 0.09, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(c.x() - rad, c.y() - rad, 2 * rad, 2 * rad), 45 * 16, 90 * 16);
        }
    });
}

QPixmap InfoIcon(int size) { return roundIcon(size, skin::kAccent, QStringLiteral("i")); }
QPixmap WarningIcon(int size) {
    return draw(size, [size](QPainter& p, QRectF r) {
        QPainterPath tri;
        tri.moveTo(r.center().x(), r.top() + 2);
        tri.lineTo(r.right() - 1, r.bottom() - 3);
        tri.lineTo(r.left() + 1, r.bottom() - 3);
        tri.closeSubpath();
        p.setPen(QPen(skin::kWarning.darker(110), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(skin::kWarning);
        p.drawPath(tri);
        QFont f;
        f.setBold(true);
        f.setPixelSize(static_cast<int>(size * 0.55));
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(r.adjusted(0, size * 0.18, 0, 0), Qt::AlignCenter, QStringLiteral("!"));
    });
}
QPixmap QuestionIcon(int size) { return roundIcon(size, skin::kOk, QStringLiteral("?")); }
}  // namespace artwork
