// The network-unlock window: a borderless 580 x 386 window, centred on the
// screen, that shows the card's IMEI and takes the 16-character unlock code
// the operator's customer care gives for it.
#pragma once

#include <QDialog>
#include <QImage>

class QLabel;
class QLineEdit;
class TImageButton;
class TTitleStrip;

class TUI_UnlockNetFrm : public QDialog {
    Q_OBJECT
public:
    // Reads the IMEI (Velk_QueryImei) and the background picture once.
    explicit TUI_UnlockNetFrm(QWidget* owner);

    // The code typed (Edit_Password).
    QString Code() const;

    TTitleStrip* Label_Title;
    QLabel* ImImage_Title_Logo;
    TImageButton* ImImage_Title_Close;
    QLabel* Label_Intro;
    QLabel* Label_IMEICaption;
    QLabel* lbl_IMEI;
    QLabel* Label_Instructions;
    QLabel* Label_CodeCaption;
    QLineEdit* Edit_Password;
    QLabel* Label_Note;
    TImageButton* OkButton;
    TImageButton* CancelButton;

    // The handlers, callable from tests as a click would.
    void OkButtonClick();
    void CancelButtonClick();
    void ImImage_Title_CloseClick();

    // True when the background picture was loaded from the program folder.
    bool HasBackgroundPicture() const { return !background_.isNull(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

private:
    void Edit_PasswordChange();
    QImage background_;
};

// The unlock step of device states 16 (online) and 19 (offline), after the
// main window has set its tray items and disabled itself: creates the window,
// shows it on top of all windows and modally; OK enables owner, passes the
// code to Velk_UnlockNet and reports the outcome (information text 1158 when
// unlocked, warning text 1161 when now locked for good); Cancel enables owner.
// The window is freed before returning.
//
// Returns the device state the main window posts next with UM_DEVICE_STATE:
// unlocked 13 online / 7 offline; refused (1, 2) 13 online / 14 offline;
// locked for good (3 and more) 22; cancelled 22; 0 when Velk_UnlockNet failed
// (nothing is posted then).
int RunNetworkUnlock(QWidget* owner, bool online);
