#include "connect/data_connectform.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/messagebox.h"
#include "app/windows.h"
#include "connect/checkpasswordform.h"
#include "connect/connect_host.h"
#include "connect/datalogform.h"
#include "connect/dialdata.h"
#include "connect/domain/driverkeys.h"
#include "connect/domain/profile.h"
#include "connect/workers.h"
#include "core/messages.h"
#include "core/strings.h"
#include "platform/codepage.h"
#include "platform/timer.h"
#include "velkdev/velkdev.h"
#include "widgets/imagebutton.h"
#include "widgets/skin.h"

namespace {
constexpr int kWidth = 628;
constexpr int kHeight = 319;
constexpr std::size_t kMaxAdopt = 256;

QString fmt2(float v) {
    char buf[20];
    std::snprintf(buf, sizeof buf, "%3.2f", static_cast<double>(v));
    return QString::fromLatin1(buf);
}

// The small status light: grey when not connected, green when connected.
QPixmap stateLight(int index) {
    QPixmap pm(10, 10);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(index == 1 ? skin::kOk : skin::kMuted.lighter(140));
    p.drawEllipse(QRectF(0.5, 0.5, 9, 9));
    return pm;
}

// Five 193 x 30 frames: a signal travelling from the computer to the network.
QPixmap animationFrame(int index) {
    QPixmap pm(193, 30);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // Computer at the left, antenna mast at the right.
    p.setPen(QPen(skin::kAccentDark, 2));
    p.setBrush(skin::kAccentLight);
    p.drawRoundedRect(QRectF(2, 6, 22, 15), 2, 2);
    p.drawLine(QPointF(8, 25), QPointF(18, 25));
    p.drawLine(QPointF(180, 6), QPointF(174, 26));
    p.drawLine(QPointF(180, 6), QPointF(186, 26));
    p.drawEllipse(QPointF(180, 5), 2, 2);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) {
        const bool lit = i <= index;
        p.setBrush(lit ? skin::kAccent : skin::kBorder);
        const double r = lit && i == index ? 6 : 4.5;
        p.drawEllipse(QPointF(44 + i * 28, 15), r, r);
    }
    return pm;
}

QLabel* label(QWidget* parent, const char* name, const QRect& r) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(r);
    return l;
}
}  // namespace

TData_connectform::TData_connectform(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TData_connectform"));
    setGeometry(0, 0, kWidth, kHeight);
    setStyleSheet(QString::fromLatin1(skin::StyleSheet()));
    TickCount = [] {
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    };
    Now = [] { return QDateTime::currentDateTime(); };

    dialEventMsg_ = RegisterWindowMessage("RasDialEvent");
    if (dialEventMsg_ == 0) dialEventMsg_ = 52429;

    DataTitleLabel = label(this, "DataTitleLabel", QRect(28, 18, 400, 30));
    DataTitleLabel->setStyleSheet(QStringLiteral("color: #154f82; font-size: 14pt; font-weight: bold;"));
    DataStateImage = label(this, "DataStateImage", QRect(30, 66, 10, 10));
    DataStateLabel = label(this, "DataStateLabel", QRect(48, 58, 440, 26));
    DataAnimateImage = label(this, "DataAnimateImage", QRect(30, 96, 193, 30));
    DataAnimateImage->hide();
    DataHintLabel = label(this, "DataHintLabel", QRect(30, 134, 560, 24));
    DataTransportLabel = label(this, "DataTransportLabel", QRect(30, 168, 260, 22));
    DataReceivedLabel = label(this, "DataReceivedLabel", QRect(30, 194, 260, 22));
    DataTimeLabel = label(this, "DataTimeLabel", QRect(30, 220, 260, 22));
    DataTxRateLabel = label(this, "DataTxRateLabel", QRect(310, 168, 280, 22));
    DataRxRateLabel = label(this, "DataRxRateLabel", QRect(310, 194, 280, 22));
    for (QLabel* l : {DataTransportLabel, DataReceivedLabel, DataTimeLabel, DataTxRateLabel, DataRxRateLabel})
        l->hide();

    ImButtonConnect = new TImageButton(this, "ImButtonConnect");
    ImButtonConnect->setGeometry(466, 262, 132, 34);
    ImButtonConnect->setEnabled(false);
    connect(ImButtonConnect, &QAbstractButton::clicked, this, [this] { ImButtonConnectClick(); });

    QueryLog = label(this, "QueryLog", QRect(30, 270, 200, 22));
    QueryLog->setTextFormat(Qt::RichText);
    QueryLog->setCursor(Qt::PointingHandCursor);
    connect(QueryLog, &QLabel::linkActivated, this, [this](const QString&) { QueryLogClick(); });

    LinkDataUpdate = new TTimer(this, "LinkDataUpdate", 1000, false, [this] { LinkDataUpdateTimer(); });
    DataAnimate = new TTimer(this, "DataAnimate", 100, false, [this] { DataAnimateTimer(); });
    CheckConnStatus = new TTimer(this, "CheckConnStatus", 100, false, [this] { CheckConnStatusTimer(); });
    EnableConnBtn = new TTimer(this, "EnableConnBtn", 5000, false, [this] { EnableConnBtnTimer(); });
    NetStatusTimer = new TTimer(this, "NetStatusTimer", 5000, false, [this] { NetStatusTimerTimer(); });

    resetStatistics();

    // FormCreate: the captions of the idle page.
    setWindowTitle(GetString(1003));
    DataTitleLabel->setText(GetString(6019));
    DataHintLabel->setText(GetString(6010) + profileName() + QStringLiteral("?"));
    ImButtonConnect->setText(GetString(6016));
    DataStateLabel->setText(GetString(6012) + GetString(6014));
    DataStateImage->setPixmap(stateLight(0));
    DataTransportLabel->clear();
    DataReceivedLabel->clear();
    QueryLog->setText(QStringLiteral("<a href=\"log\" style=\"color:#1f6fb2;\">%1</a>").arg(GetString(6050).toHtmlEscaped()));

    windows::Register("TData_connectform", this);
    // The page fills the main panel it lives in.
    if (parent) resize(std::max(parent->width(), kWidth), std::max(parent->height(), kHeight));
}

