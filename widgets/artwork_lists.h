// The image lists of the main window, the status line and the tray, drawn
// by our own code in the skin's palette.
//
//   ImageList_RSSILevel    6 pictures 32 x 17: signal bars, 0 none to 5 full
//   ImageList_TrayMain    10 pictures: 0 no card, 1 card online, 2 network up
//                          without signal, 3 with signal / ready, 4 SIM
//                          unavailable, 5 SIM ready, 6 no data connection,
//                          7 card found but not online, 8 SIM present and
//                          network up, 9 SIM locked
//   ImageList_Internet     3 frames of the data-connection animation
//   ImageList_NewSms       4 frames of the new-SMS animation
//   ImageList_IncomingCall 4 frames of the incoming-call animation
#pragma once

#include <QPixmap>
#include <QSize>

namespace artwork {

enum class ImageList { RSSILevel, TrayMain, Internet, NewSms, IncomingCall };

// Number of pictures in a list.
int ImageCount(ImageList list);
// The natural size of a list's pictures (32 x 17 for the signal bars,
// 16 x 16 for the others).
QSize ImageSize(ImageList list);
// Picture index of list (wrapped into the list), drawn at size (the natural
// size when empty) and the screen's pixel ratio.
QPixmap Picture(ImageList list, int index, QSize size = {});
// The list's name as the layout knows it ("ImageList_TrayMain").
const char* ImageListName(ImageList list);

}  // namespace artwork
