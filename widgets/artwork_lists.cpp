#include "widgets/artwork_lists.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>

#include "widgets/skin.h"

// Every picture is drawn in a 16-unit design grid (the signal bars in 32 x 17)
// and scaled to the requested size, so the tray, the status line and a
// screenshot at any pixel ratio get the same crisp shapes.
//
// The look: a rounded tile whose colour tells the state (blue working,
// green ready, amber waiting, grey absent, red locked) carrying one white
// glyph (data card, SIM, signal mast, globe, envelope, handset), with a
// small badge where a state needs one more word (a cross, a padlock).

namespace artwork {
namespace {

const QColor kGrey{0x8a, 0x96, 0xa3};
const QColor kTeal{0x16, 0x9c, 0x9a};
const QColor kSms{0xe8, 0x7a, 0x1c};

// A pixmap of `size` logical pixels, painted in a design grid of w x h units.
template <class F>
QPixmap paint(QSize size, qreal w, qreal h, F f) {
    const qreal dpr = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size.width() / w, size.height() / h);
    f(p);
    return pm;
}

// The state tile: a rounded square with a soft vertical gradient and a thin
// darker rim, filling the 16-unit grid. strength 0..1 fades it (animations).
void tile(QPainter& p, const QColor& c, qreal strength = 1.0) {
    const QRectF r(0.5, 0.5, 15, 15);
    QColor top = c.lighter(118), bottom = c.darker(108);
    top.setAlphaF(strength);
    bottom.setAlphaF(strength);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    QColor rim = c.darker(135);
    rim.setAlphaF(strength);
    p.setPen(QPen(rim, 0.8));
    p.setBrush(g);
    p.drawRoundedRect(r, 3.6, 3.6);
    // A faint highlight across the upper half gives the tile some depth.
    QColor shine(255, 255, 255, static_cast<int>(46 * strength));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawRoundedRect(QRectF(1.4, 1.3, 13.2, 6.2), 2.8, 2.8);
}

QPen glyphPen(qreal width = 1.3, const QColor& c = Qt::white) {
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// The data card: a stick with a connector at the left and a status light.
void cardGlyph(QPainter& p, const QColor& light) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(5.0, 5.2, 8.6, 5.6), 1.4, 1.4);
    p.drawRect(QRectF(2.4, 6.3, 2.8, 3.4));
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawRect(QRectF(2.9, 6.9, 1.0, 0.7));
    p.drawRect(QRectF(2.9, 8.4, 1.0, 0.7));
    p.setBrush(light);
    p.drawEllipse(QPointF(11.4, 8.0), 1.05, 1.05);
}

// The SIM: a card with a cut corner and a gold chip.
void simGlyph(QPainter& p) {
    QPainterPath sim;
    sim.moveTo(4.2, 2.8);
    sim.lineTo(9.6, 2.8);
    sim.lineTo(12.0, 5.2);
    sim.lineTo(12.0, 13.2);
    sim.lineTo(4.2, 13.2);
    sim.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(sim);
    p.setBrush(QColor(0xe9, 0xb8, 0x3f));
    p.drawRoundedRect(QRectF(5.6, 6.6, 5.0, 4.6), 0.8, 0.8);
    p.setPen(QPen(QColor(0xa8, 0x7f, 0x1d), 0.45));
    p.drawLine(QPointF(5.6, 8.9), QPointF(10.6, 8.9));
    p.drawLine(QPointF(8.1, 6.6), QPointF(8.1, 11.2));
}

// Four rising bars; `filled` of them solid, the rest faint.
void barsGlyph(QPainter& p, int filled) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        const qreal h = 2.6 + i * 2.5;
        p.setBrush(i < filled ? QColor(Qt::white) : QColor(255, 255, 255, 80));
        p.drawRoundedRect(QRectF(3.0 + i * 2.7, 12.8 - h, 1.9, h), 0.6, 0.6);
    }
}

// A globe: circle, equator and a meridian ellipse.
void globeGlyph(QPainter& p, const QColor& c = Qt::white) {
    p.setBrush(Qt::NoBrush);
    p.setPen(glyphPen(1.1, c));
    p.drawEllipse(QPointF(8, 8), 5.0, 5.0);
    p.setPen(glyphPen(0.8, c));
    p.drawEllipse(QPointF(8, 8), 2.1, 5.0);
    p.drawLine(QPointF(3.2, 8), QPointF(12.8, 8));
    p.drawLine(QPointF(4.0, 5.4), QPointF(12.0, 5.4));
    p.drawLine(QPointF(4.0, 10.6), QPointF(12.0, 10.6));
}

