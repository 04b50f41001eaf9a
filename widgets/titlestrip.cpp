#include "widgets/titlestrip.h"

#include <QMouseEvent>
#include <QPainter>

#include "widgets/skin.h"

TTitleStrip::TTitleStrip(QWidget* window, const char* name) : QWidget(window) {
    setObjectName(QString::fromLatin1(name));
    setAttribute(Qt::WA_TranslucentBackground);
    setGeometry(0, 0, window->width(), skin::kTitleHeight);
}

void TTitleStrip::SetCaption(const QString& text) {
    caption_ = text;
    update();
}

void TTitleStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(Qt::white);
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.drawText(rect().adjusted(8, 0, -40, 0), Qt::AlignVCenter | Qt::AlignLeft, caption_);
}

void TTitleStrip::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    dragging_ = true;
    grab_ = e->globalPosition().toPoint() - window()->frameGeometry().topLeft();
}

void TTitleStrip::mouseMoveEvent(QMouseEvent* e) {
    if (dragging_) window()->move(e->globalPosition().toPoint() - grab_);
}

void TTitleStrip::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }
