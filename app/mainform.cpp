// The main window's life: creation step, layout, showing, the close checks,
// the destruction step and the system's power events.
#include "app/mainform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <atomic>
#include <cstring>

#include "app/messagebox.h"
#include "app/callseam.h"
#include "app/mainform_toolbar.h"
#include "app/passworddlg.h"
#include "app/status_display.h"
#include "app/tray.h"
#include "app/unlocknet.h"
#include "app/windows.h"
#include "connect/domain/profile.h"
#include "core/allsettings.h"
#include "core/base.h"
#include "core/messages.h"
#include "core/payloads.h"
#include "core/strings.h"
#include "platform/power.h"
#include "platform/timer.h"
#include "prefs/aboutbox.h"
#include "velkdev/velkdev.h"
#include "widgets/imagebutton.h"
#include "widgets/skin.h"
#include "widgets/titlestrip.h"

namespace {
TMainform* g_mainForm = nullptr;
// The handle the library's callbacks post to; cleared before the window goes.
std::atomic<HWND> g_mainHandle{nullptr};

constexpr int kWidth = 700;
constexpr int kHeight = 500;
constexpr int kToolbarTop = skin::kTitleHeight;
constexpr int kToolbarHeight = 66;
constexpr int kStatusHeight = 34;
constexpr int kPanelTop = kToolbarTop + kToolbarHeight;

// Card events, on the library's thread: only post. Card gone stops the
// state-retry timer first; that stop is itself a message, so it takes
// effect on the interface thread before the state-1 handling runs.
void onMeStateChanged(std::uint8_t event) {
    HWND h = g_mainHandle.load();
    if (!h) return;
    if (event == 1) {
        PostMessage(h, UM_DEVICE_STATE, 2, 0);
    } else if (event == 2) {
        PostMessage(h, UM_STOP_STATE_RETRY, 0, 0);
        PostMessage(h, UM_DEVICE_STATE, 1, 0);
    }
}

// The operator notification, copied for the interface thread.
void onZdonNotify(const void* record) {
    if (!record) return;
    auto* copy = new OperatorRecord;
    std::memcpy(copy->bytes, record, sizeof copy->bytes);
    HWND h = g_mainHandle.load();
    if (!h || !PostMessage(h, UM_OPERATOR_INFO, 0, reinterpret_cast<LPARAM>(copy))) delete copy;
}
}  // namespace

TMainform* MainForm() { return g_mainForm; }

TMainform::TMainform(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Mainform"));
    g_mainForm = this;
    windows::Register("TMainform", this);

    RunUnlock = [](QWidget* owner, bool online) { return RunNetworkUnlock(owner, online); };
    ExecModal = [](QDialog* d) { return d->exec(); };
    RunAbout = [](QWidget* owner, bool inner, bool read) { RunAboutBox(owner, inner, read); };
    StartProcess = [](const QString& program, const QStringList& args) { QProcess::startDetached(program, args); };
    DefaultModemPara = [](ModemPara* out) -> std::optional<bool> {
        profiles::ModemParameters m;
        if (!profiles::DefaultModemParameters(&m)) return false;
        out->pdpType = QByteArray::fromStdString(m.pdpType);
        out->apn = QByteArray::fromStdString(m.apn);
        out->pdpAddress = QByteArray::fromStdString(m.pdpAddress);
        return true;
    };
    UssdIsBusy = [] { return false; };
    // The settings menu carries the restore; it offers it by name.
    RestoreFactorySettings = [] {
        if (QWidget* menu = windows::Find("TSetMenuForm"))
            if (menu->metaObject()->indexOfMethod("RestoreFactorySettings()") >= 0)
                QMetaObject::invokeMethod(menu, "RestoreFactorySettings", Qt::DirectConnection);
    };

    Timer_StateRetry = new TTimer(this, "Timer_StateRetry", 5000, false, [this] { Timer_StateRetryTimer(); });
    SimBusyTimer = new TTimer(this, "SimBusyTimer", 3000, false, [this] { SimBusyTimerTimer(); });
    Timer_CPMS = new TTimer(this, "Timer_CPMS", 10000, false, [this] { Timer_CPMSTimer(); });
    GetCardSettingsTimer = new TTimer(this, "GetCardSettingsTimer", 3000, false, [this] { GetCardSettingsTimerTimer(); });
    Timer_Start = new TTimer(this, "Timer_Start", 10000, true, [this] { Timer_StartTimer(); });

    dialogs_ = std::make_unique<TPasswordDialogs>([this] { return static_cast<int>(deviceState_); });
    buildWindow();
    creationStep();
}

