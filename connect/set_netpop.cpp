#include "connect/set_netpop.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <cstring>

#include "app/messagebox.h"
#include "core/strings.h"
#include "platform/codepage.h"
#include "widgets/imagebutton.h"
#include "widgets/ipedit.h"
#include "widgets/skin.h"
#include "widgets/titlestrip.h"

namespace {
constexpr int kWidth = 520;
constexpr int kHeight = 428;
const QString kZero = QStringLiteral("0.0.0.0");

std::function<int(TSet_netpopbase&)>& responder() {
    static std::function<int(TSet_netpopbase&)> r;
    return r;
}

std::string bytes(const QString& s) { return codepage::FromQString(s).toStdString(); }
QString text(const char* field, std::size_t width) { return codepage::ToQString(field, width); }

template <class W>
W* make(QWidget* parent, const char* name, const QRect& r) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(r);
    return w;
}

void pair(QObject* owner, QRadioButton* a, QRadioButton* b) {
    auto* g = new QButtonGroup(owner);
    g->addButton(a);
    g->addButton(b);
    g->setExclusive(true);
}
}  // namespace

void TSet_netpopbase::SetResponder(std::function<int(TSet_netpopbase&)> r) { responder() = std::move(r); }

TSet_netpopbase::TSet_netpopbase(QWidget* owner, const char* name)
    : QDialog(owner, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName(QString::fromLatin1(name));
    setFixedSize(kWidth, kHeight);
    // View-only inputs look it.
    setStyleSheet(QString::fromLatin1(skin::StyleSheet()) +
                  QStringLiteral("QLineEdit:disabled { background: #eceff2; color: #6b7885; }"));
    auto* title = new TTitleStrip(this);
    title->setGeometry(0, 0, kWidth, skin::kTitleHeight);
    title->SetCaption(GetString(3054));
    ImImage_Close = new TImageButton(this, "ImImage_Close", TImageButton::Glyph::Close);
    ImImage_Close->setGeometry(kWidth - 22, 4, 18, 18);

    const int L = 20, R = 276, W = 230;
    Label_name = make<QLabel>(this, "Label_name", QRect(L, 36, W, 18));
    Edit_filename = make<QLineEdit>(this, "Edit_filename", QRect(L, 54, W, 24));
    Edit_filename->setMaxLength(18);
    Label_number = make<QLabel>(this, "Label_number", QRect(L, 84, W, 18));
    Edit_login_no = make<QLineEdit>(this, "Edit_login_no", QRect(L, 102, W, 24));
    Edit_login_no->setMaxLength(18);
    Check_Save = make<QCheckBox>(this, "Check_Save", QRect(L, 136, W + 20, 22));
    Label_user = make<QLabel>(this, "Label_user", QRect(L, 160, W, 18));
    Edit_user_name = make<QLineEdit>(this, "Edit_user_name", QRect(L, 178, W, 24));
    Edit_user_name->setMaxLength(100);
    Label_password = make<QLabel>(this, "Label_password", QRect(L, 206, W, 18));
    Edit_password = make<QLineEdit>(this, "Edit_password", QRect(L, 224, W, 24));
    Edit_password->setMaxLength(100);
    Edit_password->setEchoMode(QLineEdit::Password);
    Check_Ask = make<QCheckBox>(this, "Check_Ask", QRect(L, 256, W + 20, 22));

    auto* pdpTypeLabel = make<QLabel>(this, "Label_PdpType", QRect(L, 292, 104, 22));
    Radio_IP_PDP = make<QRadioButton>(this, "Radio_IP_PDP", QRect(L + 108, 292, 54, 22));
    Radio_PPP_PDP = make<QRadioButton>(this, "Radio_PPP_PDP", QRect(L + 166, 292, 64, 22));
    auto* authLabel = make<QLabel>(this, "Label_Auth", QRect(L, 320, 104, 22));
    Radio_PAP = make<QRadioButton>(this, "Radio_PAP", QRect(L + 108, 320, 54, 22));
    Radio_CHAP = make<QRadioButton>(this, "Radio_CHAP", QRect(L + 166, 320, 64, 22));

    Radio_auto_APN = make<QRadioButton>(this, "Radio_auto_APN", QRect(R, 36, W, 22));
    Radio_manul_APN = make<QRadioButton>(this, "Radio_manul_APN", QRect(R, 58, W, 22));
    Label_APN = make<QLabel>(this, "Label_APN", QRect(R, 84, W, 18));
    Edit_manual_APN = make<QLineEdit>(this, "Edit_manual_APN", QRect(R, 102, W, 24));
    Edit_manual_APN->setMaxLength(100);

    Radio_auto_DNS = make<QRadioButton>(this, "Radio_auto_DNS", QRect(R, 136, W, 22));
    Radio_manual_DNS = make<QRadioButton>(this, "Radio_manual_DNS", QRect(R, 158, W, 22));
    // The address inputs sit 120 x 21 in their panels, with room for the
    // captions on their left.
    DnsPanel = make<QFrame>(this, "DnsPanel", QRect(R - 8, 180, 242, 70));
    Label_PrimaryDns = make<QLabel>(DnsPanel, "Label_PrimaryDns", QRect(8, 12, 108, 18));
    PrimaryDns = new TIPAddressEdit(DnsPanel, "PrimaryDns");
    PrimaryDns->setGeometry(116, 10, 120, 21);
    Label_AlternateDns = make<QLabel>(DnsPanel, "Label_AlternateDns", QRect(8, 44, 108, 18));
    AlternateDns = new TIPAddressEdit(DnsPanel, "AlternateDns");
    AlternateDns->setGeometry(116, 42, 120, 21);

    Radio_auto_PDP = make<QRadioButton>(this, "Radio_auto_PDP", QRect(R, 256, W, 22));
    Radio_manual_PDP = make<QRadioButton>(this, "Radio_manual_PDP", QRect(R, 278, W, 22));
    PdpPanel = make<QFrame>(this, "PdpPanel", QRect(R - 8, 300, 242, 40));
    Label_PdpAddress = make<QLabel>(PdpPanel, "Label_PdpAddress", QRect(8, 12, 108, 18));
    PdpAddress = new TIPAddressEdit(PdpPanel, "PdpAddress");
    PdpAddress->setGeometry(116, 10, 120, 21);

    OkButton = new TImageButton(this, "OkButton");
    OkButton->setGeometry(kWidth - 212, kHeight - 48, 92, 30);
    CancelButton = new TImageButton(this, "CancelButton");
    CancelButton->setGeometry(kWidth - 112, kHeight - 48, 92, 30);

    pair(this, Radio_auto_APN, Radio_manul_APN);
    pair(this, Radio_auto_DNS, Radio_manual_DNS);
    pair(this, Radio_auto_PDP, Radio_manual_PDP);
    pair(this, Radio_IP_PDP, Radio_PPP_PDP);
    pair(this, Radio_PAP, Radio_CHAP);

    Label_name->setText(GetString(3055));
    Label_number->setText(GetString(3056));
    Label_user->setText(GetString(3057));
    Label_password->setText(GetString(3058));
    Radio_auto_APN->setText(GetString(3061));
    Radio_manul_APN->setText(GetString(3062));
    Radio_auto_DNS->setText(GetString(3063));
    Radio_manual_DNS->setText(GetString(3064));
    Radio_auto_PDP->setText(GetString(3065));
    Radio_manual_PDP->setText(GetString(3066));
    pdpTypeLabel->setText(GetString(3067));
    Label_APN->setText(GetString(3068));
    Label_PrimaryDns->setText(GetString(3069));
    Label_AlternateDns->setText(GetString(3070));
    Label_PdpAddress->setText(GetString(3071));
    Radio_IP_PDP->setText(GetString(3072));
    Radio_PPP_PDP->setText(GetString(3073));
    Radio_PAP->setText(QStringLiteral("PAP"));
    Radio_CHAP->setText(QStringLiteral("CHAP"));
    authLabel->setText(GetString(3125));
    Check_Ask->setText(GetString(3126));
    Check_Ask->setToolTip(GetString(3126));
    Check_Save->setText(GetString(3127));
    OkButton->setText(GetString(6));
    CancelButton->setText(GetString(7));

    connect(Radio_auto_APN, &QRadioButton::toggled, this, [this] { FollowApnChoice(); });
    connect(Radio_auto_DNS, &QRadioButton::toggled, this, [this] { FollowDnsChoice(); });
    connect(Radio_auto_PDP, &QRadioButton::toggled, this, [this] { FollowPdpChoice(); });
    connect(Check_Save, &QCheckBox::clicked, this, [this] { FollowSaveChoice(); });
    connect(OkButton, &QAbstractButton::clicked, this, [this] { OkButtonClick(); });
    connect(CancelButton, &QAbstractButton::clicked, this, [this] { CancelButtonClick(); });
    connect(ImImage_Close, &QAbstractButton::clicked, this, [this] { CancelButtonClick(); });
}

