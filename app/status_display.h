// The main window's status line and everything that follows the card's
// events on screen: signal bars, network type, operator, domain, roaming,
// card/SIM/connection pictures, the new-SMS and missed-call icons, the tray
// icon's picture and hint, and the event sounds.
//
// TStatusDisplay is the status-line strip itself; the main window places
// it, calls its operations from the state actions and hands it the three
// status messages. What it needs of the rest of the program (the device
// state, the data connection, the notice windows, the main panel) it asks
// through the hooks in `host`, so it also runs on its own in tests.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "platform/winmsg.h"
#include "widgets/artwork_lists.h"


class TMediaPlayer;
class TTimer;
class TTrayIcon;
struct OperatorRecord;

// A picture of the status line that can be clicked (`ImImage_NewSms`,
// `ImImage_IncomingCall`) or right-clicked (`Image_RSSI`).
class TStatusImage : public QLabel {
public:
    TStatusImage(QWidget* parent, const char* name);
    // Shows picture `index` of `list` at the list's natural size.
    void SetPicture(artwork::ImageList list, int index);
    artwork::ImageList List() const { return list_; }
    int Index() const { return index_; }
    std::function<void()> OnClick;
    // Right button pressed; the argument tells whether Ctrl was held.
    std::function<void(bool ctrl)> OnRightPress;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    artwork::ImageList list_ = artwork::ImageList::TrayMain;
    int index_ = -1;
};

class TStatusDisplay : public QWidget {
    Q_OBJECT
public:
    explicit TStatusDisplay(QWidget* parent);
    ~TStatusDisplay() override;

    // What the status display asks of the rest of the program. Every hook may
    // be left empty; the default is given.
    struct Host {
        std::function<std::uint8_t()> deviceState;     // device state 1..22 (default 12)
        std::function<std::uint8_t()> dataState;       // connection state 0..4 (default 0 idle)
        // The data-connection window's statistics summary, nullopt when that
        // window does not exist (default nullopt).
        std::function<std::optional<QString>()> connectionSummary;
        std::function<void()> updateDriverNetState;    // after every change of the network-type text
        // The main window (minimised / visible / active). Default: window().
        std::function<QWidget*()> mainWindow;
        // Makes a notice window (`TNewMsgForm`) of kind 1 (new SMS) or 2
        // (incoming call) with a number, not yet shown; null: no notice.
        std::function<QDialog*(int kind, const QString& number)> makeNotice;
        // Replaces the number of an open notice window.
        std::function<void(QDialog* notice, const QString& number)> setNoticeNumber;
        // Click on ImImage_IncomingCall: show the central panel with the missed
        // calls (ClearMissedCall follows by itself).
        std::function<void()> onMissedCallClick;
        // Click on ImImage_NewSms: show the list of the kept message and call
        // ClearNewSms (default: ClearNewSms alone).
        std::function<void()> onNewSmsClick;
        // ClearNewSms has cleared the indication: free the kept record.
        std::function<void()> onNewSmsCleared;
        // Ctrl + right button on Image_RSSI in device state 1.
        std::function<void()> onInnerVersionGesture;
    };
    Host host;

    // --- status-line elements -------------------------------------------
    TStatusImage* Image_RSSI;         // ImageList_RSSILevel 0..5
    QLabel* Label_NetWorkType;        // "No Service" at start
    QLabel* Label_OperaName;          // "Not Found" at start, right-aligned
    QLabel* Label_Domain;             // "C", "P", "P C" or empty
    QLabel* Label_Roam;               // "R" or empty
    TStatusImage* Image_Netcard;      // ImageList_TrayMain
    TStatusImage* Image_Simcard;      // ImageList_TrayMain
    TStatusImage* Image_Internet;     // TrayMain 6, or ImageList_Internet frames
    TStatusImage* ImImage_NewSms;     // hidden; ImageList_NewSms frames
    TStatusImage* ImImage_IncomingCall;  // hidden; ImageList_IncomingCall frames

    // Card and SIM pictures (ImageList_TrayMain indexes) with a hint text id
    // (0 keeps the hint), as the state actions set them.
    void SetNetcard(int index, unsigned hintId = 0);
    void SetNetcardHint(unsigned hintId);
    void SetSimcard(int index, unsigned hintId = 0);
    void SetSimcardHint(unsigned hintId);