TData_connectform::~TData_connectform() {
    windows::Unregister("TData_connectform");
    for (auto& w : watchers_) w->Terminate();
}

QString TData_connectform::profileName() const {
    return codepage::ToQString(profiles::CurrentProfile().name, sizeof profiles::CurrentProfile().name);
}

bool TData_connectform::buttonAllowed() const { return deviceState_ != 1 && deviceState_ != 7 && deviceState_ != 10; }

void TData_connectform::warn(unsigned id) { ShowMessageBox(this, GetString(id), 2); }

// --- connect button and the connect sequence ---------------------------------

void TData_connectform::ImButtonConnectClick() {
    switch (state_) {
    case Dialling:
        setState(Cancelling);
        hangUp();
        break;
    case Connected:
        if (!conn_) break;
        setState(Disconnecting);
        hangUp();
        break;
    case Idle: connectSequence(); break;
    default: break;
    }
}

void TData_connectform::connectSequence() {
    dialup::Service& svc = dialup::Current();
    // A connection on the card's modem that already runs (Linkora restarted) is taken over.
    std::vector<dialup::Connection> running;
    if (svc.EnumConnections(&running) == 0 && !running.empty()) {
        if (running.size() > kMaxAdopt) running.resize(kMaxAdopt);
        if (const auto modem = driverkeys::FriendlyName()) {
            for (const auto& c : running) {
                if (c.deviceName != *modem) continue;
                conn_ = c.handle;
                entryName_ = c.entryName;
                setState(Connected);
                return;
            }
        }
    }
    if (!host::HasNetworkService()) {
        warn(1082);
        return;
    }
    resetStatistics();
    suppressError_ = false;

    std::vector<dialup::Device> devices;
    if (const std::uint32_t r = svc.EnumDevices(&devices)) {
        rasErrorReport(r);
        return;
    }
    if (devices.empty()) {
        warn(6011);
        return;
    }

    const ProfileRecord& p = profiles::CurrentProfile();
    dialdata::UserName() = dialdata::Limit(profiles::Unscramble(p.userName));
    dialdata::Password() = dialdata::Limit(profiles::Unscramble(p.password));
    dialdata::SavedProfileName() = dialdata::Limit(profiles::Field(p.name), dialdata::kMaxSavedName);

    if (profiles::Field(p.askFlag) == "1") {
        TCheckPasswordForm prompt(this);
        if (prompt.exec() == 2) return;
    }

    const auto modem = driverkeys::FriendlyName();
    const dialup::Device* device = nullptr;
    if (modem) {
        for (const auto& d : devices) {
            if (d.name == *modem && d.type == "modem") {
                device = &d;
                break;
            }
        }
    }
    if (!device) {
        warn(6011);
        return;
    }
    const std::uint32_t v = svc.ValidateEntryName(profiles::Field(profiles::CurrentProfile().name));
    if (v == dialup::ERR_INVALID_NAME) {
        rasErrorReport(v);
        return;
    }
    if (writeEntry(*device)) dial();
}

