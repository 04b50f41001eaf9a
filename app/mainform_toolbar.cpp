#include "app/mainform_toolbar.h"

#include <QPainter>
#include <QPainterPath>

#include "widgets/skin.h"

TToolbarButton::TToolbarButton(QWidget* parent, const char* name, toolbar::Icon icon)
    : TImageButton(parent, name), icon_(icon) {
    setFocusPolicy(Qt::NoFocus);
}

void TToolbarButton::enterEvent(QEnterEvent* e) {
    hover_ = true;
    TImageButton::enterEvent(e);
}

void TToolbarButton::leaveEvent(QEvent* e) {
    hover_ = false;
    TImageButton::leaveEvent(e);
}

void TToolbarButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool on = isEnabled();
    if (on && (hover_ || isDown())) {
        p.setPen(QPen(skin::kBorder, 1));
        p.setBrush(isDown() ? skin::kAccentLight.darker(106) : QColor(255, 255, 255, 190));
        p.drawRoundedRect(r, 6, 6);
    }
    const QColor ink = on ? skin::kAccentDark : QColor(0xa9, 0xb4, 0xbf);
    const QRectF iconBox(r.center().x() - 12, r.top() + 4, 24, 24);
    paintIcon(p, iconBox, ink);
    QFont f = font();
    f.setPointSizeF(8.0);
    p.setFont(f);
    p.setPen(on ? skin::kText : QColor(0xa9, 0xb4, 0xbf));
    const QRect textBox = rect().adjusted(2, 32, -2, 0);
    p.drawText(textBox, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text());
}

void TToolbarButton::paintIcon(QPainter& p, const QRectF& b, const QColor& ink) const {
    using toolbar::Icon;
    p.save();
    QPen pen(ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPointF c = b.center();
    switch (icon_) {
    case Icon::Home: {
        QPainterPath roof;
        roof.moveTo(b.left() + 2, c.y());
        roof.lineTo(c.x(), b.top() + 3);
        roof.lineTo(b.right() - 2, c.y());
        p.drawPath(roof);
        p.drawRect(QRectF(b.left() + 6, c.y(), b.width() - 12, b.bottom() - c.y() - 2));
        break;
    }
    case Icon::Internet: {
        const QRectF g = b.adjusted(2, 2, -2, -2);
        p.drawEllipse(g);
        p.drawEllipse(QRectF(c.x() - g.width() / 4, g.top(), g.width() / 2, g.height()));
        p.drawLine(QPointF(g.left(), c.y()), QPointF(g.right(), c.y()));
        break;
    }
    case Icon::Messages: {
        const QRectF e = b.adjusted(1, 5, -1, -4);
        p.drawRoundedRect(e, 2, 2);
        QPainterPath flap;
        flap.moveTo(e.topLeft());
        flap.lineTo(e.center().x(), e.center().y() + 1);
        flap.lineTo(e.topRight());
        p.drawPath(flap);
        break;
    }
    case Icon::Phonebook: {
        const QRectF book = b.adjusted(4, 1, -4, -1);
        p.drawRoundedRect(book, 2, 2);
        p.drawEllipse(QRectF(c.x() - 4, book.top() + 5, 8, 8));
        p.drawArc(QRectF(c.x() - 7, book.top() + 14, 14, 12), 0, 180 * 16);
        break;
    }
    case Icon::Call: {
        QPainterPath h;
        h.moveTo(b.left() + 5, b.top() + 3);
        h.cubicTo(b.left() + 1, b.top() + 8, b.left() + 8, b.bottom() - 4, b.right() - 4, b.bottom() - 2);
        p.setPen(QPen(ink, 5.0, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(h);
        break;
    }
    case Icon::CallHistory: {
        const QRectF g = b.adjusted(2, 2, -2, -2);
        p.drawEllipse(g);
        p.drawLine(c, QPointF(c.x(), g.top() + 5));
        p.drawLine(c, QPointF(c.x() + 6, c.y() + 3));
        break;
    }
    case Icon::Settings: {
        const QRectF g = b.adjusted(5, 5, -5, -5);
        p.drawEllipse(g);
        p.drawEllipse(QRectF(c.x() - 3, c.y() - 3, 6, 6));
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(c);
            p.rotate(45.0 * i);
            p.drawLine(QPointF(0, -g.height() / 2), QPointF(0, -g.height() / 2 - 4));
            p.restore();
        }
        break;
    }
    case Icon::Services: {
        p.drawRoundedRect(b.adjusted(5, 1, -5, -1), 3, 3);
        for (int i = 0; i < 3; ++i) p.drawLine(QPointF(b.left() + 9, b.top() + 8 + 5 * i), QPointF(b.right() - 9, b.top() + 8 + 5 * i));
        break;
    }
    case Icon::Help: {
        const QRectF g = b.adjusted(2, 2, -2, -2);
        p.drawEllipse(g);
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(14);
        p.setFont(f);
        p.drawText(g, Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
    p.restore();
}