int TSet_netpopbase::exec() {
    if (responder()) {
        if (auto* add = dynamic_cast<TSet_netpopform*>(this)) add->FormShow();
        return responder()(*this);
    }
    // Centred on the desktop.
    return QDialog::exec();
}

void TSet_netpopbase::CancelButtonClick() { done(2); }

void TSet_netpopbase::FollowApnChoice() {
    const bool manual = Radio_manul_APN->isChecked();
    Edit_manual_APN->setEnabled(manual);
    Label_APN->setEnabled(manual);
    Edit_manual_APN->setStyleSheet(manual ? QStringLiteral("background: white;") : QStringLiteral("background: #eceff2;"));
}

void TSet_netpopbase::FollowDnsChoice() {
    const bool manual = Radio_manual_DNS->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(PrimaryDns), static_cast<QWidget*>(AlternateDns),
                       static_cast<QWidget*>(Label_PrimaryDns), static_cast<QWidget*>(Label_AlternateDns)})
        w->setEnabled(manual);
}

void TSet_netpopbase::FollowPdpChoice() {
    const bool manual = Radio_manual_PDP->isChecked();
    PdpAddress->setEnabled(manual);
    Label_PdpAddress->setEnabled(manual);
}

void TSet_netpopbase::FollowSaveChoice() {
    const bool save = Check_Save->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(Edit_user_name), static_cast<QWidget*>(Edit_password),
                       static_cast<QWidget*>(Label_user), static_cast<QWidget*>(Label_password)})
        w->setEnabled(save);
    if (!save) {
        Edit_user_name->clear();
        Edit_password->clear();
    }
}

