// The main window: start-up and shutdown, the device state machine and the
// message map that hands every device event to its owner, the toolbar and
// tray commands. The status display (signal, network, operator, indicators,
// tray pictures, sounds) is TStatusDisplay, owned by this window.
#pragma once

#include <QWidget>
#include <cstdint>

#include "platform/winmsg.h"

class TTimer;
class TStatusDisplay;

class TMainform : public QWidget, public MessageTarget {
    Q_OBJECT
public:
    explicit TMainform(QWidget* parent = nullptr);
    ~TMainform() override;

    // Operations offered to other windows.
    std::uint8_t GetDeviceState() const { return deviceState_; }
    void FreezeBackgroundTimers();
    void ThawBackgroundTimers();
    void UpdateDriverNetState();
    QString GetMainTitle() const;
    void SetMainTitle(const QString& title);
    void SetBusy(bool busy);
    void DisableTools();
    void EnableTools();
    void DisableTrayCommands();
    void EnableTrayCommands();
    TStatusDisplay* Status() const { return status_; }

    // The central panel function windows live in (settings pages at 183,10).
    QWidget* Mainpanel = nullptr;

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    std::uint8_t deviceState_ = 1;
    TStatusDisplay* status_ = nullptr;
};

// The main window, or null before it exists and after it is gone.
TMainform* MainForm();
