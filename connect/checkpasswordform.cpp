#include "connect/checkpasswordform.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <cstring>

#include "app/messagebox.h"
#include "connect/dialdata.h"
#include "connect/domain/profile.h"
#include "core/strings.h"
#include "platform/codepage.h"
#include "widgets/artwork.h"
#include "widgets/imagebutton.h"
#include "widgets/skin.h"
#include "widgets/titlestrip.h"

namespace {
constexpr int kWidth = 340;
constexpr int kHeight = 190;
std::function<int(TCheckPasswordForm&)>& responder() {
    static std::function<int(TCheckPasswordForm&)> r;
    return r;
}
std::string bytes(const QLineEdit* e) { return codepage::FromQString(e->text()).toStdString(); }
}  // namespace

void TCheckPasswordForm::SetResponder(std::function<int(TCheckPasswordForm&)> r) { responder() = std::move(r); }

TCheckPasswordForm::TCheckPasswordForm(QWidget* owner) : QDialog(owner, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName(QStringLiteral("TCheckPasswordForm"));
    setFixedSize(kWidth, kHeight);
    setStyleSheet(QString::fromLatin1(skin::StyleSheet()));
    auto* title = new TTitleStrip(this);
    title->setGeometry(0, 0, kWidth, skin::kTitleHeight);
    title->SetCaption(QStringLiteral("      Linkora"));
    LogoImage = new QLabel(this);
    LogoImage->setObjectName(QStringLiteral("LogoImage"));
    LogoImage->setPixmap(artwork::SmallLogo(18));
    LogoImage->setGeometry(6, 4, 18, 18);
    ImImage_Close = new TImageButton(this, "ImImage_Close", TImageButton::Glyph::Close);
    ImImage_Close->setGeometry(kWidth - 22, 4, 18, 18);

    Label_username = new QLabel(this);
    Label_username->setObjectName(QStringLiteral("Label_username"));
    Label_username->setGeometry(20, 44, 90, 22);
    Edit_username = new QLineEdit(this);
    Edit_username->setObjectName(QStringLiteral("Edit_username"));
    Edit_username->setGeometry(112, 42, 208, 24);
    Edit_username->setMaxLength(100);
    Label_password = new QLabel(this);
    Label_password->setObjectName(QStringLiteral("Label_password"));
    Label_password->setGeometry(20, 78, 90, 22);
    Edit_password = new QLineEdit(this);
    Edit_password->setObjectName(QStringLiteral("Edit_password"));
    Edit_password->setGeometry(112, 76, 208, 24);
    Edit_password->setMaxLength(100);
    Edit_password->setEchoMode(QLineEdit::Password);
    CheckBox_Save = new QCheckBox(this);
    CheckBox_Save->setObjectName(QStringLiteral("CheckBox_Save"));
    CheckBox_Save->setGeometry(112, 110, 220, 22);
    ImButton_OK = new TImageButton(this, "ImButton_OK");
    ImButton_OK->setGeometry(136, 146, 88, 28);
    ImButton_Cancel = new TImageButton(this, "ImButton_Cancel");
    ImButton_Cancel->setGeometry(232, 146, 88, 28);

    Label_username->setText(GetString(3057));
    Label_password->setText(GetString(3058));
    CheckBox_Save->setText(GetString(6034));
    ImButton_OK->setText(GetString(6));
    ImButton_Cancel->setText(GetString(7));

    const ProfileRecord& p = profiles::CurrentProfile();
    if (profiles::Field(p.saveFlag) == "1") {
        Edit_username->setText(codepage::ToQString(QByteArray::fromStdString(profiles::Unscramble(p.userName))));
        Edit_password->setText(codepage::ToQString(QByteArray::fromStdString(profiles::Unscramble(p.password))));
        CheckBox_Save->setChecked(true);
    }
    connect(ImButton_OK, &QAbstractButton::clicked, this, [this] { ImButton_OKClick(); });
    connect(ImButton_Cancel, &QAbstractButton::clicked, this, [this] { ImButton_CancelClick(); });
    connect(ImImage_Close, &QAbstractButton::clicked, this, [this] { ImButton_CancelClick(); });
}

int TCheckPasswordForm::exec() {
    if (responder()) return responder()(*this);
    return QDialog::exec();
}

void TCheckPasswordForm::ImButton_OKClick() {
    ProfileRecord& p = profiles::CurrentProfile();
    const std::string save = CheckBox_Save->isChecked() ? "1" : "0";
    const std::string user = bytes(Edit_username);
    const std::string password = bytes(Edit_password);
    char scUser[104], scPassword[104];
    profiles::Scramble(user, scUser);
    profiles::Scramble(password, scPassword);
    const bool unchanged = profiles::Field(scUser, 104) == profiles::Field(p.userName) &&
                           profiles::Field(scPassword, 104) == profiles::Field(p.password) &&
                           save == profiles::Field(p.saveFlag);
    if (!unchanged) {
        if (save == "1") {
            std::memcpy(p.userName, scUser, sizeof p.userName);
            std::memcpy(p.password, scPassword, sizeof p.password);
        } else {
            std::memset(p.userName, 0, sizeof p.userName);
            std::memset(p.password, 0, sizeof p.password);
        }
        dialdata::UserName() = dialdata::Limit(user);
        dialdata::Password() = dialdata::Limit(password);
        profiles::SetField(p.saveFlag, save);
        if (!profiles::StoreCurrent()) ShowMessageBox(this, GetString(3051), 2);
    }
    done(1);
}

void TCheckPasswordForm::ImButton_CancelClick() { done(2); }

void TCheckPasswordForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    skin::PaintWindowFrame(p, rect());
}