void TSet_netpopbase::refuse(unsigned id) { ShowMessageBox(this, GetString(id), 1); }

bool TSet_netpopbase::CheckInputs() {
    if (Radio_manul_APN->isChecked() && Edit_manual_APN->text().isEmpty()) {
        refuse(3111);
        return false;
    }
    if (Radio_manual_DNS->isChecked() && PrimaryDns->Text() == kZero && AlternateDns->Text() == kZero) {
        refuse(3112);
        return false;
    }
    if (Radio_manual_PDP->isChecked() && PdpAddress->Text() == kZero) {
        refuse(3113);
        return false;
    }
    if (Edit_filename->text().trimmed().isEmpty()) {
        refuse(3059);
        return false;
    }
    return true;
}

ProfileRecord TSet_netpopbase::BuildRecord(bool emptyForZero) const {
    using profiles::SetField;
    ProfileRecord r{};
    auto address = [emptyForZero](const TIPAddressEdit* e) {
        const QString t = e->Text();
        return emptyForZero && t == kZero ? std::string() : bytes(t);
    };
    SetField(r.name, bytes(Edit_filename->text()));
    SetField(r.number, bytes(Edit_login_no->text()));
    if (Radio_auto_APN->isChecked()) {
        SetField(r.apnMode, "1");
    } else {
        SetField(r.apnMode, "0");
        SetField(r.apn, bytes(Edit_manual_APN->text()));
    }
    if (Radio_auto_DNS->isChecked()) {
        SetField(r.dnsMode, "1");
    } else {
        SetField(r.dnsMode, "0");
        SetField(r.dns1, address(PrimaryDns));
        SetField(r.dns2, address(AlternateDns));
    }
    if (Radio_auto_PDP->isChecked()) {
        SetField(r.pdpMode, "1");
    } else {
        SetField(r.pdpMode, "0");
        SetField(r.pdpAddress, address(PdpAddress));
    }
    SetField(r.pdpType, Radio_IP_PDP->isChecked() ? "IP" : "PPP");
    SetField(r.auth, Radio_PAP->isChecked() ? "PAP" : "CHAP");
    SetField(r.askFlag, Check_Ask->isChecked() ? "1" : "0");
    if (Check_Save->isChecked()) {
        profiles::Scramble(bytes(Edit_user_name->text()), r.userName);
        profiles::Scramble(bytes(Edit_password->text()), r.password);
        SetField(r.saveFlag, "1");
    } else {
        SetField(r.saveFlag, "0");
    }
    return r;
}