namespace {
// "a.b.c.d" as bytes a, b, c, d; false when a part is missing or out of range.
bool parseAddress(const std::string& text, std::uint32_t* out) {
    std::uint32_t value = 0;
    std::size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t dot = i < 3 ? text.find('.', pos) : text.size();
        if (dot == std::string::npos) return false;
        const std::string part = text.substr(pos, dot - pos);
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos) return false;
        const int n = std::stoi(part);
        if (n > 255) return false;
        value |= static_cast<std::uint32_t>(n) << (8 * i);
        pos = dot + 1;
    }
    *out = value;
    return true;
}
}  // namespace

bool TData_connectform::writeEntry(const dialup::Device& device) {
    const ProfileRecord& p = profiles::CurrentProfile();
    dialup::Entry e;
    e.options = profiles::Field(p.pdpMode) == "1" ? dialup::EO_RemoteDefaultGateway
                                                  : (dialup::EO_RemoteDefaultGateway | dialup::EO_SpecificIpAddr);
    e.options |= profiles::Field(p.auth) == "CHAP" ? dialup::EO_RequireCHAP : dialup::EO_RequirePAP;
    if (profiles::Field(p.dnsMode) == "0") {
        e.options |= dialup::EO_SpecificNameServers;
        if (!parseAddress(profiles::Field(p.dns1), &e.dns)) warn(6026);
        if (!parseAddress(profiles::Field(p.dns2), &e.dnsAlt)) warn(6027);
    }
    e.phoneNumber = profiles::Field(p.number);
    if (e.phoneNumber.size() > dialup::kMaxPhoneNumber) {
        warn(6029);
        return false;
    }
    if (device.type.size() > dialup::kMaxDeviceType) {
        warn(6032);
        return false;
    }
    if (device.name.size() > dialup::kMaxDeviceName) {
        warn(6033);
        return false;
    }
    e.deviceType = device.type;
    e.deviceName = device.name;
    e.netProtocols = dialup::NP_Ip;
    e.framingProtocol = dialup::FP_Ppp;
    e.type = dialup::ET_Phone;
    if (const std::uint32_t r = dialup::Current().SetEntryProperties(profiles::Field(p.name), e)) {
        rasErrorReport(r);
        return false;
    }
    return true;
}

void TData_connectform::dial() {
    const ProfileRecord& p = profiles::CurrentProfile();
    dialup::DialParams d;
    d.entryName = profiles::Field(p.name);
    d.phoneNumber = profiles::Field(p.number);
    d.userName = dialdata::UserName();
    d.password = dialdata::Password();
    const struct {
        std::size_t size, max;
        unsigned id;
    } limits[] = {{d.entryName.size(), dialup::kMaxEntryName, 6028},
                  {d.phoneNumber.size(), dialup::kMaxPhoneNumber, 6029},
                  {d.userName.size(), dialup::kMaxUserName, 6030},
                  {d.password.size(), dialup::kMaxPassword, 6031}};
    for (const auto& l : limits) {
        if (l.size > l.max) {
            warn(l.id);
            return;
        }
    }
    entryName_ = d.entryName;
    conn_ = 0;
    const std::uint32_t r = dialup::Current().Dial(d, Handle(), dialEventMsg_, &conn_);
    setState(Dialling);
    if (r != 0) {
        if (conn_) hangUp();
        setState(Idle);
        startCleanup();
        rasErrorReport(r);
    }
}

// --- messages -----------------------------------------------------------------

bool TData_connectform::statusConnected(dialup::HCONN h) {
    dialup::ConnStatus st;
    return dialup::Current().GetConnectStatus(h, &st) == 0 && st.state == dialup::CS_Connected;
}

