#include "prefs/setmenu.h"

#include <QPainter>
#include <QVariant>

#include "app/windows.h"
#include "connect/connect_host.h"
#include "connect/data_connectform.h"
#include "core/strings.h"
#include "widgets/imagebutton.h"
#include "widgets/skin.h"

namespace {
constexpr int kWidth = 628;
constexpr int kHeight = 319;

// The busy flag the network page keeps, else what the program knows itself.
bool pageFlag(const char* name, const std::function<bool()>& fallback) {
    if (QWidget* net = windows::Find("TSet_netform")) {
        const QVariant v = net->property(name);
        if (v.isValid()) return v.toBool();
    }
    return fallback();
}

void enableNamed(QWidget* page, std::initializer_list<const char*> names, bool enable, bool white = false) {
    if (!page) return;
    for (const char* n : names) {
        if (auto* w = page->findChild<QWidget*>(QString::fromLatin1(n))) {
            w->setEnabled(enable);
            if (white) w->setStyleSheet(QStringLiteral("background: white;"));
        }
    }
}
}  // namespace

TSetMenuForm::TSetMenuForm(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TSetMenuForm"));
    // The menu covers the whole central panel, so the page under it never shows through.
    setGeometry(0, 0, parent ? qMax(kWidth, parent->width()) : kWidth, parent ? qMax(kHeight, parent->height()) : kHeight);
    setStyleSheet(QString::fromLatin1(skin::StyleSheet()));
    DataBusy = [] {
        auto* data = windows::Get<TData_connectform>("TData_connectform");
        return data && data->ConnectionState() != TData_connectform::Idle;
    };
    CallBusy = [] { return host::CallInProgress(); };

    struct Item {
        TImageButton** button;
        const char* name;
        unsigned text;
    };
    const Item items[] = {{&CfgfileButton, "CfgfileButton", 3155}, {&SafecfgButton, "SafecfgButton", 3019},
                          {&NetcfgButton, "NetcfgButton", 3020},   {&MsgcfgButton, "MsgcfgButton", 3021},
                          {&SoundcfgButton, "SoundcfgButton", 3022}, {&RestorecfgButton, "RestorecfgButton", 3023}};
    int y = 14;
    for (const Item& it : items) {
        *it.button = new TImageButton(this, it.name);
        (*it.button)->setGeometry(14, y, 156, 36);
        (*it.button)->setText(GetString(it.text));
        y += 46;
    }
    RestorecfgButton->setToolTip(GetString(3108));
    RestorecfgButton->hide();
    connect(CfgfileButton, &QAbstractButton::clicked, this, [this] { CfgfileButtonClick(); });
    connect(SafecfgButton, &QAbstractButton::clicked, this, [this] { SafecfgButtonClick(); });
    connect(NetcfgButton, &QAbstractButton::clicked, this, [this] { NetcfgButtonClick(); });
    connect(MsgcfgButton, &QAbstractButton::clicked, this, [this] { MsgcfgButtonClick(); });
    connect(SoundcfgButton, &QAbstractButton::clicked, this, [this] { SoundcfgButtonClick(); });
    hide();
    windows::Register("TSetMenuForm", this);
}

TSetMenuForm::~TSetMenuForm() { windows::Unregister("TSetMenuForm"); }

TImageButton* TSetMenuForm::buttonOf(Page page) const {
    switch (page) {
    case PageProfiles: return CfgfileButton;
    case PageSecurity: return SafecfgButton;
    case PageNetwork: return NetcfgButton;
    case PageSms: return MsgcfgButton;
    case PageSounds: return SoundcfgButton;
    default: return nullptr;
    }
}

void TSetMenuForm::MarkPageShown(Page page) {
    page_ = page;
    for (Page p : {PageProfiles, PageSecurity, PageNetwork, PageSms, PageSounds}) buttonOf(p)->setEnabled(p != page);
}

void TSetMenuForm::showPage(Page page, const char* windowName) {
    MarkPageShown(page);
    // The pages are siblings in the main panel: only one is shown at a time.
    for (const char* other : {"TSet_netsub", "TSet_securityform", "TSet_netform", "TSet_msgform", "TSet_soundform"}) {
        if (QWidget* w = windows::Find(other); w && std::string(other) != windowName) w->hide();
    }
    if (QWidget* w = windows::Find(windowName)) {
        w->hide();
        w->show();
        w->raise();
    }
    MarkPageShown(page);
}

void TSetMenuForm::CfgfileButtonClick() { showPage(PageProfiles, "TSet_netsub"); }

void TSetMenuForm::SafecfgButtonClick() {
    showPage(PageSecurity, "TSet_securityform");
    const bool dataBusy = pageFlag("DataBusy", DataBusy);
    QWidget* page = windows::Find("TSet_securityform");
    if (deviceState_ == 12 && !dataBusy) enableNamed(page, {"CheckBox_EnablePIN", "ImButton_ModPIN"}, true);
    if (dataBusy) enableNamed(page, {"CheckBox_EnablePIN", "ImButton_ModPIN"}, false);
}

void TSetMenuForm::NetcfgButtonClick() {
    showPage(PageNetwork, "TSet_netform");
    const bool dataBusy = pageFlag("DataBusy", DataBusy);
    const bool callBusy = pageFlag("CallBusy", CallBusy);
    QWidget* page = windows::Find("TSet_netform");
    if (deviceState_ == 12 && !dataBusy) enableNamed(page, {"RadioGroup_NetOpt", "RadioGroup_Auto", "ManualSelectBtn"}, true);
    if (dataBusy || callBusy) enableNamed(page, {"RadioGroup_NetOpt", "RadioGroup_Auto", "ManualSelectBtn"}, false);
}

void TSetMenuForm::MsgcfgButtonClick() {
    showPage(PageSms, "TSet_msgform");
    if (deviceState_ == 12) enableNamed(windows::Find("TSet_msgform"), {"Edit_MSGCen", "Combo_SMSStore"}, true, true);
}

void TSetMenuForm::SoundcfgButtonClick() { showPage(PageSounds, "TSet_soundform"); }

void TSetMenuForm::OpenFromToolbar() {
    hide();
    show();
    raise();
    showPage(PageProfiles, "TSet_netsub");
    host::SetMainTitle(GetString(3155));
    QWidget* security = windows::Find("TSet_securityform");
    const bool dataBusy = pageFlag("DataBusy", DataBusy);
    if (deviceState_ == 12 && !dataBusy) enableNamed(security, {"CheckBox_EnablePIN", "ImButton_ModPIN"}, true);
    if (dataBusy) enableNamed(security, {"CheckBox_EnablePIN", "ImButton_ModPIN"}, false);
}

void TSetMenuForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), skin::kSurface);
    p.setPen(Qt::NoPen);
    p.setBrush(skin::kAccentLight);
    p.drawRoundedRect(QRectF(6, 6, 172, height() - 12), 8, 8);
}
