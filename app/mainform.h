// The main window: start-up and shutdown, the device state machine and the
// message map that hands every device event to its owner, the toolbar and
// tray commands. The status display (signal, network, operator, indicators,
// tray pictures, sounds) is TStatusDisplay, owned by this window.
//
// The implementation is split by topic: mainform.cpp (creation, layout,
// showing, closing, destruction, power events), mainform_states.cpp (the
// state actions and their timers), mainform_messages.cpp (the message map),
// mainform_commands.cpp (toolbar and tray commands).
#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "platform/winmsg.h"

// The main window's own message: the card-gone callback stops the
// state-retry timer through it, ahead of the state-1 message.
inline constexpr UINT UM_STOP_STATE_RETRY = 1135;
// And the hand-over of a USSD answer after the library has had its reply.
inline constexpr UINT UM_USSD_HANDOFF = 1136;
inline constexpr std::size_t kUssdResponseSize = 360;

class QDialog;
class QLabel;
class TImageButton;
class TPasswordDialogs;
class TStatusDisplay;
class TTimer;
class TTitleStrip;
class TTrayIcon;
struct SmsClass0Record;
struct SmsRecord;

class TMainform : public QWidget, public MessageTarget {
    Q_OBJECT
public:
    // Runs the creation step: reads the configuration files, starts the
    // business core and the library, registers the callbacks and this window,
    // posts the first device state.
    explicit TMainform(QWidget* parent = nullptr);
    // Runs the destruction step: removes the tray icon, stops the business
    // core, writes "allconfig.ran".
    ~TMainform() override;

    // Operations offered to other windows.
    std::uint8_t GetDeviceState() const { return deviceState_; }
    void FreezeBackgroundTimers();
    void ThawBackgroundTimers();
    void UpdateDriverNetState();
    QString GetMainTitle() const;
    void SetMainTitle(const QString& title);
    void SetBusy(bool busy);
    bool Busy() const { return busy_; }
    void DisableTools();
    void EnableTools();
    void DisableTrayCommands();
    void EnableTrayCommands();
    TStatusDisplay* Status() const { return status_; }
    TTrayIcon* Tray() const;
    // The has-service flag of the status line.
    std::uint8_t HasNetworkService() const;
    // The call state and the data-connection state as last announced
    // (1126, 1127) or as the call window reports it.
    int CallState() const;
    std::uint8_t DataState() const { return dataState_; }
    // What the lock check read at state 2.
    std::uint8_t LockSupported() const { return lockSupported_; }
    // The flag that makes the next about box show the inner versions.
    void SetInnerVersionFlag(bool on) { innerVersion_ = on; }
    bool InnerVersionFlag() const { return innerVersion_; }
    bool RestoredFromTray() const { return restoredFromTray_; }
    // The registry path of the card driver's class key, empty until found.
    const QString& DriverClassKey() const { return driverClassKey_; }
    // The kept copy of the latest new message (1525), null when none.
    const SmsRecord* KeptNewSms() const { return newSms_.get(); }
    // The PIN, PUK and new-PIN dialogs while they exist.
    TPasswordDialogs& Dialogs() const { return *dialogs_; }
    // The class-0 messages received and not yet shown, oldest first.
    std::size_t Class0Queued() const { return class0_.size(); }
    std::unique_ptr<SmsClass0Record> TakeClass0();

    // The central panel function windows live in (settings pages at 183,10).
    QWidget* Mainpanel = nullptr;

    // --- controls ------------------------------------------------------------
    TTitleStrip* TitleStrip = nullptr;
    QLabel* ImImage_Title_Logo = nullptr;
    QLabel* Label_Caption = nullptr;
    TImageButton* ImImage_Title_Minimize = nullptr;
    TImageButton* ImImage_Title_Close = nullptr;
    QWidget* Toolbar = nullptr;
    TImageButton* FirstpageButton = nullptr;
    TImageButton* InternetButton = nullptr;
    TImageButton* MsgButton = nullptr;
    TImageButton* PonebookButton = nullptr;
    TImageButton* CallButton = nullptr;
    TImageButton* CallhisButton = nullptr;
    TImageButton* ConfigButton = nullptr;
    TImageButton* HelpButton = nullptr;
    TImageButton* StkButton = nullptr;
    QWidget* Firstpage = nullptr;
    QLabel* Label_Welcom = nullptr;

    // --- timers (intervals in ms) ------------------------------------------
    TTimer* Timer_StateRetry = nullptr;      // 5000, repeats the state-2 action
    TTimer* SimBusyTimer = nullptr;          // 3000, re-reads the PIN state, 5 ticks at most
    TTimer* Timer_CPMS = nullptr;            // 10000, polls the SIM's message storage
    TTimer* GetCardSettingsTimer = nullptr;  // 3000, retries the capacities in state 12
    TTimer* Timer_Start = nullptr;           // 10000, running: closes the splash, shows this window
    int SimBusyTries() const { return simBusyTries_; }

    // --- handlers (callable as the event would) ----------------------------
    void Timer_StateRetryTimer();
    void SimBusyTimerTimer();
    void Timer_CPMSTimer();
    void GetCardSettingsTimerTimer();
    // Shows this window and closes the splash (Timer_Start, or early at a
    // PIN or PUK request); does nothing once it has run.
    void Timer_StartTimer();

