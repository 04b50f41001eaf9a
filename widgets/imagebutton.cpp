#include "widgets/imagebutton.h"

#include <QPainter>
#include <QPainterPath>

#include "widgets/skin.h"

TImageButton::TImageButton(QWidget* parent, const char* name, Glyph glyph) : QAbstractButton(parent), glyph_(glyph) {
    setObjectName(QString::fromLatin1(name));
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(glyph == Glyph::None ? Qt::StrongFocus : Qt::NoFocus);
    resize(sizeHint());
}

QSize TImageButton::sizeHint() const {
    if (glyph_ != Glyph::None) return {18, 18};
    const int w = fontMetrics().horizontalAdvance(text()) + 24;
    return {qMax(72, w), 24};
}

void TImageButton::enterEvent(QEnterEvent*) {
    hover_ = true;
    update();
}

void TImageButton::leaveEvent(QEvent*) {
    hover_ = false;
    update();
}

void TImageButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (glyph_ != Glyph::None) {
        if (hover_) {
            p.setPen(Qt::NoPen);
            p.setBrush(glyph_ == Glyph::Close ? skin::kError : QColor(255, 255, 255, 60));
            p.drawRoundedRect(r, 3, 3);
        }
        p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
        const QRectF g = r.adjusted(5, 5, -5, -5);
        if (glyph_ == Glyph::Close) {
            p.drawLine(g.topLeft(), g.bottomRight());
            p.drawLine(g.topRight(), g.bottomLeft());
        } else {
            p.drawLine(QPointF(g.left(), g.bottom()), QPointF(g.right(), g.bottom()));
        }
        return;
    }
    QColor face = isEnabled() ? (isDown() ? skin::kAccentDark : (hover_ ? skin::kAccent.lighter(110) : skin::kAccent))
                              : QColor(0xc9, 0xd1, 0xd9);
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(r, 4, 4);
    if (hasFocus()) {
        p.setPen(QPen(QColor(255, 255, 255, 150), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(2, 2, -2, -2), 3, 3);
    }
    p.setPen(isEnabled() ? Qt::white : QColor(0xf2, 0xf4, 0xf6));
    p.drawText(rect(), Qt::AlignCenter, text());
}