void TSet_netpopbase::paintEvent(QPaintEvent*) {
    QPainter p(this);
    skin::PaintWindowFrame(p, rect());
    p.setPen(QPen(skin::kAccentLight, 1));
    p.drawLine(QPointF(262, 40), QPointF(262, height() - 60));
}

// --- add ----------------------------------------------------------------------

TSet_netpopform::TSet_netpopform(QWidget* owner) : TSet_netpopbase(owner, "TSet_netpopform") {}

void TSet_netpopform::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

void TSet_netpopform::FormShow() {
    for (QLineEdit* e : {Edit_filename, Edit_login_no, Edit_user_name, Edit_password, Edit_manual_APN}) {
        e->setEnabled(true);
        e->clear();
    }
    for (QWidget* w : std::initializer_list<QWidget*>{Radio_auto_APN, Radio_manul_APN, Radio_auto_DNS, Radio_manual_DNS,
                                                      Radio_auto_PDP, Radio_manual_PDP, Radio_IP_PDP, Radio_PPP_PDP,
                                                      Radio_PAP, Radio_CHAP, Check_Ask, Check_Save, Label_name,
                                                      Label_number})
        w->setEnabled(true);
    Radio_auto_APN->setChecked(true);
    Radio_auto_DNS->setChecked(true);
    Radio_auto_PDP->setChecked(true);
    Radio_IP_PDP->setChecked(true);
    Radio_PAP->setChecked(true);
    // The address inputs keep their last text; Check_Ask and Check_Save keep their tick.
    FollowApnChoice();
    FollowDnsChoice();
    FollowPdpChoice();
    const bool save = Check_Save->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(Edit_user_name), static_cast<QWidget*>(Edit_password),
                       static_cast<QWidget*>(Label_user), static_cast<QWidget*>(Label_password)})
        w->setEnabled(save);
}

void TSet_netpopform::OkButtonClick() {
    if (!CheckInputs()) return;
    if (ListNames.contains(Edit_filename->text())) {
        refuse(3060);
        return;
    }
    const ProfileRecord r = BuildRecord(false);
    if (!profiles::Append(r)) {
        ShowMessageBox(this, GetString(3050), 2);
        return;
    }
    AddedName = codepage::ToQString(r.name, sizeof r.name);
    done(1);
}

// --- edit ---------------------------------------------------------------------

