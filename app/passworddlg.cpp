#include "app/passworddlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

#include "app/callseam.h"
#include "app/messagebox.h"
#include "app/windows.h"
#include "core/messages.h"
#include "core/strings.h"
#include "platform/paths.h"
#include "widgets/imagebutton.h"
#include "widgets/skin.h"
#include "widgets/titlestrip.h"
#include "widgets/validatededit.h"

namespace {
constexpr int kWidth = 238;
constexpr int kHeight = 150;
// Everything below the title strip is placed relative to the body's top.
constexpr int kBody = skin::kTitleHeight;
constexpr int kLeft = 24;
constexpr int kFieldWidth = 190;
constexpr int kLabelHeight = 16;
constexpr int kEditHeight = 22;
constexpr int kButtonTop = 118;
constexpr int kMaxCode = 8;

// Design-time places; FormShow moves them by mode.
constexpr int kPromptTop = kBody + 6;
constexpr int kEditTop = kBody + 23;
constexpr int kPrompt2Top = kBody + 47;
constexpr int kEdit2Top = kBody + 64;
constexpr int kModeShift = 15;      // modes 1 and 2
constexpr int kStartPromptTop = 20; // modes 4 and 5, in the body
constexpr int kStartEditGap = 24;
constexpr int kAttemptsBelowEdit = 30;

QString attemptsText(int n) { return QString::number(n) + GetString(1174); }
}  // namespace

// Marks a handler or a modal run of the dialog as under way; the last one to
// end carries out a release that came meanwhile.
class PasswordDlgBusy {
public:
    explicit PasswordDlgBusy(TPasswordDlg* d) : d_(d) { ++d_->busy_; }
    ~PasswordDlgBusy() {
        if (--d_->busy_ == 0 && d_->releaseWhenIdle_) d_->deleteLater();
    }
    PasswordDlgBusy(const PasswordDlgBusy&) = delete;
    PasswordDlgBusy& operator=(const PasswordDlgBusy&) = delete;

private:
    TPasswordDlg* d_;
};

TPasswordDlg::TPasswordDlg(int mode, QWidget* owner) : QDialog(owner, Qt::FramelessWindowHint | Qt::Dialog), mode_(mode) {
    build();
}

TPasswordDlg::TPasswordDlg(int mode, QWidget* owner, int attemptsLeft)
    : QDialog(owner, Qt::FramelessWindowHint | Qt::Dialog), mode_(mode), attempts_(attemptsLeft) {
    build();
}

TPasswordDlg::~TPasswordDlg() = default;

void TPasswordDlg::build() {
    setObjectName(QStringLiteral("TPasswordDlg"));
    setFixedSize(kWidth, kHeight);
    setStyleSheet(QString::fromLatin1(skin::StyleSheet()) +
                  QStringLiteral("QLineEdit { lineedit-password-character: 42; font-size: 10pt; }"));

    Label_Title = new TTitleStrip(this, "Label_Title");
    Label_Title->setGeometry(0, 0, kWidth, skin::kTitleHeight);
    Label_Title->SetCaption(QStringLiteral("      ") + GetString(1001));

    ImImage_Logo = new QLabel(this);
    ImImage_Logo->setObjectName(QStringLiteral("ImImage_Logo"));
    // The small logo bitmap beside the program; a failed load leaves it empty.
    ImImage_Logo->setPixmap(QPixmap(paths::NativePath(QStringLiteral("resource\\image\\logo\\peluMinLogo.bmp"))));
    ImImage_Logo->setGeometry(7, 5, 16, 16);

    ImImage_Close = new TImageButton(this, "ImImage_Close", TImageButton::Glyph::Close);
    ImImage_Close->setGeometry(kWidth - 22, 4, 18, 18);
    connect(ImImage_Close, &QAbstractButton::clicked, this, [this] { ImImage_CloseClick(); });

    auto makeLabel = [this](const char* name, int top) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(kLeft, top, kFieldWidth, kLabelHeight);
        return l;
    };
    auto makeEdit = [this](const char* name, int top) {
        auto* e = new TValidatedEdit(this, name, validated::IsInt32Text);
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(kMaxCode);
        e->setGeometry(kLeft, top, kFieldWidth, kEditHeight);
        return e;
    };
    Label_Password1Caption = makeLabel("Label_Password1Caption", kPromptTop);
    Label_Password1Caption->setText(GetString(1038));
    Edit_Password1 = makeEdit("Edit_Password1", kEditTop);
    Label_Password2Caption = makeLabel("Label_Password2Caption", kPrompt2Top);
    Edit_Password2 = makeEdit("Edit_Password2", kEdit2Top);
    Label_Password2Caption->hide();
    Edit_Password2->hide();

    PINLeftTimes = makeLabel("PINLeftTimes", kEditTop + kAttemptsBelowEdit);
    PINLeftTimes->setStyleSheet(QStringLiteral("color: %1;").arg(skin::kMuted.name()));
    PINLeftTimes->hide();

    ImButton_OK = new TImageButton(this, "ImButton_OK");
    ImButton_OK->setText(GetString(6));
    ImButton_OK->setGeometry(36, kButtonTop, 72, 24);
    connect(ImButton_OK, &QAbstractButton::clicked, this, [this] { ImButton_OKClick(); });
    ImButton_Cancel = new TImageButton(this, "ImButton_Cancel");
    ImButton_Cancel->setText(GetString(7));
    ImButton_Cancel->setGeometry(130, kButtonTop, 72, 24);
    connect(ImButton_Cancel, &QAbstractButton::clicked, this, [this] { ImButton_CancelClick(); });
}

