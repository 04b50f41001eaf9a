#include "app/status_display.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <cstring>

#include "app/messagebox.h"
#include "app/sound.h"
#include "app/tray.h"
#include "core/allsettings.h"
#include "core/messages.h"
#include "core/payloads.h"
#include "core/strings.h"
#include "platform/codepage.h"
#include "platform/timer.h"
#include "velkdev/velkdev.h"
#include "widgets/skin.h"

using artwork::ImageList;

namespace {
constexpr int kAnimationMs = 800;
constexpr int kFirstPollMs = 1500;
constexpr int kSteadyPollMs = 10000;
constexpr int kTrayHintMs = 1000;
// Tray pictures of ImageList_TrayMain the status display itself chooses.
constexpr int kTrayNoSignal = 2;
constexpr int kTraySignal = 3;
constexpr int kNoConnection = 6;
constexpr int kInternetConnected = 2;
// Connection states of the data-connection window.
constexpr std::uint8_t kDataIdle = 0;
constexpr std::uint8_t kDataConnected = 3;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, Qt::Alignment align = Qt::AlignLeft) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);  // texts from the card are never markup
    l->setAlignment(align | Qt::AlignVCenter);
    l->setText(text);
    return l;
}

// The hint of a status element: a language text, or none for id 0.
QString hint(unsigned id) { return id ? GetString(id) : QString(); }

// Domain and roaming read as small tags; an empty one leaves no trace.
void styleTag(QLabel* l, const char* colour, const char* ground) {
    l->setStyleSheet(l->text().isEmpty()
                         ? QStringLiteral("background: transparent;")
                         : QStringLiteral("color: %1; background: %2; border-radius: 3px; padding: 0 4px;")
                               .arg(QLatin1String(colour), QLatin1String(ground)));
}
void styleDomain(QLabel* l) { styleTag(l, "#154f82", "#d9e8f5"); }
void styleRoam(QLabel* l) { styleTag(l, "#8a4b00", "#fde3bd"); }
}  // namespace

// --- TStatusImage ---------------------------------------------------------

TStatusImage::TStatusImage(QWidget* parent, const char* name) : QLabel(parent) {
    setObjectName(QString::fromLatin1(name));
    setAlignment(Qt::AlignCenter);
}

void TStatusImage::SetPicture(ImageList list, int index) {
    list_ = list;
    index_ = index;
    const QPixmap pm = artwork::Picture(list, index);
    setPixmap(pm);
    setFixedSize(artwork::ImageSize(list));
}

void TStatusImage::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::RightButton && OnRightPress) OnRightPress(e->modifiers() & Qt::ControlModifier);
    QLabel::mousePressEvent(e);
}

void TStatusImage::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && OnClick) OnClick();
    QLabel::mouseReleaseEvent(e);
}

// --- TStatusDisplay ---------------------------------------------------------