    void FirstpageButtonClick();
    void InternetButtonClick();
    void MsgButtonClick();
    void PonebookButtonClick();
    void CallButtonClick();
    void CallhisButtonClick();
    void ConfigButtonClick();
    void HelpButtonClick();
    void StkButtonClick();

    void Menu_PowerOffClick();
    void Menu_OfflineClick();
    void Menu_OnlineClick();
    void UnlockDataCardClick();
    void Menu_FSettingsClick();
    void Menu_HelpClick();
    void Menu_AboutClick();
    void Menu_ExitClick();

    // Minimise to the tray and restore from it.
    void MinimizeToTray();
    void RestoreFromTray();

    // The close step's library part and payload release, without asking:
    // the card goes offline (unless there is no card). Used by the confirmed
    // close and by the end of the session.
    void PrepareExit();

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // --- seams to other parts and to the outside world ---------------------
    // Modal runs, replaced by tests: the unlock window (returns the state to
    // post, 0 for none), a modal dialog (the new-PIN dialog), the about box.
    std::function<int(QWidget* owner, bool online)> RunUnlock;
    std::function<int(QDialog* dialog)> ExecModal;
    std::function<void(QWidget* owner, bool innerVersion, bool readVersions)> RunAbout;
    // Starts a program detached (the help viewer).
    std::function<void(const QString& program, const QStringList& args)> StartProcess;
    // The default profile's modem parameters (PDP type, APN, PDP address):
    // nullopt when the profile store has none to give, false when reading
    // "defaultcfg.ran" failed.
    struct ModemPara {
        QByteArray pdpType, apn, pdpAddress;
    };
    std::function<std::optional<bool>(ModemPara* out)> DefaultModemPara;
    // True while a USSD exchange is open.
    std::function<bool()> UssdIsBusy;
    // The settings menu's restore of factory settings.
    std::function<void()> RestoreFactorySettings;

    // Called when a confirmed close has let the window go (the program ends).
    std::function<void()> OnClosed;

    // How many device-state actions ran, by code (tests and the benchmark).
    int ActionsRun(std::uint8_t code) const { return code < 23 ? actionsRun_[code] : 0; }
    // Called after each handled device state (the code stored).
    std::function<void(std::uint8_t)> OnDeviceState;

protected:
    void closeEvent(QCloseEvent*) override;
    void showEvent(QShowEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void changeEvent(QEvent*) override;

private:
    // mainform.cpp
    void buildWindow();
    void setTexts();
    void creationStep();
    void destructionStep();
    bool refuseCommand(bool withBox);
    LRESULT powerBroadcast(WPARAM event);
    bool suspendMustBeRefused() const;

    // mainform_states.cpp
    void deviceStateMessage(std::uint8_t code);
    void runStateAction(std::uint8_t code);
    void notifyWindows(std::uint8_t code);
    void postState(std::uint8_t code);
    bool superseded(unsigned generation) const { return stateGeneration_ != generation; }
    void stateNoCard();
    void stateCardFound();
    void stateModeCheck();
    void stateSimUnavailable();
    void stateOnline();
    void stateOffline();
    void statePinRequired();
    void statePukRequired();
    void stateSimLocked();
    void stateNetworkUp();
    void stateReady(unsigned generation);
    void stateLockCheck(bool online);
    void stateUnlock(bool online, unsigned generation);
    void stateLockRefused(unsigned generation);
    void pinEntered(WPARAM code);
    void pukEntered(WPARAM code);
    void simEvent(WPARAM event);
    void callStateMessage(int state);
    void dataStateMessage(int state);
    void setRssiRunning(bool on);
    void cardStart();

    // mainform_messages.cpp
    bool forward(const char* window, UINT msg, WPARAM wParam, LPARAM lParam);

    // mainform_commands.cpp
    QWidget* showPage(const char* window, QPoint at, bool showPanel = true);
    void setTrayItem(int item, bool visible);
    void enableTrayItem(int item, bool enabled);
    void connectCommands();
    void setToolsEnabled(bool on);

    std::uint8_t deviceState_ = 1;
    std::uint8_t lockSupported_ = 0;
    int simBusyTries_ = 0;
    unsigned stateGeneration_ = 0;
    int actionsRun_[23] = {};
    int callState_ = 0;
    std::uint8_t dataState_ = 0;
    bool busy_ = false;
    bool innerVersion_ = false;
    bool restoredFromTray_ = false;
    bool destroyed_ = false;

    // Frozen background timers.
    struct Frozen {
        bool on = false;
        std::uint8_t state = 0;
        bool cpms = false, stateRetry = false, cardSettings = false, loadSim = false;
        bool smsInit = false, loadMe = false, loadSimMsg = false;
    } frozen_;

    TStatusDisplay* status_ = nullptr;
    std::unique_ptr<TPasswordDialogs> dialogs_;
    struct SmsRecordDeleter {
        void operator()(SmsRecord* p) const;
    };
    std::unique_ptr<SmsRecord, SmsRecordDeleter> newSms_;
    std::deque<std::unique_ptr<SmsClass0Record>> class0_;
    QString driverClassKey_;
};

// The main window, or null before it exists and after it is gone.
TMainform* MainForm();
