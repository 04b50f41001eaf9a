// The main window's commands: the toolbar buttons that bring a function
// window into the central panel, the tray menu's items, the operations that
// enable and disable them, and the driver registry link.
#include <QApplication>
#include <QFileInfo>
#include <QMetaMethod>
#include <QWidget>

#include "app/callseam.h"
#include "app/mainform.h"
#include "app/messagebox.h"
#include "app/status_display.h"
#include "app/tray.h"
#include "app/windows.h"
#include "core/messages.h"
#include "core/strings.h"
#include "platform/registry.h"
#include "velkdev/velkdev.h"
#include "widgets/imagebutton.h"

namespace {
using Item = TTrayIcon::Item;

const QPoint kOrigin(0, 0);
const QPoint kSettingsPage(183, 10);

// Calls a method a window offers by name (Q_INVOKABLE or slot), if it has one.
bool invokeIfPresent(QWidget* w, const char* method) {
    if (!w) return false;
    const QByteArray sig = QByteArray(method) + "()";
    if (w->metaObject()->indexOfMethod(sig.constData()) < 0) return false;
    return QMetaObject::invokeMethod(w, method, Qt::DirectConnection);
}

void setChildEnabled(const char* window, const char* child, bool on) {
    if (QWidget* w = windows::Find(window))
        if (auto* c = w->findChild<QWidget*>(QString::fromLatin1(child))) c->setEnabled(on);
}
}  // namespace

void TMainform::setTrayItem(int item, bool visible) {
    if (TTrayIcon* t = Tray()) t->SetItemVisible(static_cast<Item>(item), visible);
}

void TMainform::enableTrayItem(int item, bool enabled) {
    if (TTrayIcon* t = Tray()) t->SetItemEnabled(static_cast<Item>(item), enabled);
}

void TMainform::connectCommands() {
    struct Button {
        TImageButton* b;
        void (TMainform::*handler)();
    };
    const Button buttons[] = {
        {FirstpageButton, &TMainform::FirstpageButtonClick}, {InternetButton, &TMainform::InternetButtonClick},
        {MsgButton, &TMainform::MsgButtonClick},             {PonebookButton, &TMainform::PonebookButtonClick},
        {CallButton, &TMainform::CallButtonClick},           {CallhisButton, &TMainform::CallhisButtonClick},
        {ConfigButton, &TMainform::ConfigButtonClick},       {HelpButton, &TMainform::HelpButtonClick},
        {StkButton, &TMainform::StkButtonClick},
    };
    for (const Button& b : buttons) connect(b.b, &QAbstractButton::clicked, this, b.handler);

    TTrayIcon* t = Tray();
    if (!t) return;
    t->OnPowerOff = [this] { Menu_PowerOffClick(); };
    t->OnOffline = [this] { Menu_OfflineClick(); };
    t->OnOnline = [this] { Menu_OnlineClick(); };
    t->OnFSettings = [this] { Menu_FSettingsClick(); };
    t->OnHelp = [this] { Menu_HelpClick(); };
    t->OnUnlock = [this] { UnlockDataCardClick(); };
    t->OnAbout = [this] { Menu_AboutClick(); };
    t->OnExit = [this] { Menu_ExitClick(); };
    t->OnRestore = [this] { RestoreFromTray(); };
    t->OnBeforeMenu = [] {
        if (QWidget* active = QApplication::activeWindow()) {
            active->raise();
            active->activateWindow();
        }
    };
}

// --- the central panel --------------------------------------------------------

// Places a function window in the central panel and re-shows it (hide, then
// show, so its showing logic runs); null when the window does not exist.
QWidget* TMainform::showPage(const char* window, QPoint at, bool showPanel) {
    QWidget* w = windows::Find(window);
    if (!w) return nullptr;
    if (showPanel) Mainpanel->show();
    if (w->parentWidget() != Mainpanel) w->setParent(Mainpanel);
    w->move(at);
    w->hide();
    w->show();
    w->raise();
    update();
    return w;
}