TStatusDisplay::TStatusDisplay(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("StatusLine"));

    Image_RSSI = new TStatusImage(this, "Image_RSSI");
    Image_RSSI->SetPicture(ImageList::RSSILevel, 0);
    Image_RSSI->setToolTip(GetString(1070));
    Label_NetWorkType = makeLabel(this, "Label_NetWorkType", QStringLiteral("No Service"));
    Label_NetWorkType->setToolTip(GetString(1074));
    Label_Domain = makeLabel(this, "Label_Domain", QString(), Qt::AlignCenter);
    Label_Roam = makeLabel(this, "Label_Roam", QString(), Qt::AlignCenter);
    Label_OperaName = makeLabel(this, "Label_OperaName", QStringLiteral("Not Found"), Qt::AlignRight);
    Label_OperaName->setToolTip(GetString(1075));
    Image_Netcard = new TStatusImage(this, "Image_Netcard");
    Image_Netcard->SetPicture(ImageList::TrayMain, 0);
    Image_Simcard = new TStatusImage(this, "Image_Simcard");
    Image_Simcard->SetPicture(ImageList::TrayMain, 4);
    Image_Internet = new TStatusImage(this, "Image_Internet");
    Image_Internet->SetPicture(ImageList::TrayMain, kNoConnection);
    Image_Internet->setToolTip(GetString(1072));
    ImImage_NewSms = new TStatusImage(this, "ImImage_NewSms");
    ImImage_NewSms->SetPicture(ImageList::NewSms, 0);
    ImImage_NewSms->setToolTip(GetString(1012));
    ImImage_NewSms->setCursor(Qt::PointingHandCursor);
    ImImage_NewSms->hide();
    ImImage_IncomingCall = new TStatusImage(this, "ImImage_IncomingCall");
    ImImage_IncomingCall->SetPicture(ImageList::IncomingCall, 0);
    ImImage_IncomingCall->setToolTip(GetString(1051));
    ImImage_IncomingCall->setCursor(Qt::PointingHandCursor);
    ImImage_IncomingCall->hide();
    layoutLine();

    ImImage_IncomingCall->OnClick = [this] {
        if (host.onMissedCallClick) host.onMissedCallClick();
        ClearMissedCall();
    };
    ImImage_NewSms->OnClick = [this] {
        if (host.onNewSmsClick) host.onNewSmsClick();
        else ClearNewSms();
    };
    Image_RSSI->OnRightPress = [this](bool ctrl) {
        if (ctrl && deviceState() == 1 && host.onInnerVersionGesture) host.onInnerVersionGesture();
    };

    Timer_RSSI = new TTimer(this, "Timer_RSSI", 5000, false, [this] { PollSignal(); });
    Timer_NewSms = new TTimer(this, "Timer_NewSms", kAnimationMs, false, [this] { Timer_NewSmsTimer(); });
    Timer_IncomingCall =
        new TTimer(this, "Timer_IncomingCall", kAnimationMs, false, [this] { Timer_IncomingCallTimer(); });
    Timer_Internet = new TTimer(this, "Timer_Internet", kAnimationMs, false, [this] { Timer_InternetTimer(); });
    Timer_UpdateTrayHint = new TTimer(this, "Timer_UpdateTrayHint", kTrayHintMs, true, [this] { UpdateTrayHint(); });

    MediaPlayer_Main = new TMediaPlayer(this);
    TrayIcon_Main = new TTrayIcon(this);
}

TStatusDisplay::~TStatusDisplay() {
    // Notice windows are top-level: they do not go with this widget by themselves.
    if (smsNotice_) delete smsNotice_.data();
    // A call notice still in its modal loop closes; ShowIncomingCall frees it.
    if (callNotice_) callNotice_->reject();
}

void TStatusDisplay::layoutLine() {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 3, 8, 3);
    row->setSpacing(6);
    row->addWidget(Image_RSSI);
    row->addWidget(Label_NetWorkType);
    for (QLabel* l : {Label_Domain, Label_Roam}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        l->setFixedHeight(17);
    }
    row->addWidget(Label_Domain);
    row->addWidget(Label_Roam);
    row->addWidget(Label_OperaName, 1);
    row->addSpacing(4);
    for (QWidget* w : {static_cast<QWidget*>(Image_Netcard), static_cast<QWidget*>(Image_Simcard),
                       static_cast<QWidget*>(Image_Internet), static_cast<QWidget*>(ImImage_NewSms),
                       static_cast<QWidget*>(ImImage_IncomingCall)})
        row->addWidget(w);
    for (QLabel* l : {Label_NetWorkType, Label_OperaName}) l->setStyleSheet(QStringLiteral("color: #222b33;"));
}

QSize TStatusDisplay::sizeHint() const { return QSize(420, 25); }

void TStatusDisplay::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0xfb, 0xfc, 0xfd));
    g.setColorAt(1, QColor(0xe9, 0xef, 0xf5));
    p.fillRect(r, g);
    p.setPen(skin::kBorder);
    p.drawLine(r.topLeft(), r.topRight());
    // A thin divider between the network texts and the device pictures.
    const int x = Image_Netcard->geometry().left() - 6;
    p.setPen(QColor(0xd3, 0xdc, 0xe5));
    p.drawLine(QPoint(x, r.top() + 5), QPoint(x, r.bottom() - 4));
}

std::uint8_t TStatusDisplay::deviceState() const { return host.deviceState ? host.deviceState() : 12; }
std::uint8_t TStatusDisplay::dataState() const { return host.dataState ? host.dataState() : kDataIdle; }

QWidget* TStatusDisplay::mainWindow() const {
    QWidget* w = host.mainWindow ? host.mainWindow() : nullptr;
    return w ? w : window();
}

bool TStatusDisplay::indicatorsLive() const {
    const std::uint8_t s = deviceState();
    return s == 11 || s == 12;
}

