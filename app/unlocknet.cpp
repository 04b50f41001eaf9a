#include "app/unlocknet.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <cstdint>
#include <memory>

#include "app/messagebox.h"
#include "core/strings.h"
#include "platform/codepage.h"
#include "platform/paths.h"
#include "velkdev/velkdev.h"
#include "widgets/imagebutton.h"
#include "widgets/skin.h"
#include "widgets/titlestrip.h"

namespace {
constexpr int kWidth = 580;
constexpr int kHeight = 386;
constexpr int kCodeLength = 16;
// The texts sit left of the picture's padlock, inside its accent bar.
constexpr int kLeft = 38;
constexpr int kTextWidth = 384;
constexpr int kAccentBar = 18;

// The texts of this window are fixed; they are not in the language table.
const char* const kIntro =
    "To Network Unlock the datacard, contact Varenta Customer Care by phone and quote this IMEI number for the datacard.";
const char* const kImeiCaption = "Your Datacard IMEI Code is: ";
const char* const kInstructions =
    "Follow the instructions from Varenta and enter the quoted unlock code below when advised. ";
const char* const kCodeCaption = "Unlock Code: ";
const char* const kNote =
    "Note: If the wrong unlock code is entered five times, the card will no longer be unlockable. Contact Varenta "
    "Customer Care for further details.";

QLabel* makeLabel(QWidget* parent, const char* name, const char* text, QRect where, bool wrap) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(where);
    l->setWordWrap(wrap);
    l->setAlignment(Qt::AlignLeft | (wrap ? Qt::AlignTop : Qt::AlignVCenter));
    return l;
}
}  // namespace

TUI_UnlockNetFrm::TUI_UnlockNetFrm(QWidget* owner) : QDialog(owner, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName(QStringLiteral("TUI_UnlockNetFrm"));
    setFixedSize(kWidth, kHeight);
    setStyleSheet(QString::fromLatin1(skin::StyleSheet()) +
                  QStringLiteral("QLabel { background: transparent; font-size: 10pt; }"
                                 "QLabel#lbl_IMEI { font-weight: bold; color: %1; font-size: 11pt; }"
                                 "QLabel#Label_Note { color: %2; font-size: 9pt; }"
                                 "QLineEdit#Edit_Password { font-size: 11pt; font-family: monospace; }")
                      .arg(skin::kAccentDark.name(), skin::kMuted.name()));

    background_ = QImage(paths::NativePath(paths::InFolder(QStringLiteral("\\resource\\image\\UI_UnlockForm.jpg"))));

    Label_Title = new TTitleStrip(this, "Label_Title");
    Label_Title->setGeometry(0, 0, kWidth, skin::kTitleHeight);
    Label_Title->SetCaption(QStringLiteral("      ") + GetString(1001));
    ImImage_Title_Logo = new QLabel(this);
    ImImage_Title_Logo->setObjectName(QStringLiteral("ImImage_Title_Logo"));
    ImImage_Title_Logo->setPixmap(QPixmap(paths::NativePath(QStringLiteral("resource\\image\\logo\\peluMinLogo.bmp"))));
    ImImage_Title_Logo->setGeometry(7, 5, 16, 16);
    ImImage_Title_Close = new TImageButton(this, "ImImage_Title_Close", TImageButton::Glyph::Close);
    ImImage_Title_Close->setGeometry(kWidth - 22, 4, 18, 18);
    connect(ImImage_Title_Close, &QAbstractButton::clicked, this, [this] { ImImage_Title_CloseClick(); });

    Label_Intro = makeLabel(this, "Label_Intro", kIntro, QRect(kLeft, 52, kTextWidth, 58), true);
    Label_IMEICaption = makeLabel(this, "Label_IMEICaption", kImeiCaption, QRect(kLeft, 114, 200, 26), false);
    lbl_IMEI = makeLabel(this, "lbl_IMEI", "", QRect(kLeft + 200, 114, kTextWidth - 200, 26), false);
    lbl_IMEI->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label_Instructions = makeLabel(this, "Label_Instructions", kInstructions, QRect(kLeft, 150, kTextWidth, 40), true);
    Label_CodeCaption = makeLabel(this, "Label_CodeCaption", kCodeCaption, QRect(kLeft, 204, 100, 28), false);

    Edit_Password = new QLineEdit(this);
    Edit_Password->setObjectName(QStringLiteral("Edit_Password"));
    Edit_Password->setMaxLength(kCodeLength);
    Edit_Password->setGeometry(kLeft + 100, 204, 200, 28);
    connect(Edit_Password, &QLineEdit::textChanged, this, [this] { Edit_PasswordChange(); });

    Label_Note = makeLabel(this, "Label_Note", kNote, QRect(kLeft, 250, kTextWidth, 70), true);

    OkButton = new TImageButton(this, "OkButton");
    OkButton->setText(QStringLiteral("OK"));
    OkButton->setGeometry(kWidth - 2 * 88 - 14, kHeight - 38, 80, 26);
    OkButton->setEnabled(false);
    connect(OkButton, &QAbstractButton::clicked, this, [this] { OkButtonClick(); });
    CancelButton = new TImageButton(this, "CancelButton");
    CancelButton->setText(QStringLiteral("Cancel"));
    CancelButton->setGeometry(kWidth - 88 - 14, kHeight - 38, 80, 26);
    connect(CancelButton, &QAbstractButton::clicked, this, [this] { CancelButtonClick(); });

    // The IMEI is read once; a failed read leaves the buffer empty.
    char imei[36] = {};
    Velk_QueryImei(imei);
    lbl_IMEI->setText(codepage::ToQString(imei, sizeof imei));

    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
    Edit_Password->setFocus();
}