void TMainform::FirstpageButtonClick() {
    Mainpanel->hide();
    SetMainTitle(GetString(1001));
    update();
}

void TMainform::InternetButtonClick() {
    if (QWidget* w = showPage("TData_connectform", kOrigin)) SetMainTitle(w->windowTitle());
}

void TMainform::CallButtonClick() {
    QWidget* w = showPage("TCall_managerform", kOrigin);
    if (!w) return;
    SetMainTitle(w->windowTitle());
    if (auto* memo = w->findChild<QWidget*>(QStringLiteral("Memo1")); memo && memo->isVisible()) memo->setFocus();
}

void TMainform::MsgButtonClick() {
    QWidget* w = windows::Find("TFrmSmsMain");
    if (!w) return;
    Mainpanel->show();
    // The editor forgets where it was opened from.
    invokeIfPresent(windows::Find("TFrmSmsEdit"), "OpenedFromMainWindow");
    SetMainTitle(w->windowTitle());
    showPage("TFrmSmsMain", kOrigin);
    SetMainTitle(w->windowTitle());
    invokeIfPresent(w, "RefreshCounts");
}

void TMainform::PonebookButtonClick() {
    if (!windows::Find("TFrmContacts")) return;
    Mainpanel->show();
    invokeIfPresent(windows::Find("TFrmSmsEdit"), "ClearCallRecordsNotice");
    if (QWidget* w = showPage("TFrmContacts", kOrigin)) SetMainTitle(w->windowTitle());
}

void TMainform::ConfigButtonClick() {
    Mainpanel->show();
    QWidget* menu = showPage("TSetMenuForm", kOrigin);
    QWidget* profiles = showPage("TSet_netsub", kSettingsPage);
    for (const char* b : {"SafecfgButton", "NetcfgButton", "MsgcfgButton", "SoundcfgButton"})
        setChildEnabled("TSetMenuForm", b, true);
    setChildEnabled("TSetMenuForm", "CfgfileButton", false);
    if (profiles) SetMainTitle(profiles->windowTitle());
    (void)menu;
    // The PIN controls work only on a ready card without a data connection.
    const bool pinControls = deviceState_ == 12 && dataState_ == 0;
    for (const char* c : {"CheckBox_EnablePIN", "ImButton_ModPIN"}) setChildEnabled("TSet_securityform", c, pinControls);
}

void TMainform::CallhisButtonClick() {
    QWidget* w = windows::Find("TCrForm");
    if (!w) return;
    Mainpanel->show();
    if (!invokeIfPresent(w, "ShowMissedCalls")) showPage("TCrForm", kOrigin);
}

void TMainform::HelpButtonClick() { Menu_HelpClick(); }

void TMainform::StkButtonClick() {
    if (QWidget* w = showPage("TAffixationfrm", kOrigin)) SetMainTitle(w->windowTitle());
}

// --- enabling ---------------------------------------------------------------------

void TMainform::setToolsEnabled(bool on) {
    for (TImageButton* b : {FirstpageButton, InternetButton, CallButton, MsgButton, PonebookButton, ConfigButton,
                            CallhisButton})
        b->setEnabled(on);
    StkButton->setEnabled(on && deviceState_ == 12);
    enableTrayItem(static_cast<int>(Item::PowerOff), on);
    enableTrayItem(static_cast<int>(Item::Offline), on);
    enableTrayItem(static_cast<int>(Item::About), on);
    if (status_) {
        status_->ImImage_IncomingCall->setEnabled(on);
        status_->ImImage_NewSms->setEnabled(on);
    }
}

void TMainform::DisableTools() { setToolsEnabled(false); }

void TMainform::EnableTools() { setToolsEnabled(true); }

void TMainform::DisableTrayCommands() {
    for (Item i : {Item::Online, Item::PowerOff, Item::Offline, Item::Exit, Item::About})
        enableTrayItem(static_cast<int>(i), false);
}

