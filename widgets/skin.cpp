#include "widgets/skin.h"

#include <QLinearGradient>
#include <QPainter>

namespace skin {

void PaintWindowFrame(QPainter& p, const QRect& r, bool withTitle) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(r, kSurface);
    if (withTitle) {
        QLinearGradient g(r.topLeft(), QPoint(r.left(), r.top() + kTitleHeight));
        g.setColorAt(0, kAccent.lighter(112));
        g.setColorAt(1, kAccent);
        p.fillRect(QRect(r.left(), r.top(), r.width(), kTitleHeight), g);
    }
    p.setPen(QPen(kBorder, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.restore();
}

const char* StyleSheet() {
    return R"(
QWidget { color: #222b33; font-size: 9pt; }
QLineEdit, QTextEdit, QPlainTextEdit, QComboBox, QSpinBox, QListWidget, QTreeWidget, QTableWidget {
  background: white; border: 1px solid #b8c6d3; border-radius: 3px; padding: 2px 4px;
  selection-background-color: #1f6fb2; }
QLineEdit:focus, QTextEdit:focus, QComboBox:focus { border-color: #1f6fb2; }
QHeaderView::section { background: #d9e8f5; border: none; border-right: 1px solid #b8c6d3; padding: 3px 6px; }
QCheckBox::indicator, QRadioButton::indicator { width: 14px; height: 14px; }
QToolTip { background: #fffbe6; color: #222b33; border: 1px solid #b8c6d3; }
)";
}

}  // namespace skin