QString TUI_UnlockNetFrm::Code() const { return Edit_Password->text(); }

void TUI_UnlockNetFrm::Edit_PasswordChange() { OkButton->setEnabled(Edit_Password->text().size() > kCodeLength - 1); }

void TUI_UnlockNetFrm::OkButtonClick() {
    const QString code = Edit_Password->text();
    if (code.isEmpty()) ShowMessageBox(this, GetString(1159), 2);
    else if (code.size() < kCodeLength) ShowMessageBox(this, GetString(1160), 2);
    else accept();
}

void TUI_UnlockNetFrm::CancelButtonClick() { reject(); }
void TUI_UnlockNetFrm::ImImage_Title_CloseClick() { reject(); }

void TUI_UnlockNetFrm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (OkButton->isEnabled()) OkButtonClick();
        return;
    }
    QDialog::keyPressEvent(e);  // Escape cancels
}

void TUI_UnlockNetFrm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!background_.isNull()) {
        p.drawImage(QPoint(0, 0), background_);
    } else {
        // No picture beside the program: the same arrangement drawn plainly,
        // a light surface under the title strip with the accent bar.
        QLinearGradient g(0, skin::kTitleHeight, 0, 110);
        g.setColorAt(0, skin::kAccentLight);
        g.setColorAt(1, skin::kSurface);
        p.fillRect(rect(), skin::kSurface);
        p.fillRect(QRect(0, skin::kTitleHeight, kWidth, 84), g);
        p.fillRect(QRect(kAccentBar, 44, 3, 300), skin::kAccent.lighter(150));
    }
    QLinearGradient t(0, 0, 0, skin::kTitleHeight);
    t.setColorAt(0, skin::kAccent.lighter(112));
    t.setColorAt(1, skin::kAccent);
    p.fillRect(QRect(0, 0, kWidth, skin::kTitleHeight), t);
    p.setPen(QPen(skin::kBorder, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

int RunNetworkUnlock(QWidget* owner, bool online) {
    auto frm = std::make_unique<TUI_UnlockNetFrm>(owner);
    frm->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    const int result = frm->exec();
    const QByteArray code = codepage::FromQString(frm->Code());
    frm.reset();
    if (owner) owner->setEnabled(true);
    if (result != QDialog::Accepted) return 22;  // the lock was refused

    std::uint8_t outcome = 0;
    if (Velk_UnlockNet(code.constData(), &outcome) != 0) return 0;
    if (outcome == 0) {
        ShowMessageBox(owner, GetString(1158), 1);
        return online ? 13 : 7;
    }
    if (outcome == 1 || outcome == 2) return online ? 13 : 14;  // the lock check comes back here
    if (outcome == 3) ShowMessageBox(owner, GetString(1161), 2);
    return 22;
}