QString TPasswordDlg::Password1() const { return Edit_Password1->text(); }
QString TPasswordDlg::Password2() const { return Edit_Password2->text(); }

void TPasswordDlg::ShowOnTop() {
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    show();
    raise();
    activateWindow();
}

int TPasswordDlg::exec() {
    PasswordDlgBusy busy(this);
    return QDialog::exec();
}

void TPasswordDlg::Release() {
    hide();
    if (busy_ > 0) releaseWhenIdle_ = true;
    else deleteLater();
}

void TPasswordDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!laidOut_) {
        laidOut_ = true;
        FormShow();
    }
    Edit_Password1->setFocus();
}

// The mode's texts and placement, done once at the first showing (a
// stay-on-top change re-shows the window, which must not move things again).
void TPasswordDlg::FormShow() {
    auto shift = [](QWidget* w, int dy) { w->move(w->x(), w->y() + dy); };
    auto placeAttempts = [this](bool show) {
        PINLeftTimes->move(PINLeftTimes->x(), Edit_Password1->y() + kAttemptsBelowEdit);
        if (show && attempts_) {
            PINLeftTimes->setText(attemptsText(*attempts_));
            PINLeftTimes->show();
        }
    };
    switch (mode_) {
    case kSettingsPin:
        shift(Label_Password1Caption, kModeShift);
        shift(Edit_Password1, kModeShift);
        placeAttempts(attempts_ && *attempts_ != 0);
        break;
    case kSettingsPuk:
        Label_Password1Caption->setText(GetString(1040));
        shift(Label_Password1Caption, kModeShift);
        shift(Edit_Password1, kModeShift);
        placeAttempts(true);
        break;
    case kNewPin:
        Label_Password1Caption->setText(GetString(1035));
        Label_Password2Caption->setText(GetString(1036));
        Label_Password2Caption->show();
        Edit_Password2->show();
        break;
    case kStartPin:
    case kStartPuk:
        Label_Password1Caption->move(Label_Password1Caption->x(), kBody + kStartPromptTop);
        Edit_Password1->move(Edit_Password1->x(), Label_Password1Caption->y() + kStartEditGap);
        Label_Password1Caption->setText(GetString(mode_ == kStartPin ? 1038 : 1040));
        placeAttempts(true);
        break;
    default:
        break;
    }
}

void TPasswordDlg::LeaveTopLayer() {
    if (!(windowFlags() & Qt::WindowStaysOnTopHint)) return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, false);  // hides the window
    if (visible) show();
}

// A one-button warning; false when the dialog was released while it was up
// (it then only waits to be freed and does nothing more).
bool TPasswordDlg::Warn(unsigned textId) {
    ShowMessageBox(this, GetString(textId), 2);
    return !releaseWhenIdle_;
}

void TPasswordDlg::Post(UINT msg, WPARAM code) {
    HWND to = receiver_;
    if (!to)
        if (auto* main = dynamic_cast<MessageTarget*>(windows::Find("TMainform"))) to = main->Handle();
    if (to) PostMessage(to, msg, code, 0);
}

