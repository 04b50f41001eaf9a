// Pictures drawn by our own code, in the skin's palette, crisp at any scale.
#pragma once

#include <QPixmap>

namespace artwork {
// The small program logo (title strips, message boxes).
QPixmap SmallLogo(int size = 20);
// Message-box icons.
QPixmap InfoIcon(int size = 32);
QPixmap WarningIcon(int size = 32);
QPixmap QuestionIcon(int size = 32);
}  // namespace artwork
