// The larger pictures of the skin, drawn by our own code: the splash and
// unlock-window backgrounds and the two logo bitmaps. The program loads them
// from files in its program folder ("resource\image\start.jpg",
// "resource\image\UI_UnlockForm.jpg", "resource\image\logo\peluMaxLogo.bmp",
// "resource\image\logo\peluMinLogo.bmp"); scripts/make_artwork renders those
// files with these functions.
#pragma once

#include <QImage>

namespace artwork {

// The splash background, 388 x 242: a deep blue field with the card sending
// waves on the right; the left side stays calm for the splash's labels.
QImage SplashBackground(QSize size = QSize(388, 242));
// The network-unlock window background, 580 x 386: the skin's title strip,
// a light surface for the texts and a padlock watermark at the right.
QImage UnlockBackground(QSize size = QSize(580, 386));
// The program logo on an opaque ground (bitmaps carry no alpha): the large
// one for title strips of the main window and the splash, the small one for
// dialogs. `ground` is the colour it sits on.
QImage LogoBitmap(int size, const QColor& ground);

}  // namespace artwork