void TPasswordDlg::ImButton_OKClick() {
    if (releaseWhenIdle_) return;
    PasswordDlgBusy busy(this);
    LeaveTopLayer();
    callseam::CallSeam& calls = callseam::Current();
    const QString code = Edit_Password1->text();
    const int state = state_ ? state_() : (mode_ == kStartPin ? 8 : mode_ == kStartPuk ? 9 : 0);
    if (!code.isEmpty() && calls.IsEmergencyNumber(code) && state == 8) {
        calls.Dial(code);
        return;
    }
    if (calls.CallState() == callseam::kDialling) {
        Warn(1090);
        return;
    }
    switch (mode_) {
    case kSettingsPin:
    case kStartPin:
        if (code.isEmpty()) Warn(1027);
        else if (code.size() <= 3) Warn(1100);
        else if (mode_ == kSettingsPin) accept();
        else {
            Post(UM_PIN_ENTERED, 100);
            hide();
        }
        break;
    case kSettingsPuk:
    case kStartPuk:
        if (code.isEmpty()) Warn(1028);
        else if (code.size() <= 3) Warn(1101);
        else if (mode_ == kSettingsPuk) accept();
        else {
            Post(UM_PUK_ENTERED, 104);
            hide();
        }
        break;
    case kNewPin: {
        const QString again = Edit_Password2->text();
        bool warned = false;
        // Both checks run: an empty or short entry and a mismatch are
        // reported one after the other.
        unsigned first = 0;
        if (code.isEmpty() || again.isEmpty()) first = 1027;
        else if (code.size() < 4 || again.size() < 4) first = 1100;
        if (first != 0) {
            warned = true;
            if (!Warn(first)) return;
        }
        if (code != again) {
            warned = true;
            if (!Warn(1029)) return;
        }
        if (!warned) accept();
        break;
    }
    default:
        break;
    }
}

void TPasswordDlg::ImButton_CancelClick() {
    if (releaseWhenIdle_) return;
    PasswordDlgBusy busy(this);
    callseam::CallSeam& calls = callseam::Current();
    const QString code = Edit_Password1->text();
    const QString dial = calls.DialText();
    const bool emergency = (!code.isEmpty() && calls.IsEmergencyNumber(code)) || (!dial.isEmpty() && calls.IsEmergencyNumber(dial));
    if (emergency) {
        // The user is making an emergency call: leave the device state alone.
        if (mode_ == kStartPin || mode_ == kStartPuk) hide();
        else reject();
        return;
    }
    switch (mode_) {
    case kStartPin:
        Post(UM_PIN_ENTERED, 102);
        hide();
        break;
    case kStartPuk:
        Post(UM_PUK_ENTERED, 106);
        hide();
        break;
    default:
        reject();
        break;
    }
}

void TPasswordDlg::ImImage_CloseClick() {
    if (mode_ != kStartPin && mode_ != kStartPuk) reject();
}

void TPasswordDlg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    skin::PaintWindowFrame(p, rect());
}

void TPasswordDlg::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ImButton_OKClick();  // OK is the default button
        return;
    case Qt::Key_Escape:
        ImButton_CancelClick();  // Cancel is the cancel button
        return;
    default:
        QDialog::keyPressEvent(e);
    }
}

void TPasswordDlg::closeEvent(QCloseEvent* e) {
    // The start-up dialogs end only through OK or Cancel, which tell the main
    // window; a close from the window system would leave it waiting.
    if ((mode_ == kStartPin || mode_ == kStartPuk) && e->spontaneous()) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

TPasswordDialogs::~TPasswordDialogs() {
    for (QPointer<TPasswordDlg>* d : {&pin_, &puk_, &newPin_}) {
        if (!*d) continue;
        if ((*d)->Busy()) (*d)->Release();
        else delete d->data();
    }
}

void TPasswordDialogs::Free(QPointer<TPasswordDlg>& dlg) {
    if (dlg) dlg->Release();
    dlg = nullptr;
}

void TPasswordDialogs::FreePin() { Free(pin_); }

void TPasswordDialogs::FreePuk() {
    Free(puk_);
    Free(newPin_);
}

TPasswordDlg* TPasswordDialogs::OpenPin(QWidget* owner, std::optional<int> attemptsLeft) {
    FreePin();
    auto* dlg = attemptsLeft ? new TPasswordDlg(TPasswordDlg::kStartPin, owner, *attemptsLeft)
                             : new TPasswordDlg(TPasswordDlg::kStartPin, owner);
    dlg->SetDeviceStateSource(state_);
    dlg->Label_Password1Caption->setText(GetString(1038));
    pin_ = dlg;
    dlg->ShowOnTop();
    return dlg;
}

TPasswordDlg* TPasswordDialogs::OpenPuk(QWidget* owner, std::optional<int> attemptsLeft) {
    FreePuk();
    auto* dlg = attemptsLeft ? new TPasswordDlg(TPasswordDlg::kStartPuk, owner, *attemptsLeft)
                             : new TPasswordDlg(TPasswordDlg::kStartPuk, owner);
    dlg->SetDeviceStateSource(state_);
    newPin_ = new TPasswordDlg(TPasswordDlg::kNewPin, owner);
    newPin_->SetDeviceStateSource(state_);
    puk_ = dlg;
    dlg->ShowOnTop();
    return dlg;
}
