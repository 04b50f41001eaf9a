#include "widgets/ipedit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include "widgets/skin.h"

TIPAddressEdit::TIPAddressEdit(QWidget* parent, const char* name) : QWidget(parent) {
    setObjectName(QString::fromLatin1(name));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(3, 1, 3, 1);
    row->setSpacing(0);
    for (int i = 0; i < 4; ++i) {
        auto* f = new QLineEdit(this);
        f->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(i));
        f->setValidator(new QIntValidator(0, 255, f));
        f->setMaxLength(3);
        f->setAlignment(Qt::AlignCenter);
        f->setFrame(false);
        f->setStyleSheet(QStringLiteral("QLineEdit { border: none; background: transparent; padding: 0; }"));
        f->installEventFilter(this);
        fields_[i] = f;
        row->addWidget(f, 1);
        if (i < 3) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setAlignment(Qt::AlignCenter);
            row->addWidget(dot);
        }
        // Three digits move on to the next field, as the system control does.
        connect(f, &QLineEdit::textEdited, this, [this, i](const QString& t) {
            if (t.size() == 3 && i < 3) fields_[i + 1]->setFocus();
        });
    }
}

QString TIPAddressEdit::Text() const {
    QStringList parts;
    for (auto* f : fields_) {
        bool ok = false;
        const int v = f->text().toInt(&ok);
        parts << QString::number(ok ? std::min(v, 255) : 0);
    }
    return parts.join(QLatin1Char('.'));
}

void TIPAddressEdit::SetText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const int v = i < parts.size() ? parts[i].trimmed().toInt(&ok) : 0;
        fields_[i]->setText(ok && v >= 0 && v <= 255 ? QString::number(v) : QString());
    }
}

void TIPAddressEdit::Clear() {
    for (auto* f : fields_) f->clear();
}

bool TIPAddressEdit::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        for (int i = 0; i < 3; ++i) {
            if (o == fields_[i] && (k->text() == QLatin1String(".") || k->key() == Qt::Key_Period)) {
                fields_[i + 1]->setFocus();
                fields_[i + 1]->selectAll();
                return true;
            }
        }
    }
    return QWidget::eventFilter(o, e);
}

void TIPAddressEdit::changeEvent(QEvent* e) {
    if (e->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(e);
}

void TIPAddressEdit::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(skin::kBorder, 1));
    p.setBrush(isEnabled() ? QColor(Qt::white) : skin::kSurface.darker(103));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
}