// A small round badge at the lower right with a cross or a padlock.
enum class Badge { Cross, Lock, Check };
void badge(QPainter& p, Badge b) {
    const QPointF c(12.2, 12.2);
    p.setPen(QPen(Qt::white, 0.9));
    p.setBrush(b == Badge::Check ? skin::kOk : skin::kError);
    p.drawEllipse(c, 3.4, 3.4);
    p.setPen(glyphPen(1.0));
    if (b == Badge::Cross) {
        p.drawLine(c + QPointF(-1.3, -1.3), c + QPointF(1.3, 1.3));
        p.drawLine(c + QPointF(-1.3, 1.3), c + QPointF(1.3, -1.3));
    } else if (b == Badge::Check) {
        p.drawPolyline(QPolygonF({c + QPointF(-1.5, 0.1), c + QPointF(-0.4, 1.2), c + QPointF(1.6, -1.1)}));
    } else {
        p.setPen(glyphPen(0.8));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - 1.1, c.y() - 2.3, 2.2, 2.6), 0, 180 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(c.x() - 1.6, c.y() - 0.9, 3.2, 2.4), 0.4, 0.4);
    }
}

void envelopeGlyph(QPainter& p) {
    const QRectF r(3.0, 4.6, 10.0, 7.0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 1.0, 1.0);
    QColor fold = kSms.darker(115);
    p.setPen(QPen(fold, 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF({QPointF(3.5, 5.2), QPointF(8.0, 8.7), QPointF(12.5, 5.2)}));
}

// A telephone handset, tilted by `tilt` degrees around the tile centre.
void handsetGlyph(QPainter& p, qreal tilt) {
    p.save();
    p.translate(8, 8);
    p.rotate(tilt);
    p.translate(-8, -8);
    QPainterPath h;
    h.moveTo(4.0, 5.0);
    h.cubicTo(4.0, 9.5, 6.5, 12.0, 11.0, 12.0);
    h.lineTo(12.3, 10.4);
    h.lineTo(10.1, 8.9);
    h.lineTo(9.0, 10.0);
    h.cubicTo(7.6, 9.6, 6.4, 8.4, 6.0, 7.0);
    h.lineTo(7.1, 5.9);
    h.lineTo(5.6, 3.7);
    h.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(h);
    p.restore();
}

void trayMain(QPainter& p, int index) {
    switch (index) {
    case 0:  // no card
        tile(p, kGrey);
        cardGlyph(p, kGrey.lighter(130));
        badge(p, Badge::Cross);
        break;
    case 1:  // card online
        tile(p, skin::kAccent);
        cardGlyph(p, QColor(0x5c, 0xe0, 0x8e));
        break;
    case 2:  // network up, no signal
        tile(p, skin::kAccent);
        barsGlyph(p, 0);
        break;
    case 3:  // network up with signal, ready
        tile(p, kTeal);
        barsGlyph(p, 4);
        break;
    case 4:  // SIM unavailable
        tile(p, kGrey);
        simGlyph(p);
        badge(p, Badge::Cross);
        break;
    case 5:  // SIM ready
        tile(p, skin::kOk);
        simGlyph(p);
        break;
    case 6:  // no data connection
        tile(p, kGrey);
        globeGlyph(p);
        break;
    case 7:  // card found but not online
        tile(p, skin::kWarning);
        cardGlyph(p, QColor(0xff, 0xe7, 0xb0));
        break;
    case 8:  // SIM present, network up
        tile(p, skin::kAccent);
        simGlyph(p);
        break;
    default:  // 9: SIM locked
        tile(p, skin::kError);
        simGlyph(p);
        badge(p, Badge::Lock);
        break;
    }
}

// Connected: a globe on the green tile with an up and a down arrow beside
// it that take turns (frame 0 up, 1 down, 2 both).
void internet(QPainter& p, int frame) {
    tile(p, skin::kOk);
    p.save();
    p.translate(-1.6, 0.3);
    p.translate(8, 8);
    p.scale(0.86, 0.86);
    p.translate(-8, -8);
    globeGlyph(p);
    p.restore();
    auto arrow = [&](bool up, bool lit) {
        QPainterPath a;
        const qreal x = 12.7, tip = up ? 2.6 : 13.4, dir = up ? 1 : -1;
        a.moveTo(x, tip);
        a.lineTo(x + 2.0, tip + 2.6 * dir);
        a.lineTo(x + 0.7, tip + 2.6 * dir);
        a.lineTo(x + 0.7, tip + 4.6 * dir);
        a.lineTo(x - 0.7, tip + 4.6 * dir);
        a.lineTo(x - 0.7, tip + 2.6 * dir);
        a.lineTo(x - 2.0, tip + 2.6 * dir);
        a.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(lit ? QColor(Qt::white) : QColor(255, 255, 255, 70));
        p.drawPath(a);
    };
    arrow(true, frame == 0 || frame == 2);
    arrow(false, frame == 1 || frame == 2);
}

// New SMS: the envelope on an orange tile that fades out and back in.
void newSms(QPainter& p, int frame) {
    static const std::array<qreal, 4> pulse{1.0, 0.75, 0.45, 0.6};
    tile(p, kSms, pulse[frame]);
    envelopeGlyph(p);
    if (frame == 0) {
        p.setPen(QPen(Qt::white, 0.8));
        p.setBrush(skin::kError);
        p.drawEllipse(QPointF(12.8, 3.4), 2.2, 2.2);
    }
}

// Incoming call: the handset rocks and 0 to 3 sound waves spread out.
void incomingCall(QPainter& p, int frame) {
    static const std::array<qreal, 4> tilt{-8, 4, -4, 8};
    tile(p, skin::kOk);
    handsetGlyph(p, tilt[frame]);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < frame; ++i) {
        const qreal rad = 2.6 + i * 1.9;
        p.setPen(glyphPen(0.9, QColor(255, 255, 255, 255 - i * 55)));
        p.drawArc(QRectF(10.4 - rad, 5.6 - rad, 2 * rad, 2 * rad), 0, 90 * 16);
    }
}