void TStatusDisplay::SetNetcard(int index, unsigned hintId) {
    Image_Netcard->SetPicture(ImageList::TrayMain, index);
    if (hintId) SetNetcardHint(hintId);
}
void TStatusDisplay::SetNetcardHint(unsigned hintId) { Image_Netcard->setToolTip(hint(hintId)); }
void TStatusDisplay::SetSimcard(int index, unsigned hintId) {
    Image_Simcard->SetPicture(ImageList::TrayMain, index);
    if (hintId) SetSimcardHint(hintId);
}
void TStatusDisplay::SetSimcardHint(unsigned hintId) { Image_Simcard->setToolTip(hint(hintId)); }

// --- signal ---------------------------------------------------------------

int TStatusDisplay::SignalBars(int v) {
    if (v < 3 || v > 31) return 0;
    if (v <= 9) return 1;
    if (v <= 12) return 2;
    if (v <= 15) return 3;
    if (v <= 18) return 4;
    return 5;
}

void TStatusDisplay::ShowSignalLevel(int value) {
    const bool signal = hasService_ != 0 && value >= 3 && value <= 31;
    Image_RSSI->SetPicture(ImageList::RSSILevel, signal ? SignalBars(value) : 0);
    if (TrayIcon_Main->Uses(ImageList::TrayMain)) TrayIcon_Main->SetIconIndex(signal ? kTraySignal : kTrayNoSignal);
}

void TStatusDisplay::PollSignal() {
    std::uint32_t value = 0;
    const VELK_RESULT r = Velk_GetCsq(&value);
    if (r == VELK_E_NO_READING) return;  // no reading yet: neither shown nor counted
    if (r == VELK_OK)
        ShowSignalLevel(value > 1000 ? 1000 : static_cast<int>(value));
    else
        ShowSignalLevel(-1);
    if (signalTicks_ >= 3)
        Timer_RSSI->SetInterval(kSteadyPollMs);
    else
        ++signalTicks_;
}

// --- network, operator, roaming ---------------------------------------------

void TStatusDisplay::setNetworkType(const QString& text) {
    Label_NetWorkType->setText(text);
    if (host.updateDriverNetState) host.updateDriverNetState();
}

void TStatusDisplay::SetNetworkTypeText(const QString& text) { setNetworkType(text); }

void TStatusDisplay::NetTypeMessage(std::unique_ptr<char[]> text) {
    const QString t = text ? codepage::ToQString(text.get()) : QString();
    Label_NetWorkType->setText(t);
    hasService_ = Label_NetWorkType->text() == QLatin1String("No Service") ? 0 : 1;
    if (host.updateDriverNetState) host.updateDriverNetState();
}

QString TStatusDisplay::OperatorDisplayName(const QString& name) {
    if (name == QLatin1String("China Mobile")) return GetString(1077);
    if (name == QLatin1String("China Unicom")) return GetString(1078);
    return name;
}

void TStatusDisplay::setOperatorName(const QString& name) {
    Label_OperaName->setText(QString());
    Label_OperaName->setText(name);
}

void TStatusDisplay::setDomain(const QString& text) {
    Label_Domain->setText(text);
    styleDomain(Label_Domain);
    Label_Domain->setToolTip(text.isEmpty() ? QString() : GetString(1073));
}

void TStatusDisplay::ApplyRoaming(const QString& roaming) {
    if (roaming == QLatin1String("ROAM_ON")) {
        Label_Roam->setText(QStringLiteral("R"));
        Label_Roam->setToolTip(GetString(1086));
    } else if (roaming.isEmpty() || roaming == QLatin1String("ROAM_OFF")) {
        Label_Roam->setText(QString());
        Label_Roam->setToolTip(QString());
    }
    styleRoam(Label_Roam);
    Label_Roam->update();
}

void TStatusDisplay::OperatorMessage(std::unique_ptr<OperatorRecord> record) {
    if (!record) return;
    _VELK_ZDON_NOTIFY n;
    static_assert(sizeof n == sizeof record->bytes);
    std::memcpy(&n, record->bytes, sizeof n);
    setOperatorName(OperatorDisplayName(codepage::ToQString(n.operatorName, sizeof n.operatorName)));
    ApplyRoaming(codepage::ToQString(n.roaming, sizeof n.roaming));
    const QString domain = codepage::ToQString(n.domain, sizeof n.domain);
    if (domain == QLatin1String("CS_ONLY")) setDomain(QStringLiteral("C"));
    else if (domain == QLatin1String("PS_ONLY")) setDomain(QStringLiteral("P"));
    else if (domain == QLatin1String("CS_PS")) setDomain(QStringLiteral("P C"));
    else setDomain(QString());
}