TMainform::~TMainform() {
    destructionStep();
    delete status_;
    status_ = nullptr;
    windows::Unregister("TMainform");
    if (g_mainForm == this) g_mainForm = nullptr;
}

// --- layout -----------------------------------------------------------------

void TMainform::buildWindow() {
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(kWidth, kHeight);
    setStyleSheet(QString::fromLatin1(skin::StyleSheet()));

    TitleStrip = new TTitleStrip(this, "TitleStrip");
    TitleStrip->setGeometry(0, 0, kWidth, skin::kTitleHeight);
    ImImage_Title_Logo = new QLabel(TitleStrip);
    ImImage_Title_Logo->setObjectName(QStringLiteral("ImImage_Title_Logo"));
    ImImage_Title_Logo->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label_Caption = new QLabel(TitleStrip);
    Label_Caption->setObjectName(QStringLiteral("Label_Caption"));
    Label_Caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label_Caption->setStyleSheet(QStringLiteral("color: white; font-weight: bold; font-size: 10pt;"));
    ImImage_Title_Minimize = new TImageButton(TitleStrip, "ImImage_Title_Minimize", TImageButton::Glyph::Minimise);
    ImImage_Title_Close = new TImageButton(TitleStrip, "ImImage_Title_Close", TImageButton::Glyph::Close);
    ImImage_Title_Close->setGeometry(kWidth - 26, 4, 18, 18);
    ImImage_Title_Minimize->setGeometry(kWidth - 48, 4, 18, 18);
    connect(ImImage_Title_Close, &QAbstractButton::clicked, this, [this] { Menu_ExitClick(); });
    connect(ImImage_Title_Minimize, &QAbstractButton::clicked, this, [this] { MinimizeToTray(); });

    Toolbar = new QWidget(this);
    Toolbar->setObjectName(QStringLiteral("Toolbar"));
    Toolbar->setGeometry(0, kToolbarTop, kWidth, kToolbarHeight);
    struct Tool {
        TImageButton** button;
        const char* name;
        toolbar::Icon icon;
        bool shown;
    };
    const Tool tools[] = {
        {&FirstpageButton, "FirstpageButton", toolbar::Icon::Home, false},
        {&InternetButton, "InternetButton", toolbar::Icon::Internet, true},
        {&MsgButton, "MsgButton", toolbar::Icon::Messages, true},
        {&PonebookButton, "PonebookButton", toolbar::Icon::Phonebook, true},
        {&CallButton, "CallButton", toolbar::Icon::Call, true},
        {&CallhisButton, "CallhisButton", toolbar::Icon::CallHistory, true},
        {&ConfigButton, "ConfigButton", toolbar::Icon::Settings, true},
        {&StkButton, "StkButton", toolbar::Icon::Services, false},
        {&HelpButton, "HelpButton", toolbar::Icon::Help, true},
    };
    // The shown buttons share the toolbar's width evenly.
    int shown = 0;
    for (const Tool& t : tools) shown += t.shown ? 1 : 0;
    const int step = (kWidth - 20) / shown;
    int x = 10;
    for (const Tool& t : tools) {
        auto* b = new TToolbarButton(Toolbar, t.name, t.icon);
        *t.button = b;
        b->setGeometry(x, 4, step - 4, kToolbarHeight - 8);
        b->setVisible(t.shown);
        if (t.shown) x += step;
    }
    StkButton->setEnabled(false);

    Firstpage = new QWidget(this);
    Firstpage->setObjectName(QStringLiteral("Firstpage"));
    Firstpage->setGeometry(1, kPanelTop, kWidth - 2, kHeight - kPanelTop - kStatusHeight - 1);
    Label_Welcom = new QLabel(Firstpage);
    Label_Welcom->setObjectName(QStringLiteral("Label_Welcom"));
    Label_Welcom->setAlignment(Qt::AlignCenter);
    Label_Welcom->setGeometry(0, Firstpage->height() / 2 + 40, Firstpage->width(), 30);
    Label_Welcom->setStyleSheet(QStringLiteral("color: #154f82; font-size: 14pt;"));

    Mainpanel = new QWidget(this);
    Mainpanel->setObjectName(QStringLiteral("Mainpanel"));
    Mainpanel->setGeometry(Firstpage->geometry());
    Mainpanel->setAutoFillBackground(true);
    QPalette pal = Mainpanel->palette();
    pal.setColor(QPalette::Window, skin::kSurface);
    Mainpanel->setPalette(pal);
    // Hidden until a function window is placed in it: the home page shows.
    Mainpanel->hide();

    status_ = new TStatusDisplay(this);
    status_->setGeometry(1, kHeight - kStatusHeight - 1, kWidth - 2, kStatusHeight);
    TStatusDisplay::Host& host = status_->host;
    host.deviceState = [this] { return deviceState_; };
    host.dataState = [this] { return dataState_; };
    host.connectionSummary = []() -> std::optional<QString> {
        QWidget* w = windows::Find("TData_connectform");
        if (!w) return std::nullopt;
        QString summary;
        QMetaObject::invokeMethod(w, "StatisticsSummary", Qt::DirectConnection, Q_RETURN_ARG(QString, summary));
        return summary;
    };
    host.updateDriverNetState = [this] { UpdateDriverNetState(); };
    host.mainWindow = [this] { return static_cast<QWidget*>(this); };
    host.onMissedCallClick = [this] { CallhisButtonClick(); };
    host.onNewSmsCleared = [this] { newSms_.reset(); };
    host.onInnerVersionGesture = [this] { innerVersion_ = true; };

    connectCommands();
}

