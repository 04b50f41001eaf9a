// The PIN/PUK dialog: a borderless 238 x 150 window with its own title strip
// that asks for a PIN, a PUK or a new PIN typed twice. It checks only the
// length and the form of a code; the card decides whether a code is right.
//
// Modes 1 to 3 are modal (exec) and end with Accepted (OK) or Rejected
// (Cancel); the caller reads Edit_Password1 (and Edit_Password2 in mode 3).
// Modes 4 and 5 are shown non-modally on top of all windows by the main
// window; they post UM_PIN_ENTERED (100 entered, 102 cancelled) or
// UM_PUK_ENTERED (104 entered, 106 cancelled) with second parameter 0 to the
// main window and close; the code stays in Edit_Password1.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>

#include "platform/winmsg.h"

class QLabel;
class TImageButton;
class TTitleStrip;
class TValidatedEdit;

class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    enum Mode : int {
        kSettingsPin = 1,  // PIN for a settings operation (modal)
        kSettingsPuk = 2,  // PUK for a settings operation (modal)
        kNewPin = 3,       // new PIN, typed twice (modal, after a PUK)
        kStartPin = 4,     // SIM PIN at start (non-modal, device state 8)
        kStartPuk = 5,     // SIM PUK at start (non-modal, device state 9)
    };

    // Without attempts: PINLeftTimes stays hidden.
    TPasswordDlg(int mode, QWidget* owner);
    // With attempts left: shown in PINLeftTimes as the number and text 1174
    // (in mode 1 only when not 0).
    TPasswordDlg(int mode, QWidget* owner, int attemptsLeft);
    ~TPasswordDlg() override;

    int Mode() const { return mode_; }
    std::optional<int> AttemptsLeft() const { return attempts_; }
    // The entered code (Edit_Password1) and, in mode 3, the confirmation.
    QString Password1() const;
    QString Password2() const;

    // Where modes 4 and 5 post their messages; by default the main window
    // (the window registered as "TMainform"). Tests give a target of their own.
    void SetReceiver(HWND receiver) { receiver_ = receiver; }
    // The main window's device state, asked by OK (an emergency number is
    // dialled only in state 8). Without a source the dialog assumes the state
    // it is opened in: 8 in mode 4, 9 in mode 5, unknown (0) otherwise.
    using StateSource = std::function<int()>;
    void SetDeviceStateSource(StateSource source) { state_ = std::move(source); }

    // Shows the dialog non-modally and on top of all windows (modes 4, 5).
    void ShowOnTop();
    // Modal run (modes 1 to 3).
    int exec() override;
    // Hides the dialog now and frees it as soon as none of its own handlers
    // or modal runs is under way (at once through the event loop otherwise).
    void Release();
    bool Busy() const { return busy_ > 0; }

    TTitleStrip* Label_Title;
    QLabel* ImImage_Logo;
    TImageButton* ImImage_Close;
    QLabel* Label_Password1Caption;
    TValidatedEdit* Edit_Password1;
    QLabel* Label_Password2Caption;
    TValidatedEdit* Edit_Password2;
    QLabel* PINLeftTimes;
    TImageButton* ImButton_OK;
    TImageButton* ImButton_Cancel;

    // The handlers, callable from tests as a click would.
    void ImButton_OKClick();
    void ImButton_CancelClick();
    void ImImage_CloseClick();

protected:
    void showEvent(QShowEvent*) override;
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void closeEvent(QCloseEvent*) override;

private:
    void build();
    void FormShow();
    void Post(UINT msg, WPARAM code);
    void LeaveTopLayer();
    bool Warn(unsigned textId);

    int mode_;
    std::optional<int> attempts_;
    HWND receiver_ = nullptr;
    StateSource state_;
    bool laidOut_ = false;
    int busy_ = 0;            // handlers and modal runs under way
    bool releaseWhenIdle_ = false;
    friend class PasswordDlgBusy;
};

// The main window's three dialogs (PIN, PUK, new PIN), each absent or one.
// Opening a dialog frees the one it replaces first, so a state that comes
// again while its dialog is up never leaves a second dialog or a leak.
// A freed dialog is hidden and forgotten at once and destroyed through the
// event loop once none of its own handlers or modal runs is under way, so a
// state that comes again inside the dialog's own warning box (a nested loop)
// never destroys the dialog under its handler.
class TPasswordDialogs {
public:
    // deviceState: the main window's device state, handed to each dialog.
    explicit TPasswordDialogs(TPasswordDlg::StateSource deviceState = {}) : state_(std::move(deviceState)) {}
    ~TPasswordDialogs();
    TPasswordDialogs(const TPasswordDialogs&) = delete;
    TPasswordDialogs& operator=(const TPasswordDialogs&) = delete;

    // Device state 8: a mode-4 dialog (with the attempts when known), prompt
    // text 1038, shown on top of all windows, non-modally.
    TPasswordDlg* OpenPin(QWidget* owner, std::optional<int> attemptsLeft);
    // Device state 9: a mode-5 dialog (with the attempts when known), shown
    // on top, non-modally, and the hidden mode-3 new-PIN dialog.
    TPasswordDlg* OpenPuk(QWidget* owner, std::optional<int> attemptsLeft);

    TPasswordDlg* Pin() const { return pin_; }
    TPasswordDlg* Puk() const { return puk_; }
    TPasswordDlg* NewPin() const { return newPin_; }

    // Free and forget the PIN dialog; the PUK and the new-PIN dialogs.
    void FreePin();
    void FreePuk();

private:
    static void Free(QPointer<TPasswordDlg>& dlg);
    TPasswordDlg::StateSource state_;
    QPointer<TPasswordDlg> pin_;
    QPointer<TPasswordDlg> puk_;
    QPointer<TPasswordDlg> newPin_;
};
