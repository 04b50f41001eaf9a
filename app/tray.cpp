#include "app/tray.h"

#include <QAction>
#include <QCursor>
#include <QIcon>
#include <QMenu>
#include <QSystemTrayIcon>

#include "core/strings.h"
#include "platform/timer.h"

namespace {
constexpr int kAnimationMs = 800;
// Hints of this many characters or more are not shown.
constexpr int kHintLimit = 64;
}  // namespace

TTrayIcon::TTrayIcon(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("TrayIcon_Main"));
    icon_ = new QSystemTrayIcon(this);
    icon_->setObjectName(QStringLiteral("TrayIcon_Main"));
    Timer_TrayAnimate = new TTimer(this, "Timer_TrayAnimate", kAnimationMs, false, [this] { AnimationTick(); });

    PopupMenu_TrayMain = new QMenu();
    PopupMenu_TrayMain->setObjectName(QStringLiteral("PopupMenu_TrayMain"));
    auto item = [this](const char* name, const QString& caption, std::function<void()> TTrayIcon::*hook) {
        QAction* a = PopupMenu_TrayMain->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, hook] {
            if (this->*hook) (this->*hook)();
        });
        return a;
    };
    auto separator = [this](const char* name) {
        QAction* a = PopupMenu_TrayMain->addSeparator();
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    Menu_PowerOff = item("Menu_PowerOff", GetString(1022) + QStringLiteral("(&P)"), &TTrayIcon::OnPowerOff);
    Menu_Offline = item("Menu_Offline", GetString(1096) + QStringLiteral("(&O)"), &TTrayIcon::OnOffline);
    Menu_Online = item("Menu_Online", GetString(1097) + QStringLiteral("(&N)"), &TTrayIcon::OnOnline);
    Menu_FSettings = item("Menu_FSettings", GetString(1162) + QStringLiteral("(&F)"), &TTrayIcon::OnFSettings);
    Menu_N1 = separator("Menu_N1");
    Menu_Help = item("Menu_Help", GetString(1009) + QStringLiteral("...(&H)"), &TTrayIcon::OnHelp);
    UnlockDataCard = item("UnlockDataCard", QStringLiteral("Unlock Data Card(&U)"), &TTrayIcon::OnUnlock);
    Menu_About = item("Menu_About", GetString(1053) + QStringLiteral("...(&A)"), &TTrayIcon::OnAbout);
    Menu_N2 = separator("Menu_N2");
    Menu_Exit = item("Menu_Exit", GetString(1011) + QStringLiteral("(&X)"), &TTrayIcon::OnExit);
    Menu_FSettings->setVisible(false);
    UnlockDataCard->setVisible(false);

    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::DoubleClick) LeftDoubleClick();
        else if (why == QSystemTrayIcon::Context) RightButtonUp();
        // A single click does nothing.
    });
    refresh();
}

TTrayIcon::~TTrayIcon() {
    Remove();
    delete PopupMenu_TrayMain;
}

void TTrayIcon::SetImages(artwork::ImageList list) {
    if (images_ == list) return;
    images_ = list;
    refresh();
}

void TTrayIcon::SetIconIndex(int index) {
    if (index_ == index) return;
    index_ = index;
    refresh();
}

void TTrayIcon::Show(artwork::ImageList list, int index) {
    images_ = list;
    index_ = index;
    refresh();
}

void TTrayIcon::StartAnimation() { Timer_TrayAnimate->SetEnabled(true); }
void TTrayIcon::StopAnimation() { Timer_TrayAnimate->SetEnabled(false); }
bool TTrayIcon::Animating() const { return Timer_TrayAnimate->Enabled(); }

void TTrayIcon::AnimationTick() {
    const int next = index_ + 1;
    SetIconIndex(next >= artwork::ImageCount(images_) || next < 0 ? 0 : next);
}

void TTrayIcon::SetHint(const QString& hint) {
    if (hint.isEmpty()) {
        hint_.clear();
    } else if (hint.size() < kHintLimit && hint != hint_) {
        hint_ = hint;
    } else {
        return;
    }
    icon_->setToolTip(hint_);
}

void TTrayIcon::SetVisible(bool visible) {
    if (removed_) return;
    visible_ = visible;
    icon_->setVisible(visible);
}

void TTrayIcon::Remove() {
    if (removed_) return;
    removed_ = true;
    visible_ = false;
    StopAnimation();
    icon_->hide();
}

QPixmap TTrayIcon::Picture() const { return artwork::Picture(images_, index_); }

void TTrayIcon::refresh() {
    QIcon icon;
    for (int s : {16, 22, 24, 32, 48, 64}) icon.addPixmap(artwork::Picture(images_, index_, QSize(s, s)));
    icon_->setIcon(icon);
}

QAction* TTrayIcon::Action(Item item) const {
    switch (item) {
    case Item::PowerOff: return Menu_PowerOff;
    case Item::Offline: return Menu_Offline;
    case Item::Online: return Menu_Online;
    case Item::FSettings: return Menu_FSettings;
    case Item::N1: return Menu_N1;
    case Item::Help: return Menu_Help;
    case Item::Unlock: return UnlockDataCard;
    case Item::About: return Menu_About;
    case Item::N2: return Menu_N2;
    case Item::Exit: return Menu_Exit;
    }
    return nullptr;
}

void TTrayIcon::SetItemVisible(Item item, bool visible) { Action(item)->setVisible(visible); }
void TTrayIcon::SetItemEnabled(Item item, bool enabled) { Action(item)->setEnabled(enabled); }
bool TTrayIcon::ItemVisible(Item item) const { return Action(item)->isVisible(); }
bool TTrayIcon::ItemEnabled(Item item) const { return Action(item)->isEnabled(); }

void TTrayIcon::Trigger(Item item) {
    QAction* a = Action(item);
    if (a->isVisible() && a->isEnabled()) a->trigger();
}

void TTrayIcon::LeftDoubleClick() {
    if (OnRestore) OnRestore();
}

void TTrayIcon::RightButtonUp() {
    if (OnBeforeMenu) OnBeforeMenu();
    PopupMenu_TrayMain->popup(QCursor::pos());
}