void TStatusDisplay::ReadNetworkInfo() {
    _VELK_NETWORK_PARA net{};
    if (Velk_GetNetworkPara(&net) == VELK_OK) {
        const QString type = codepage::ToQString(net.networkType, sizeof net.networkType);
        setNetworkType(type);
        if (type == QLatin1String("NO SERVICE")) {
            hasService_ = 0;
            std::uint32_t value = 0;
            if (Velk_GetCsq(&value) == VELK_OK) ShowSignalLevel(value > 1000 ? 1000 : static_cast<int>(value));
        } else {
            hasService_ = 1;
        }
        switch (net.domain) {
        case 0: setDomain(QStringLiteral("C")); break;
        case 1: setDomain(QStringLiteral("P")); break;
        case 2: setDomain(QStringLiteral("P C")); break;
        default: setDomain(QString()); break;
        }
    }
    _VELK_ZDON_PARA op{};
    if (Velk_GetZdonPara(&op) == VELK_OK) {
        setOperatorName(OperatorDisplayName(codepage::ToQString(op.operatorName, sizeof op.operatorName)));
        ApplyRoaming(codepage::ToQString(op.roaming, sizeof op.roaming));
    }
}

bool TStatusDisplay::HandleMessage(UINT msg, WPARAM, LPARAM lParam) {
    switch (msg) {
    case UM_NET_TYPE:
        NetTypeMessage(std::unique_ptr<char[]>(reinterpret_cast<char*>(lParam)));
        return true;
    case UM_OPERATOR_INFO:
        OperatorMessage(std::unique_ptr<OperatorRecord>(reinterpret_cast<OperatorRecord*>(lParam)));
        return true;
    case UM_SIGNAL: {
        // The value travels as a 32-bit unsigned number.
        const auto v = static_cast<std::uint32_t>(lParam);
        ShowSignalLevel(v > 1000 ? 1000 : static_cast<int>(v));
        return true;
    }
    default:
        return false;
    }
}

// --- the whole line -----------------------------------------------------------

void TStatusDisplay::ResetStatusDisplay(std::uint8_t newState) {
    Timer_RSSI->SetEnabled(false);
    Timer_RSSI->SetInterval(kFirstPollMs);
    signalTicks_ = 0;
    Image_RSSI->SetPicture(ImageList::RSSILevel, 0);

    Timer_IncomingCall->SetEnabled(false);
    ImImage_IncomingCall->hide();
    Timer_NewSms->SetEnabled(false);
    ImImage_NewSms->hide();

    if (newState != 10) {
        Timer_Internet->SetEnabled(false);
        Image_Internet->SetPicture(ImageList::TrayMain, kNoConnection);
        Image_Internet->setToolTip(GetString(1072));
    }
    setDomain(QString());
    Label_NetWorkType->setText(QStringLiteral("No Service"));
    hasService_ = 0;
    Label_OperaName->setText(QStringLiteral("Not Found"));

    TrayIcon_Main->StopAnimation();
    TrayIcon_Main->SetImages(ImageList::TrayMain);

    Label_Roam->setText(QString());
    Label_Roam->setToolTip(QString());
    styleRoam(Label_Roam);

    if (newState != 2) PlaySound(QString(), 0);
}

void TStatusDisplay::RepaintStatusLine() {
    for (QWidget* w : {static_cast<QWidget*>(Image_RSSI), static_cast<QWidget*>(Image_Netcard),
                       static_cast<QWidget*>(Image_Simcard), static_cast<QWidget*>(Label_Domain),
                       static_cast<QWidget*>(Label_NetWorkType), static_cast<QWidget*>(Label_OperaName)})
        w->update();
}

// --- tray image precedence ------------------------------------------------------

void TStatusDisplay::backToMainTray() {
    TrayIcon_Main->StopAnimation();
    TrayIcon_Main->Show(ImageList::TrayMain, kTraySignal);
    if (dataState() == kDataConnected) TrayIcon_Main->Show(ImageList::Internet, kInternetConnected);
}

void TStatusDisplay::leaveIndicatorTray() {
    if (!ImImage_NewSms->isHidden()) {
        TrayIcon_Main->SetImages(ImageList::NewSms);
        TrayIcon_Main->StartAnimation();
    } else {
        backToMainTray();
    }
}