void TMainform::paintEvent(QPaintEvent*) {
    QPainter p(this);
    skin::PaintWindowFrame(p, rect(), true);
    // Toolbar band, a soft gradient under the title strip.
    QLinearGradient g(0, kToolbarTop, 0, kPanelTop);
    g.setColorAt(0, skin::kAccentLight);
    g.setColorAt(1, skin::kAccentLight.lighter(104));
    p.fillRect(QRect(1, kToolbarTop, width() - 2, kToolbarHeight), g);
    p.setPen(skin::kBorder);
    p.drawLine(1, kPanelTop - 1, width() - 2, kPanelTop - 1);
    p.drawLine(1, height() - kStatusHeight - 2, width() - 2, height() - kStatusHeight - 2);
    // The home page's emblem: a card with signal arcs, drawn above the welcome line.
    if (Firstpage && !Mainpanel->isVisible()) {
        const QPoint c = Firstpage->geometry().center() - QPoint(0, 30);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(skin::kAccent);
        p.drawRoundedRect(QRect(c.x() - 46, c.y() - 6, 92, 44), 8, 8);
        p.setBrush(skin::kAccentLight);
        p.drawRoundedRect(QRect(c.x() + 24, c.y() + 4, 14, 24), 3, 3);
        QPen arc(skin::kAccent, 5, Qt::SolidLine, Qt::RoundCap);
        p.setPen(arc);
        p.setBrush(Qt::NoBrush);
        for (int i = 1; i <= 3; ++i) {
            const int r = 14 * i;
            p.drawArc(QRect(c.x() - r, c.y() - 14 - r, 2 * r, 2 * r), 45 * 16, 90 * 16);
        }
    }
}