LRESULT TData_connectform::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == dialEventMsg_) {
        if (lParam != 0) {
            setState(statusConnected(conn_) ? Connected : Idle);
            startCleanup();
            rasErrorReport(static_cast<std::uint32_t>(lParam));
            suppressError_ = true;
            if (conn_) hangUp();
        } else if (wParam == dialup::CS_Connected) {
            // Only a dial in progress can connect: a late event after a
            // cancel (or after the dial already ended) is ignored.
            if (state_ == Dialling) {
                setState(Connected);
                if (conn_) watchers_.push_back(TGetDisconnetcNotify::Start(conn_, Handle()));
            }
        } else if (wParam == dialup::CS_Disconnected) {
            setState(Idle);
            startCleanup();
        }
        return 0;
    }
    switch (msg) {
    case UM_HANGUP_DONE:
        if (statusConnected(conn_)) {
            setState(Connected);
        } else {
            setState(Idle);
            startCleanup();
        }
        if (lParam != 0) {
            rasErrorReport(static_cast<std::uint32_t>(lParam));
            suppressError_ = false;
        } else {
            conn_ = 0;
        }
        return 0;
    case UM_LINK_DROPPED: {
        // A watcher reports its own connection; the current one (maybe a new
        // dial already) may still be there.
        dialup::ConnStatus st;
        if (conn_ && dialup::Current().GetConnectStatus(conn_, &st) == 0 && st.state != dialup::CS_Disconnected)
            return 0;
        setState(Idle);
        startCleanup();
        return 0;
    }
    default: return MessageTarget::WndProc(msg, wParam, lParam);
    }
}

void TData_connectform::hangUp() {
    dialup::Current().ClearConnectionStatistics(conn_);
    if (conn_) THangup::Start(conn_, Handle());
}

// --- state drawing ------------------------------------------------------------

void TData_connectform::setState(std::uint8_t s) {
    state_ = s;
    drawState(s);
}

void TData_connectform::drawState(std::uint8_t s) {
    for (HWND w : host::DataStateReceivers()) PostMessage(w, UM_DATA_STATE, s, 0);
    const QString name = profileName();
    switch (s) {
    case Idle: {
        if (shown_ == Idle) return;
        shown_ = Idle;
        if (stats_.started) {
            record_.endTime = Now();
            record_.duration = static_cast<std::int32_t>((TickCount() - stats_.startTick) / 1000);
            record_.bytesSent = stats_.lastSent;
            record_.bytesReceived = stats_.lastReceived;
            if (OnConnectionEnded) {
                OnConnectionEnded(record_);
            } else if (auto* log = windows::Get<TDataLogForm>("TDataLogForm")) {
                log->Append(record_);
            } else {
                TDataLogForm::Store(record_);
            }
        }
        QueryLog->setEnabled(true);
        LinkDataUpdate->SetEnabled(false);
        resetStatistics();
        stopAnimation();
        hideStatistics();
        DataStateImage->setPixmap(stateLight(0));
        DataStateLabel->setText(GetString(6012) + GetString(6014));
        DataHintLabel->setText(GetString(6010) + name + QStringLiteral("?"));
        DataHintLabel->show();
        ImButtonConnect->setEnabled(buttonAllowed());
        ImButtonConnect->setText(GetString(6016));
        host::ShowDisconnected();
        Velk_OpenAT();
        NetStatusTimer->SetEnabled(true);
        if (!driverClassKey_.isEmpty()) driverkeys::WriteRingDetect(driverClassKey_);
        break;
    }
    case Dialling:
        ImButtonConnect->setEnabled(false);
        EnableConnBtn->SetEnabled(true);
        startAnimation(0);
        DataHintLabel->setText(GetString(6007) + QStringLiteral(" to ") + name);
        DataHintLabel->show();
        ImButtonConnect->setText(GetString(6018));
        shown_ = Dialling;
        break;
    case Cancelling:
        LinkDataUpdate->SetEnabled(false);
        ImButtonConnect->setEnabled(false);
        startAnimation(5);
        hideStatistics();
        DataHintLabel->setText(GetString(6009));
        DataHintLabel->show();
        suppressError_ = true;
        shown_ = Cancelling;
        break;
    case Connected: {
        const bool entering = shown_ != Connected;
        // A failed hang-up comes back here: the connection keeps its start.
        if (!stats_.started) stats_.Start(TickCount());
        record_.userName = dialdata::Limit(dialdata::UserName(), 103);
        stopAnimation();
        DataHintLabel->hide();
        if (sample()) showStatistics();
        DataStateImage->setPixmap(stateLight(1));
        DataStateLabel->setText(GetString(6012) + GetString(6013) + QStringLiteral(" to ") + name);
        LinkDataUpdate->SetEnabled(true);
        ImButtonConnect->setEnabled(true);
        ImButtonConnect->setText(GetString(6017));
        host::ShowConnected();
        suppressError_ = false;
        if (entering) {
            Velk_CloseAT(1);
            NetStatusTimer->SetEnabled(false);
        }
        shown_ = Connected;
        break;
    }
    case Disconnecting:
        LinkDataUpdate->SetEnabled(false);
        ImButtonConnect->setEnabled(false);
        QueryLog->setEnabled(false);
        hideStatistics();
        DataHintLabel->setText(GetString(6008));
        DataHintLabel->show();
        startAnimation(5);
        shown_ = Disconnecting;
        break;
    default: break;
    }
    update();
}