// --- indicators ---------------------------------------------------------------------

void TStatusDisplay::placeNotice(QDialog* notice, int rows) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QSize s = screen->geometry().size();
    const QSize w = notice->size();
    notice->move(s.width() - w.width(), s.height() - rows * w.height() - 60);
}

void TStatusDisplay::ShowNewSms(const QString& number) {
    if (!indicatorsLive()) return;
    Timer_NewSms->SetEnabled(true);
    ImImage_NewSms->show();
    if (!TrayIcon_Main->Uses(ImageList::IncomingCall)) {
        TrayIcon_Main->SetImages(ImageList::NewSms);
        TrayIcon_Main->StartAnimation();
    }
    QWidget* main = mainWindow();
    const bool away = main->isMinimized() || !main->isVisible() || !main->isActiveWindow();
    if (away && !smsNotice_ && host.makeNotice) {
        if (QDialog* notice = host.makeNotice(1, number)) {
            smsNotice_ = notice;
            // Closing the notice (its close image or its timer) releases it here.
            connect(notice, &QDialog::finished, this, [this, notice] {
                if (smsNotice_ == notice) ReleaseSmsNotice();
            });
            placeNotice(notice, callNotice_ ? 2 : 1);
            notice->show();
        }
    }
    PlayEventSound(SOUND_NEW_SMS, 2);
}

void TStatusDisplay::ClearNewSms() {
    if (!indicatorsLive()) return;
    Timer_NewSms->SetEnabled(false);
    ImImage_NewSms->hide();
    if (TrayIcon_Main->Uses(ImageList::NewSms)) backToMainTray();
    QWidget* main = mainWindow();
    if (main->isMinimized() || !main->isVisible()) ReleaseSmsNotice();
    PlaySound(QString(), 0);
    if (host.onNewSmsCleared) host.onNewSmsCleared();
}

void TStatusDisplay::ReleaseSmsNotice() {
    if (!smsNotice_) return;
    QDialog* notice = smsNotice_;
    smsNotice_ = nullptr;
    disconnect(notice, nullptr, this, nullptr);
    notice->hide();
    notice->deleteLater();
}

void TStatusDisplay::CloseCallNotice() {
    if (callNotice_) callNotice_->reject();
}

void TStatusDisplay::ShowIncomingCall(const QString& number, std::uint8_t update) {
    if (!indicatorsLive()) return;
    if (update && callNotice_) {
        if (host.setNoticeNumber) host.setNoticeNumber(callNotice_, number);
        return;
    }
    ringing_ = 1;
    TrayIcon_Main->SetImages(ImageList::IncomingCall);
    TrayIcon_Main->StartAnimation();

    QByteArray name;
    if (!GetEventSound(SOUND_INCOMING_CALL, &name))
        ShowMessageBox(mainWindow(), GetString(1018) + QStringLiteral("allconfig.ran"), 2);
    if (!name.isEmpty() && MediaPlayer_Main->Tag != 3) {
        if (PlaySound(codepage::ToQString(name), 3) == 2) {
            ResetEventSound(SOUND_INCOMING_CALL);
            GetEventSound(SOUND_INCOMING_CALL, &name);
            if (!name.isEmpty()) PlaySound(codepage::ToQString(name), 3);
        }
    }

    QWidget* main = mainWindow();
    if ((main->isMinimized() || !main->isVisible()) && !callNotice_ && host.makeNotice) {
        QPointer<QDialog> notice = host.makeNotice(2, number);
        if (!notice) return;
        callNotice_ = notice;
        placeNotice(notice, 1);
        // The modal loop keeps handling messages and timers; this display may
        // be gone when it returns (the program closing).
        QPointer<TStatusDisplay> self(this);
        notice->exec();
        if (notice) delete notice.data();
        if (self) callNotice_ = nullptr;
    }
}

void TStatusDisplay::StopIncomingCall() {
    if (!indicatorsLive()) return;
    ringing_ = 0;
    if (TrayIcon_Main->Uses(ImageList::IncomingCall) && ImImage_IncomingCall->isHidden()) leaveIndicatorTray();
    PlaySound(QString(), 0);
}

void TStatusDisplay::ShowMissedCall() {
    if (!indicatorsLive()) return;
    ringing_ = 0;
    Timer_IncomingCall->SetEnabled(true);
    ImImage_IncomingCall->show();
    PlaySound(QString(), 0);
}