void TMainform::setTexts() {
    setWindowTitle(GetString(1001));
    SetMainTitle(GetString(1001));
    Label_Welcom->setText(GetString(1010));
    struct Hint {
        QWidget* w;
        unsigned id;
    };
    const Hint hints[] = {{FirstpageButton, 1002}, {InternetButton, 1003}, {CallButton, 1004},
                          {MsgButton, 1005},       {PonebookButton, 1006}, {ConfigButton, 1007},
                          {CallhisButton, 1008},   {StkButton, 1099},      {HelpButton, 1009}};
    for (const Hint& h : hints) {
        h.w->setToolTip(GetString(h.id));
        static_cast<TImageButton*>(h.w)->setText(GetString(h.id));
    }
}

// --- creation and destruction -------------------------------------------

void TMainform::creationStep() {
    // 1. The large logo in the title strip, the caption 5 pixels to its right.
    QPixmap logo(QStringLiteral("resource/image/logo/peluMaxLogo.bmp"));
    if (!logo.isNull()) logo = logo.scaledToHeight(skin::kTitleHeight - 6, Qt::SmoothTransformation);
    ImImage_Title_Logo->setPixmap(logo);
    ImImage_Title_Logo->setGeometry(6, 3, logo.isNull() ? 0 : logo.width(), skin::kTitleHeight - 6);
    Label_Caption->setGeometry(ImImage_Title_Logo->geometry().right() + 1 + 5, 0, kWidth - 160, skin::kTitleHeight);
    // 2. The unlock item appears only when the card refuses the SIM's network.
    setTrayItem(static_cast<int>(TTrayIcon::Item::Unlock), false);
    // 3. Texts.
    setTexts();
    // 4. Configuration files; "allconfig.ran" also hands the SMS settings to
    // the card, before the library is started.
    LoadAllSettings();
    profiles::LoadDefault();
    profiles::LoadFactory();
    // 5 to 8. The library and the business core, the callbacks, this window.
    const std::uint16_t started = BL_Startup(0, 400, 0);
    g_mainHandle.store(Handle());
    Velk_SetCallBackMeStateChanged(onMeStateChanged, 0);
    BL_RegisterWindow(Handle(), 0);
    Velk_SetCallBackZdonNotify(onZdonNotify, 0);
    // 9. The first state.
    postState(started != 0 ? 1 : 2);
    // 10.
    simBusyTries_ = 0;
    class0_.clear();
    innerVersion_ = false;
    restoredFromTray_ = false;
}

void TMainform::destructionStep() {
    if (destroyed_) return;
    destroyed_ = true;
    for (TTimer* t : {Timer_StateRetry, SimBusyTimer, Timer_CPMS, GetCardSettingsTimer, Timer_Start}) t->SetEnabled(false);
    if (TTrayIcon* tray = Tray()) tray->Remove();
    // The library's threads must not post to a window that is going.
    g_mainHandle.store(nullptr);
    Velk_SetCallBackMeStateChanged(nullptr, 0);
    Velk_SetCallBackZdonNotify(nullptr, 0);
    BL_Shutdown();
    SaveAllSettings();
    class0_.clear();
    newSms_.reset();
    dialogs_.reset();
}

// --- showing ------------------------------------------------------------------

void TMainform::Timer_StartTimer() {
    if (!Timer_Start->Enabled()) return;
    Timer_Start->SetEnabled(false);
    if (QWidget* splash = windows::Find("TStartForm")) {
        windows::Unregister("TStartForm");
        splash->hide();
        splash->close();
        splash->deleteLater();
    }
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    show();
    if (TTrayIcon* tray = Tray()) tray->SetVisible(true);
}