// --- statistics ---------------------------------------------------------------

void TData_connectform::resetStatistics() {
    stats_.Reset(LinkDataUpdate->Interval());
    CheckConnStatus->SetEnabled(false);
    CheckConnStatus->SetInterval(100);
    cleanupAttempts_ = 0;
}

bool TData_connectform::sample() {
    dialup::Stats st;
    if (dialup::Current().GetConnectionStatistics(conn_, &st) != 0) return false;
    stats_.Sample(st.bytesSent, st.bytesReceived, TickCount());
    return true;
}

void TData_connectform::showStatistics() {
    if (state_ != Connected) {
        for (QLabel* l : {DataTransportLabel, DataReceivedLabel, DataTimeLabel, DataTxRateLabel, DataRxRateLabel})
            l->clear();
        return;
    }
    DataTransportLabel->setText(GetString(6020) + fmt2(stats_.kbSent) + GetString(6004));
    DataReceivedLabel->setText(GetString(6021) + fmt2(stats_.kbReceived) + GetString(6004));
    DataTimeLabel->setText(GetString(6005) + DurationText(stats_.duration));
    DataTxRateLabel->setText(GetString(6023) + fmt2(stats_.sendRate) + GetString(6022));
    DataRxRateLabel->setText(GetString(6024) + fmt2(stats_.receiveRate) + GetString(6022));
    for (QLabel* l : {DataTransportLabel, DataReceivedLabel, DataTimeLabel, DataTxRateLabel, DataRxRateLabel})
        l->show();
}

void TData_connectform::hideStatistics() {
    for (QLabel* l : {DataTransportLabel, DataReceivedLabel, DataTimeLabel, DataTxRateLabel, DataRxRateLabel})
        l->hide();
}

void TData_connectform::LinkDataUpdateTimer() {
    if (state_ != Connected) return;
    if (sample()) showStatistics();
}

QString TData_connectform::StatisticsSummary() const {
    if (state_ != Connected) return {};
    return GetString(1046) + fmt2(stats_.kbSent) + GetString(6004) + QStringLiteral("\r\n") + GetString(1047) +
           fmt2(stats_.kbReceived) + GetString(6004) + QStringLiteral("\r\n") + GetString(1048) +
           DurationText(stats_.duration);
}

QString TData_connectform::DurationText(std::uint32_t seconds) { return LinkDurationText(seconds); }

// --- animation ----------------------------------------------------------------

void TData_connectform::startAnimation(int tag) {
    DataAnimate->Tag = tag;
    DataAnimate->SetEnabled(true);
}

void TData_connectform::stopAnimation() {
    DataAnimate->SetEnabled(false);
    DataAnimateImage->hide();
    frame_ = -1;
}

void TData_connectform::drawFrame(int index, bool makeVisible) {
    frame_ = index;
    DataAnimateImage->setPixmap(animationFrame(index));
    if (makeVisible) DataAnimateImage->show();
}