TSet_netpopeditform::TSet_netpopeditform(QWidget* owner) : TSet_netpopbase(owner, "TSet_netpopeditform") {}

void TSet_netpopeditform::LoadRecord(const ProfileRecord& r, bool readOnly) {
    OldRecord = r;
    Edit_filename->setText(text(r.name, sizeof r.name));
    Edit_login_no->setText(text(r.number, sizeof r.number));
    Edit_user_name->setText(codepage::ToQString(QByteArray::fromStdString(profiles::Unscramble(r.userName))));
    Edit_password->setText(codepage::ToQString(QByteArray::fromStdString(profiles::Unscramble(r.password))));
    const bool autoApn = profiles::Field(r.apnMode) == "1";
    (autoApn ? Radio_auto_APN : Radio_manul_APN)->setChecked(true);
    Edit_manual_APN->setText(autoApn ? QString() : text(r.apn, sizeof r.apn));
    const bool autoDns = profiles::Field(r.dnsMode) == "1";
    (autoDns ? Radio_auto_DNS : Radio_manual_DNS)->setChecked(true);
    if (!autoDns) {
        PrimaryDns->SetText(text(r.dns1, sizeof r.dns1));
        AlternateDns->SetText(text(r.dns2, sizeof r.dns2));
    }
    const bool autoPdp = profiles::Field(r.pdpMode) == "1";
    (autoPdp ? Radio_auto_PDP : Radio_manual_PDP)->setChecked(true);
    if (!autoPdp) PdpAddress->SetText(text(r.pdpAddress, sizeof r.pdpAddress));
    (profiles::Field(r.pdpType) == "IP" ? Radio_IP_PDP : Radio_PPP_PDP)->setChecked(true);
    (profiles::Field(r.auth) == "PAP" ? Radio_PAP : Radio_CHAP)->setChecked(true);
    Check_Ask->setChecked(profiles::Field(r.askFlag) == "1");
    Check_Save->setChecked(profiles::Field(r.saveFlag) == "1");

    const QList<QWidget*> inputs{Edit_filename,  Edit_login_no,    Edit_user_name, Edit_password,    Edit_manual_APN,
                                 Radio_auto_APN, Radio_manul_APN,  Radio_auto_DNS, Radio_manual_DNS, Radio_auto_PDP,
                                 Radio_manual_PDP, Radio_IP_PDP,   Radio_PPP_PDP,  Radio_PAP,        Radio_CHAP,
                                 Check_Ask,      Check_Save,       PrimaryDns,     AlternateDns,     PdpAddress,
                                 Label_APN,      Label_PrimaryDns, Label_AlternateDns, Label_PdpAddress, Label_user,
                                 Label_password};
    for (QWidget* w : inputs) w->setEnabled(!readOnly);
    if (readOnly) {
        Edit_manual_APN->setStyleSheet(QStringLiteral("background: #eceff2;"));
        return;
    }
    FollowApnChoice();
    FollowDnsChoice();
    FollowPdpChoice();
    const bool save = Check_Save->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(Edit_user_name), static_cast<QWidget*>(Edit_password),
                       static_cast<QWidget*>(Label_user), static_cast<QWidget*>(Label_password)})
        w->setEnabled(save);
}

void TSet_netpopeditform::OkButtonClick() {
    if (!CheckInputs()) return;
    const QString trimmed = Edit_filename->text().trimmed();
    const QString oldName = text(OldRecord.name, sizeof OldRecord.name);
    for (const QString& n : ListNames) {
        if (n != oldName && n == trimmed) {
            refuse(3060);
            return;
        }
    }
    NewRecord = BuildRecord(true);
    // The list must never show values that were not stored.
    if (!profiles::Replace(OldRecord, NewRecord)) {
        ShowMessageBox(this, GetString(3050), 2);
        return;
    }
    TrimmedName = trimmed;
    done(1);
}