void TStatusDisplay::ClearMissedCall() {
    if (!indicatorsLive()) return;
    Timer_IncomingCall->SetEnabled(false);
    ImImage_IncomingCall->hide();
    if (TrayIcon_Main->Uses(ImageList::IncomingCall)) leaveIndicatorTray();
}

void TStatusDisplay::ShowConnected() {
    if (dataState() != kDataConnected) return;
    Timer_Internet->SetEnabled(true);
    Image_Internet->setToolTip(GetString(1063));
    if (TrayIcon_Main->Uses(ImageList::TrayMain)) {
        TrayIcon_Main->StopAnimation();
        TrayIcon_Main->Show(ImageList::Internet, kInternetConnected);
    }
    PlayEventSound(SOUND_CONNECTED, 1);
}

void TStatusDisplay::ShowDisconnected() {
    if (dataState() != kDataIdle) return;
    Image_Internet->SetPicture(ImageList::TrayMain, kNoConnection);
    Image_Internet->setToolTip(GetString(1072));
    Timer_Internet->SetEnabled(false);
    if (TrayIcon_Main->Uses(ImageList::Internet)) {
        TrayIcon_Main->StopAnimation();
        TrayIcon_Main->Show(ImageList::TrayMain, kTraySignal);
    }
    PlayEventSound(SOUND_DISCONNECTED, 1);
}

// --- sounds ---------------------------------------------------------------------------

int TStatusDisplay::PlaySound(const QString& path, int priority) { return MediaPlayer_Main->PlaySound(path, priority); }

void TStatusDisplay::PlayEventSound(int event, int priority) {
    QByteArray name;
    if (!GetEventSound(event, &name)) {
        ShowMessageBox(mainWindow(), GetString(1018) + QStringLiteral("allconfig.ran"), 2);
        return;
    }
    if (name.isEmpty()) return;
    if (PlaySound(codepage::ToQString(name), priority) != 2) return;
    // The chosen file would not play: back to the event's own sound, once.
    ResetEventSound(event);
    GetEventSound(event, &name);
    if (!name.isEmpty()) PlaySound(codepage::ToQString(name), priority);
}

// --- tray hint ----------------------------------------------------------------------------

void TStatusDisplay::UpdateTrayHint() {
    static const unsigned kByState[10] = {0, 1163, 1164, 1166, 1057, 1170, 1167, 1165, 1168, 1169};
    const std::uint8_t state = deviceState();
    if (state >= 1 && state <= 9) {
        TrayIcon_Main->SetHint(GetString(kByState[state]));
        return;
    }
    if (state != 11 && state != 12) return;
    switch (TrayIcon_Main->Images()) {
    case ImageList::IncomingCall:
        TrayIcon_Main->SetHint(GetString(ringing_ ? 1013 : 1051));
        break;
    case ImageList::NewSms:
        TrayIcon_Main->SetHint(GetString(1012));
        break;
    case ImageList::TrayMain:
        if (TrayIcon_Main->IconIndex() == kTrayNoSignal) TrayIcon_Main->SetHint(GetString(1173));
        else if (TrayIcon_Main->IconIndex() == kTraySignal) TrayIcon_Main->SetHint(GetString(1171));
        break;
    case ImageList::Internet: {
        const std::optional<QString> summary =
            host.connectionSummary ? host.connectionSummary() : std::optional<QString>();
        if (!summary) TrayIcon_Main->SetHint(GetString(1172));
        else if (!summary->isEmpty()) TrayIcon_Main->SetHint(*summary);
        break;
    }
    case ImageList::RSSILevel:
        break;
    }
}

// --- icon animations ----------------------------------------------------------------------

namespace {
// Shows frame Tag of the list in the icon and advances Tag, wrapping after the last frame.
void step(TTimer* timer, TStatusImage* icon, ImageList list) {
    const int n = artwork::ImageCount(list);
    const int k = ((timer->Tag % n) + n) % n;
    icon->SetPicture(list, k);
    timer->Tag = (k + 1) % n;
}
}  // namespace

void TStatusDisplay::Timer_NewSmsTimer() { step(Timer_NewSms, ImImage_NewSms, ImageList::NewSms); }
void TStatusDisplay::Timer_IncomingCallTimer() {
    step(Timer_IncomingCall, ImImage_IncomingCall, ImageList::IncomingCall);
}
void TStatusDisplay::Timer_InternetTimer() { step(Timer_Internet, Image_Internet, ImageList::Internet); }