void TData_connectform::DataAnimateTimer() {
    DataAnimate->SetInterval(500);
    int& tag = DataAnimate->Tag;
    if (state_ == Dialling) {
        if (tag >= 5) {
            tag = 0;   // the empty tick
            return;
        }
        ++tag;
        drawFrame(tag - 1, tag == 1);
    } else if (state_ == Cancelling || state_ == Disconnecting) {
        if (tag <= 0) {
            tag = 5;   // the empty tick
            return;
        }
        drawFrame(tag - 1, tag == 5);
        --tag;
    }
}

// --- error report and small timers -------------------------------------------

void TData_connectform::rasErrorReport(std::uint32_t code) {
    if (DataAnimate->Enabled()) {
        DataAnimate->SetEnabled(false);
        DataAnimateImage->hide();
    }
    if (suppressError_) return;
    std::string text;
    QString message;
    if (dialup::Current().GetErrorString(code, &text) == 0) {
        message = codepage::ToQString(QByteArray::fromStdString(text));
    } else {
        char buf[24];
        std::snprintf(buf, sizeof buf, "%ld", static_cast<long>(code));
        message = GetString(6015) + QString::fromLatin1(buf);
    }
    ShowMessageBox(this, message, 2);
}

void TData_connectform::startCleanup() { CheckConnStatus->SetEnabled(true); }

void TData_connectform::CheckConnStatusTimer() {
    if (cleanupAttempts_ < 8) {
        ++cleanupAttempts_;
        CheckConnStatus->SetInterval(2000);
        dialup::Service& svc = dialup::Current();
        dialup::ConnStatus st;
        const std::string name = dialdata::SavedProfileName();
        if (svc.GetConnectStatus(conn_, &st) == dialup::ERR_INVALID_HANDLE &&
            svc.ValidateEntryName(name) == dialup::ERR_ALREADY_EXISTS && svc.DeleteEntry(name) == 0) {
            cleanupAttempts_ = 8;
        }
    }
    if (cleanupAttempts_ >= 8) {
        CheckConnStatus->SetEnabled(false);
        CheckConnStatus->SetInterval(100);
        cleanupAttempts_ = 0;
    }
}

void TData_connectform::EnableConnBtnTimer() {
    EnableConnBtn->SetEnabled(false);
    ImButtonConnect->setEnabled(buttonAllowed());
}

void TData_connectform::NetStatusTimerTimer() {
    if (host::CallInProgress()) return;
    _VELK_NETWORK_PARA para{};
    if (Velk_GetNetworkPara(&para) == 0) {
        host::SetNetworkType(codepage::ToQString(para.networkType, sizeof para.networkType));
        host::UpdateDriverNetState();
    }
    NetStatusTimer->SetEnabled(false);
}

void TData_connectform::DeviceStateChanged(std::uint8_t code) {
    deviceState_ = code;
    if (code == 1 || code == 7 || code == 10) {
        setState(Idle);
        startCleanup();
        ImButtonConnect->setEnabled(false);
    } else if (code == 2) {
        if (const auto key = driverkeys::DriverClassKey()) driverClassKey_ = *key;
    } else if (code == 12) {
        ImButtonConnect->setEnabled(true);
        update();
    }
}

// --- showing ------------------------------------------------------------------

void TData_connectform::QueryLogClick() {
    if (auto* log = windows::Get<TDataLogForm>("TDataLogForm")) {
        log->Load();
        log->Prune();
        hide();
        log->hide();
        log->show();
    }
}

void TData_connectform::FormShow() {
    host::SetMainTitle(GetString(1003));
    if (state_ == Idle) DataHintLabel->setText(GetString(6010) + profileName() + QStringLiteral("?"));
}

void TData_connectform::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    FormShow();
}

void TData_connectform::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    ImButtonConnect->move(width() - 162, height() - 57);
    QueryLog->move(30, height() - 49);
    DataHintLabel->resize(width() - 68, DataHintLabel->height());
}

void TData_connectform::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), skin::kSurface);
    // The connection card.
    QRectF card(14, 10, width() - 28, height() - 20);
    p.setPen(QPen(skin::kBorder, 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 8, 8);
    p.setPen(QPen(skin::kAccentLight, 1));
    p.drawLine(QPointF(28, 158), QPointF(width() - 28, 158));
    if (state_ == Connected) {
        p.setPen(Qt::NoPen);
        p.setBrush(skin::kAccentLight);
        p.drawRoundedRect(QRectF(24, 162, width() - 48, 86), 6, 6);
    }
}
