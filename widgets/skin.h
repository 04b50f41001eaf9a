// The one palette and the common drawing of Linkora's skinned windows.
#pragma once

#include <QColor>
#include <QRect>

class QPainter;
class QWidget;

namespace skin {
// A calm blue-teal palette on light surfaces.
inline const QColor kAccent{0x1f, 0x6f, 0xb2};
inline const QColor kAccentDark{0x15, 0x4f, 0x82};
inline const QColor kAccentLight{0xd9, 0xe8, 0xf5};
inline const QColor kSurface{0xf7, 0xf9, 0xfb};
inline const QColor kBorder{0xb8, 0xc6, 0xd3};
inline const QColor kText{0x22, 0x2b, 0x33};
inline const QColor kMuted{0x6b, 0x78, 0x85};
inline const QColor kWarning{0xe0, 0x8a, 0x1e};
inline const QColor kError{0xc6, 0x3b, 0x3b};
inline const QColor kOk{0x2e, 0x9b, 0x5f};
inline constexpr int kTitleHeight = 26;

// Draws a skinned window frame: surface, border and a title strip of kTitleHeight.
void PaintWindowFrame(QPainter& p, const QRect& r, bool withTitle = true);
// The style sheet that gives the common controls the skin.
const char* StyleSheet();
}  // namespace skin