void TMainform::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Until the window has once come back from the tray, each showing opens
    // the data-connection page.
    if (!restoredFromTray_) InternetButtonClick();
}

void TMainform::MinimizeToTray() {
    showMinimized();
    hide();
}

void TMainform::RestoreFromTray() {
    if (status_) {
        status_->ReleaseSmsNotice();
        status_->CloseCallNotice();
    }
    restoredFromTray_ = true;
    showNormal();
    raise();
    activateWindow();
}

void TMainform::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    // The system's minimise command goes to the tray as the title image does.
    if (e->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) && isVisible())
        QMetaObject::invokeMethod(this, [this] { if (windowState() & Qt::WindowMinimized) hide(); }, Qt::QueuedConnection);
}

// --- closing --------------------------------------------------------------------

// The checks that keep the card on the network: a call, a data connection,
// a USSD exchange, a long SMS or phonebook operation. The first that
// applies is shown (warning) and refuses.
bool TMainform::refuseCommand(bool withBox) {
    unsigned text = 0;
    if (CallState() != 0)
        text = 1032;
    else if (dataState_ != 0)
        text = 1052;
    else if (UssdIsBusy())
        text = 1104;
    else if (busy_)
        text = 1098;
    if (text == 0) return false;
    if (withBox) ShowMessageBox(this, GetString(text), 2);
    return true;
}

void TMainform::closeEvent(QCloseEvent* e) {
    if (destroyed_) {
        e->accept();
        return;
    }
    if (refuseCommand(true)) {
        e->ignore();
        RestoreFromTray();
        return;
    }
    if (AskMessageBox(this, GetString(1042), 3) != 1) {
        e->ignore();
        RestoreFromTray();
        return;
    }
    // A call may have come in while the question was up.
    if (CallState() != 0) {
        e->ignore();
        RestoreFromTray();
        return;
    }
    PrepareExit();
    e->accept();
    if (OnClosed) OnClosed();
}

void TMainform::PrepareExit() {
    if (deviceState_ != 1) {
        Velk_NetcardStop();
        Velk_SetOperationMode(6);
    }
    newSms_.reset();
}

// --- power events ---------------------------------------------------------------

bool TMainform::suspendMustBeRefused() const {
    if (AllSettingsRecord().denyStandby != 0) return true;
    return CallState() != 0 || dataState_ != 0 || UssdIsBusy() || busy_;
}

LRESULT TMainform::powerBroadcast(WPARAM event) {
    switch (event) {
    case platform::PBT_APMQUERYSUSPEND:
        return suspendMustBeRefused() ? platform::BROADCAST_QUERY_DENY : 1;
    case platform::PBT_APMSUSPEND:
        Velk_disableCheckCard();
        Velk_Poweroff(0);
        // Sent, not posted: state 1 is handled before the system sleeps.
        SendMessage(Handle(), UM_DEVICE_STATE, 1, 0);
        return 1;
    case platform::PBT_APMQUERYSUSPENDFAILED:
    case platform::PBT_APMRESUMECRITICAL:
    case platform::PBT_APMRESUMESUSPEND:
    case platform::PBT_APMRESUMEAUTOMATIC:
        Velk_enableCheckCard();
        return 1;
    default:
        return 1;
    }
}

// --- small operations ---------------------------------------------------------

QString TMainform::GetMainTitle() const { return Label_Caption->text(); }

void TMainform::SetMainTitle(const QString& title) { Label_Caption->setText(title); }

void TMainform::SetBusy(bool busy) { busy_ = busy; }

TTrayIcon* TMainform::Tray() const { return status_ ? status_->TrayIcon_Main : nullptr; }

std::uint8_t TMainform::HasNetworkService() const { return status_ ? status_->HasNetworkService() : 0; }

int TMainform::CallState() const {
    const int s = callseam::Current().CallState();
    return s != 0 ? s : callState_;
}