// Signal bars, 32 x 17: a small mast and five rising bars. Level 0 shows the
// mast struck through and every bar empty.
void rssi(QPainter& p, int level) {
    const QColor on = level >= 4 ? kTeal : (level >= 2 ? skin::kAccent : skin::kWarning);
    const QColor off = skin::kBorder;
    // Mast.
    const QColor mast = level == 0 ? skin::kMuted : skin::kAccentDark;
    p.setPen(glyphPen(1.4, mast));
    p.drawLine(QPointF(4.5, 4.5), QPointF(4.5, 15.0));
    p.drawLine(QPointF(1.8, 4.0), QPointF(4.5, 7.6));
    p.drawLine(QPointF(7.2, 4.0), QPointF(4.5, 7.6));
    p.drawLine(QPointF(1.8, 4.0), QPointF(7.2, 4.0));
    if (level == 0) {
        p.setPen(glyphPen(1.4, skin::kError));
        p.drawLine(QPointF(1.4, 14.6), QPointF(8.0, 8.6));
    }
    for (int i = 0; i < 5; ++i) {
        const qreal h = 3.4 + i * 2.8;
        const QRectF bar(10.6 + i * 4.3, 15.6 - h, 3.0, h);
        p.setPen(i < level ? QPen(on.darker(115), 0.6) : QPen(off, 0.7));
        p.setBrush(i < level ? on : QColor(0xee, 0xf2, 0xf6));
        p.drawRoundedRect(bar, 0.8, 0.8);
    }
}

}  // namespace

int ImageCount(ImageList list) {
    switch (list) {
    case ImageList::RSSILevel: return 6;
    case ImageList::TrayMain: return 10;
    case ImageList::Internet: return 3;
    case ImageList::NewSms: return 4;
    case ImageList::IncomingCall: return 4;
    }
    return 1;
}

QSize ImageSize(ImageList list) {
    return list == ImageList::RSSILevel ? QSize(32, 17) : QSize(16, 16);
}

const char* ImageListName(ImageList list) {
    switch (list) {
    case ImageList::RSSILevel: return "ImageList_RSSILevel";
    case ImageList::TrayMain: return "ImageList_TrayMain";
    case ImageList::Internet: return "ImageList_Internet";
    case ImageList::NewSms: return "ImageList_NewSms";
    case ImageList::IncomingCall: return "ImageList_IncomingCall";
    }
    return "";
}

QPixmap Picture(ImageList list, int index, QSize size) {
    const int n = ImageCount(list);
    index = ((index % n) + n) % n;
    if (size.isEmpty()) size = ImageSize(list);
    if (list == ImageList::RSSILevel)
        return paint(size, 32, 17, [&](QPainter& p) { rssi(p, index); });
    return paint(size, 16, 16, [&](QPainter& p) {
        switch (list) {
        case ImageList::TrayMain: trayMain(p, index); break;
        case ImageList::Internet: internet(p, index); break;
        case ImageList::NewSms: newSms(p, index); break;
        case ImageList::IncomingCall: incomingCall(p, index); break;
        case ImageList::RSSILevel: break;
        }
    });
}

}  // namespace artwork