void TMainform::EnableTrayCommands() {
    for (Item i : {Item::Online, Item::PowerOff, Item::Offline, Item::Exit, Item::FSettings, Item::About})
        enableTrayItem(static_cast<int>(i), true);
}

// --- tray commands ------------------------------------------------------------------

void TMainform::Menu_PowerOffClick() {
    if (refuseCommand(true)) return;
    if (Velk_Poweroff(1) == 0) {
        ShowMessageBox(this, GetString(1102), 2);
        postState(1);
    } else {
        ShowMessageBox(this, GetString(1103), 2);
    }
}

void TMainform::Menu_OfflineClick() {
    if (refuseCommand(true)) return;
    Velk_NetcardStop();
    if (Velk_SetOperationMode(6) != 0) return;
    if (deviceState_ == 7)
        postState(3);
    else if (deviceState_ == 6 || deviceState_ == 11 || deviceState_ == 12)
        postState(7);
}

void TMainform::Menu_OnlineClick() { postState(3); }

void TMainform::UnlockDataCardClick() { postState(3); }

void TMainform::Menu_FSettingsClick() {
    invokeIfPresent(windows::Find("TFrmSmsEdit"), "OpenedFromMainWindow");
    RestoreFactorySettings();
}

void TMainform::Menu_HelpClick() {
    // The first help page in ".\help"; the viewer starts even without one.
    const QString page = FindFirstMatch(QStringLiteral("./help"), QStringLiteral("*.html"));
    QStringList args;
    if (!page.isEmpty()) args << QFileInfo(page).absoluteFilePath();
    StartProcess(QStringLiteral("xdg-open"), args);
}

void TMainform::Menu_AboutClick() {
    const int call = CallState();
    const bool dialling = call == 1 || call == 6 || call == 15;
    const bool dataTransient = dataState_ == 1 || dataState_ == 2 || dataState_ == 4;
    RunAbout(this, innerVersion_, deviceState_ != 1 && !dialling && !dataTransient);
    innerVersion_ = false;
}

void TMainform::Menu_ExitClick() { close(); }

// --- the driver's registry link ----------------------------------------------------

void TMainform::UpdateDriverNetState() {
    static const QString kMachine = QStringLiteral("HKEY_LOCAL_MACHINE\\");
    // 1. The driver's class key, found through its service's enumeration.
    const QString services = kMachine + QStringLiteral("SYSTEM\\CurrentControlSet\\Services\\QELusbmdm6k\\Enum");
    if (const auto count = registry::GetDword(services, QStringLiteral("Count")); count && *count > 0) {
        if (const auto instance = registry::GetString(services, QString::number(*count - 1)); instance) {
            const QString enumKey = kMachine + QStringLiteral("SYSTEM\\CurrentControlSet\\Enum\\") + *instance;
            if (registry::KeyExists(enumKey))
                if (const auto driver = registry::GetString(enumKey, QStringLiteral("Driver")); driver)
                    driverClassKey_ = QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Class\\") + *driver;
        }
    }
    // 2.
    if (driverClassKey_.isEmpty()) return;
    // 3. The network type as the driver counts it (exact texts).
    static const std::pair<const char*, quint32> kCodes[] = {
        {"Limit Service", 1}, {"EDGE", 2}, {"GPRS", 3}, {"GSM", 4}, {"HSDPA", 5}, {"UMTS", 6}, {"No Service", 7}};
    const QString type = status_ ? status_->Label_NetWorkType->text() : QString();
    quint32 code = 0;
    for (const auto& [text, value] : kCodes)
        if (type == QLatin1String(text)) code = value;
    // 4. Only into an existing key.
    const QString key = kMachine + driverClassKey_;
    if (!registry::KeyExists(key)) return;
    registry::SetDword(key, QStringLiteral("QELDriverNetState"), code);
}