    // --- signal -------------------------------------------------------------
    // Bars for a signal value (0..31 known; > 31, < 3 or no service: none);
    // with the main tray images also tray index 3 (signal) or 2 (none).
    void ShowSignalLevel(int value);
    // The bar picture for a value with service (0 none .. 5 full).
    static int SignalBars(int value);
    // One signal poll (the Timer_RSSI tick; also called once directly when
    // the state becomes 11 or 12): Velk_GetCsq, then the polling schedule
    // (1500 ms for the first polls after a reset, 10000 ms from the fourth
    // counted poll). Result 9 is not counted and changes nothing.
    void PollSignal();
    // Timer_RSSI (5000 ms, stopped at creation); the main window starts and
    // stops it as the state machine says.
    TTimer* Timer_RSSI;
    int SignalTickCount() const { return signalTicks_; }

    // --- network, operator, roaming ---------------------------------------
    std::uint8_t HasNetworkService() const { return hasService_; }
    // UM_NET_TYPE, UM_OPERATOR_INFO, UM_SIGNAL: true when msg is one of the
    // three (the payload is taken over and freed here), false otherwise.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // Message 1528: the text as received; the has-service flag is 0 only for
    // exactly "No Service".
    void NetTypeMessage(std::unique_ptr<char[]> text);
    // Message 1529: the 212-byte operator notification.
    void OperatorMessage(std::unique_ptr<OperatorRecord> record);
    // The reading when the state becomes 11: Velk_GetNetworkPara (type and
    // domain), then Velk_GetZdonPara (operator and roaming).
    void ReadNetworkInfo();
    // The data-connection window sets the network type itself; the
    // has-service flag is left as it is.
    void SetNetworkTypeText(const QString& text);
    // The operator name as shown: "China Mobile" and "China Unicom" (exact
    // case) become language texts 1077 and 1078, others stay as received.
    static QString OperatorDisplayName(const QString& name);
    // Roaming text: "ROAM_ON" shows "R", "ROAM_OFF" or empty clears, anything
    // else leaves the label as it is.
    void ApplyRoaming(const QString& roaming);

    // --- the whole line ------------------------------------------------------
    // The common part of state actions 1, 2, 7 and 10; newState is the state
    // whose action runs (10 keeps the connection picture, 2 keeps the sound).
    void ResetStatusDisplay(std::uint8_t newState);
    void RepaintStatusLine();

    // --- indicators (do nothing outside device states 11 and 12, except
    // ShowConnected and ShowDisconnected) ----------------------------------
    void ShowNewSms(const QString& number);
    void ClearNewSms();
    // Rings: tray animation, the ring sound and, when the main window is away,
    // the modal call notice (returns only when that closes). A non-zero update
    // with a notice open only replaces its number.
    void ShowIncomingCall(const QString& number, std::uint8_t update);
    void StopIncomingCall();
    void ShowMissedCall();
    void ClearMissedCall();
    void ShowConnected();       // only when the data connection is connected (3)
    void ShowDisconnected();    // only when the data connection is idle (0)
    void ReleaseSmsNotice();    // releases and forgets an open SMS notice
    void CloseCallNotice();     // asks an open call notice to close
    QDialog* SmsNotice() const { return smsNotice_; }
    QDialog* CallNotice() const { return callNotice_; }
    std::uint8_t Ringing() const { return ringing_; }

    // --- sounds ------------------------------------------------------------
    // See TMediaPlayer::PlaySound: 0, 1, 2 or 100.
    int PlaySound(const QString& path, int priority);
    // The sound of an event (1 new SMS, 2 incoming call, 3 connected, 4
    // disconnected) at a priority: an unreadable "allconfig.ran" shows
    // warning 1018 + "allconfig.ran"; a file that fails to play is reset to
    // its default and tried once more. A muted event plays nothing.
    void PlayEventSound(int event, int priority);
    TMediaPlayer* MediaPlayer_Main;

    // --- tray -----------------------------------------------------------------
    TTrayIcon* TrayIcon_Main;
    // Timer_UpdateTrayHint tick (1000 ms, always running): the hint of the state.
    void UpdateTrayHint();
    TTimer* Timer_UpdateTrayHint;

    // --- icon animations (800 ms; Tag is each timer's frame counter) ------
    TTimer* Timer_NewSms;
    TTimer* Timer_IncomingCall;
    TTimer* Timer_Internet;
    void Timer_NewSmsTimer();
    void Timer_IncomingCallTimer();
    void Timer_InternetTimer();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::uint8_t deviceState() const;
    std::uint8_t dataState() const;
    QWidget* mainWindow() const;
    bool indicatorsLive() const;
    void backToMainTray();
    void leaveIndicatorTray();
    void setOperatorName(const QString& name);
    void setDomain(const QString& text);
    void setNetworkType(const QString& text);
    void placeNotice(QDialog* notice, int extraRows);
    void layoutLine();

    std::uint8_t hasService_ = 0;
    std::uint8_t ringing_ = 0;
    int signalTicks_ = 0;
    QPointer<QDialog> smsNotice_;
    QPointer<QDialog> callNotice_;
};
