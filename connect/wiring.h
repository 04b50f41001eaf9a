// Puts the data-connection windows, the settings menu and the sound page into
// the main window: reads the profiles, creates the windows (in their start-up
// order, hidden, in Mainpanel) and connects their hooks to the main window and
// its status display.
#pragma once

#include <QWidget>
#include <vector>

class TMainform;

namespace connectwiring {
// Appends the windows made to `made` (destroyed by the caller, last first).
void CreateWindows(TMainform& main, std::vector<QWidget*>& made);
}
