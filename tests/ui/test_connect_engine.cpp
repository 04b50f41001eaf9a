// The data-connection engine on the simulated card and dial-up service:
// dialling, cancelling, failures, statistics, line drops, the watcher, the
// credentials prompt and the adoption of a connection that survived a restart.
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <chrono>
#include <cmath>
#include <thread>

#include "connect/checkpasswordform.h"
#include "connect/connect_host.h"
#include "connect/data_connectform.h"
#include "connect/dialdata.h"
#include "connect/domain/profile.h"
#include "connect/workers.h"
#include "core/messages.h"
#include "core/strings.h"
#include "platform/files.h"
#include "platform/dialup_control.h"
#include "platform/timer.h"
#include "tests/fixture/ui_fixture.h"
#include "velkdev/sim/control.h"
#include "widgets/imagebutton.h"

namespace {

// Records the connection states the window announces.
class StateProbe : public MessageTarget {
public:
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override {
        if (msg == UM_DATA_STATE) states.push_back(static_cast<int>(w));
        return MessageTarget::WndProc(msg, w, l);
    }
    std::vector<int> states;
};

// Waits for work done on the dial-up service's and the workers' threads.
bool pumpUntil(const std::function<bool()>& done, int ms = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    QCoreApplication::processEvents();
    return true;
}

class ConnectEngine : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        velk_sim::ResetScenario();
        velk_sim::SetInstantTiming(true);
        StartCore();
        dialup_sim::Reset();
        dialup_sim::SetInstantTiming(true);
        dialup_sim::SetTrafficGrowth(false);
        ASSERT_TRUE(profiles::LoadDefault());
        ResetHost();
        Host().DataStateReceivers = [this] { return std::vector<HWND>{probe.Handle()}; };
        Host().HasNetworkService = [this] { return service; };
        makeForm();
    }
    void TearDown() override {
        delete panel;
        panel = nullptr;
        dialup_sim::Reset();
        EXPECT_TRUE(pumpUntil([] { return LiveConnectWorkers() == 0; }));
        TCheckPasswordForm::SetResponder({});
        ResetHost();
        UiFixture::TearDown();
    }
    void makeForm() {
        panel = new QWidget;
        panel->resize(628, 319);
        form = new TData_connectform(panel);
        form->TickCount = [this] { return tick; };
        form->OnConnectionEnded = [this](const datalog::ConnectionRecord& r) { ended.push_back(r); };
        form->DeviceStateChanged(2);
        form->DeviceStateChanged(12);
    }
    std::uint8_t state() const { return form->ConnectionState(); }
    void click() { form->ImButtonConnect->click(); }
    // The button is off for five seconds after a dial starts.
    void clickLater() {
        form->EnableConnBtn->Fire();
        click();
    }
    bool waitState(std::uint8_t s) {
        return pumpUntil([&] { return state() == s && LiveConnectWorkers() <= (s == 3 ? 1 : 0); });
    }
    void connectNow() {
        click();
        ASSERT_TRUE(pumpUntil([&] { return state() == TData_connectform::Connected; }));
    }
    void dialEvent(WPARAM state, LPARAM error) { form->WndProc(form->DialEventMessage(), state, error); }

    StateProbe probe;
    QWidget* panel = nullptr;
    TData_connectform* form = nullptr;
    std::uint32_t tick = 1000;
    bool service = true;
    std::vector<datalog::ConnectionRecord> ended;
};

TEST_F(ConnectEngine, ConnectShowsStatisticsAndDisconnectLogsTheConnection) {
    ASSERT_TRUE(form->ImButtonConnect->isEnabled());
    click();
    EXPECT_EQ(state(), TData_connectform::Dialling);
    EXPECT_FALSE(form->ImButtonConnect->isEnabled());
    EXPECT_TRUE(form->DataAnimate->Enabled());
    ASSERT_TRUE(pumpUntil([&] { return state() == TData_connectform::Connected; }));
    EXPECT_TRUE(dialup_sim::EntryExists("Linkora Default"));
    EXPECT_EQ(dialup_sim::LastDial().phoneNumber, "*99#");
    EXPECT_FALSE(velk_sim::AtPortOpen());
    EXPECT_EQ(form->ImButtonConnect->text(), Text(6017));

    dialup_sim::SetCounters(2048, 10240);
    tick += 3000;
    form->LinkDataUpdate->Fire();
    EXPECT_EQ(form->DataTransportLabel->text(), Text(6020) + "2.00" + Text(6004));
    EXPECT_EQ(form->DataReceivedLabel->text(), Text(6021) + "10.00" + Text(6004));
    EXPECT_EQ(form->DataTimeLabel->text(), Text(6005) + TData_connectform::DurationText(3));
    EXPECT_FALSE(form->DataTimeLabel->isHidden());
    EXPECT_EQ(form->StatisticsSummary(), Text(1046) + "2.00" + Text(6004) + "\r\n" + Text(1047) + "10.00" +
                                             Text(6004) + "\r\n" + Text(1048) + TData_connectform::DurationText(3));

    click();
    EXPECT_EQ(state(), TData_connectform::Disconnecting);
    ASSERT_TRUE(waitState(TData_connectform::Idle));
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].duration, 3);
    EXPECT_EQ(ended[0].bytesSent, 2048u);
    EXPECT_EQ(ended[0].bytesReceived, 10240u);
    EXPECT_TRUE(velk_sim::AtPortOpen());
    EXPECT_TRUE(form->StatisticsSummary().isEmpty());
    EXPECT_TRUE(boxes_.empty());
    // Every state was announced; the watcher's report after our own hang-up
    // announces idle once more and changes nothing else.
    EXPECT_EQ(probe.states, (std::vector<int>{1, 3, 4, 0, 0}));
    EXPECT_EQ(ended.size(), 1u);

    // The temporary phonebook entry goes once the connection is gone.
    EXPECT_TRUE(form->CheckConnStatus->Enabled());
    form->CheckConnStatus->Fire();
    EXPECT_FALSE(dialup_sim::EntryExists("Linkora Default"));
    EXPECT_FALSE(form->CheckConnStatus->Enabled());
    EXPECT_EQ(form->CheckConnStatus->Interval(), 100);
}

TEST_F(ConnectEngine, CancelWhileDiallingShowsNoErrorAndIgnoresALateConnectedEvent) {
    dialup_sim::HoldDials(true);
    click();
    ASSERT_EQ(state(), TData_connectform::Dialling);
    click();
    EXPECT_EQ(state(), TData_connectform::Dialling) << "the button is off right after dialling";
    clickLater();
    EXPECT_EQ(state(), TData_connectform::Cancelling);
    dialEvent(0x2000, 0);   // arrives while the hang-up runs
    EXPECT_EQ(state(), TData_connectform::Cancelling);
    ASSERT_TRUE(waitState(TData_connectform::Idle));
    dialEvent(0x2000, 0);   // arrives after the dial has ended
    EXPECT_EQ(state(), TData_connectform::Idle);
    dialEvent(2, 631);      // the aborted dial's error
    EXPECT_TRUE(boxes_.empty());
    EXPECT_TRUE(ended.empty());
    EXPECT_EQ(dialup_sim::ConnectionCount(), 0);
}

TEST_F(ConnectEngine, AnErrorWhileDiallingShowsOneMessageAndHangsUpQuietly) {
    dialup_sim::FailNextDial(676);
    dialup_sim::FailNextHangUp(668);   // the hang-up of the half-open line fails too
    click();
    ASSERT_TRUE(pumpUntil([&] { return state() == TData_connectform::Idle && dialup_sim::HangUpCount() == 0 &&
                                       LiveConnectWorkers() == 0 && !boxes_.empty(); }));
    pumpUntil([] { return LiveConnectWorkers() == 0; });
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, QStringLiteral("The line is busy."));
    EXPECT_EQ(boxes_[0].kind, 2);
    EXPECT_TRUE(ended.empty());
}

TEST_F(ConnectEngine, FailuresBeforeTheDialShowTheirTexts) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        QString text;
    } cases[] = {
        {"no text for the code", [] { dialup_sim::FailNextDialCall(4321); }, Text(6015) + "4321"},
        {"refused credentials", [] { dialup_sim::SetAcceptedCredentials("right", "secret"); },
         QStringLiteral("The network refused the user name or password.")},
        {"no modem", [] { dialup_sim::SetModemAvailable(false); }, Text(6011)},
        {"no service", [this] { service = false; }, Text(1082)},
    };
    for (auto& c : cases) {
        boxes_.clear();
        c.arrange();
        click();
        ASSERT_TRUE(pumpUntil([&] { return !boxes_.empty() && state() == TData_connectform::Idle &&
                                           LiveConnectWorkers() == 0; })) << c.what;
        EXPECT_EQ(boxes_.front().text, c.text) << c.what;
        EXPECT_EQ(boxes_.size(), 1u) << c.what;
        dialup_sim::Reset();
        dialup_sim::SetInstantTiming(true);
        service = true;
    }
}

TEST_F(ConnectEngine, DeviceStatesThatLoseTheCardLogTheConnectionWithoutHangingUp) {
    for (std::uint8_t code : {1, 7, 10}) {
        ended.clear();
        connectNow();
        tick += 5000;
        form->DeviceStateChanged(code);
        EXPECT_EQ(state(), TData_connectform::Idle) << int(code);
        ASSERT_EQ(ended.size(), 1u) << int(code);
        EXPECT_EQ(ended[0].duration, 5);
        EXPECT_FALSE(form->ImButtonConnect->isEnabled());
        form->EnableConnBtnTimer();
        EXPECT_FALSE(form->ImButtonConnect->isEnabled()) << "stays off while the card is away";
        EXPECT_EQ(dialup_sim::HangUpCount(), 0);
        // The connection still holds its entry: the cleanup gives up after 8 attempts.
        for (int i = 0; i < 8; ++i) form->CheckConnStatus->Fire();
        EXPECT_FALSE(form->CheckConnStatus->Enabled());
        EXPECT_TRUE(dialup_sim::EntryExists("Linkora Default"));
        dialup_sim::Reset();
        dialup_sim::SetInstantTiming(true);
        dialup_sim::SetTrafficGrowth(false);
        form->DeviceStateChanged(12);
    }
}

TEST_F(ConnectEngine, AFailedHangUpKeepsTheConnectionStart) {
    connectNow();
    tick += 4000;
    dialup_sim::FailNextHangUp(668);
    click();
    ASSERT_TRUE(pumpUntil([&] { return state() == TData_connectform::Connected && LiveConnectWorkers() <= 1; }));
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, Text(6015) + "668");
    tick += 4000;
    click();
    ASSERT_TRUE(waitState(TData_connectform::Idle));
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].duration, 8);
}

TEST_F(ConnectEngine, ALineDropIsSeenByTheWatcherEvenAfterRefusedNotifications) {
    dialup_sim::FailNotifications(2);
    connectNow();
    tick += 2000;
    dialup_sim::DropLine();
    ASSERT_TRUE(waitState(TData_connectform::Idle));
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].duration, 2);
}

TEST_F(ConnectEngine, AWatcherOfAnOldConnectionCannotDropTheCurrentOne) {
    connectNow();
    // A stale report, and a watcher started for a connection that has long gone.
    form->WndProc(UM_LINK_DROPPED, 0, 0);
    EXPECT_EQ(state(), TData_connectform::Connected);
    auto old = TGetDisconnetcNotify::Start(0x42, form->Handle());
    ASSERT_TRUE(pumpUntil([&] { return old->Finished(); }));
    QCoreApplication::processEvents();
    EXPECT_EQ(state(), TData_connectform::Connected);
    EXPECT_TRUE(ended.empty());
}

TEST_F(ConnectEngine, ALateDropReportDoesNotEndTheNextDial) {
    connectNow();
    dialup_sim::DropLine();
    ASSERT_TRUE(waitState(TData_connectform::Idle));
    dialup_sim::HoldDials(true);
    click();
    ASSERT_EQ(state(), TData_connectform::Dialling);
    form->WndProc(UM_LINK_DROPPED, 0, 0);   // the old connection's watcher, late
    EXPECT_EQ(state(), TData_connectform::Dialling);
    dialup_sim::ReleaseDial();
    ASSERT_TRUE(pumpUntil([&] { return state() == TData_connectform::Connected; }));
}

TEST_F(ConnectEngine, AConnectionThatSurvivedARestartIsAdoptedWithoutAWatcher) {
    connectNow();
    delete panel;   // Linkora ends; the connection keeps running
    panel = nullptr;
    pumpUntil([] { return LiveConnectWorkers() == 0; });
    dialup_sim::Restart();
    ASSERT_TRUE(dialup_sim::Connected());
    makeForm();
    click();
    EXPECT_EQ(state(), TData_connectform::Connected);
    EXPECT_EQ(LiveConnectWorkers(), 0);   // no watcher for an adopted connection
    dialup_sim::DropLine();
    QCoreApplication::processEvents();
    EXPECT_EQ(state(), TData_connectform::Connected);
    tick += 6000;
    click();
    ASSERT_TRUE(waitState(TData_connectform::Idle));
    ASSERT_EQ(ended.size(), 1u);
    EXPECT_EQ(ended[0].duration, 6);
}

TEST_F(ConnectEngine, RepeatedIdleDrawingsAnnounceButDoNotRedraw) {
    form->DeviceStateChanged(1);
    form->DeviceStateChanged(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(probe.states, (std::vector<int>{0, 0}));
    EXPECT_TRUE(ended.empty());
}

TEST_F(ConnectEngine, AnimationCountsItsTags) {
    dialup_sim::HoldDials(true);
    click();
    std::vector<int> frames;
    for (int i = 0; i < 7; ++i) {
        form->DataAnimate->Fire();
        frames.push_back(form->AnimationFrame());
        EXPECT_EQ(form->DataAnimate->Interval(), 500);
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 3, 4, 4, 0}));   // the sixth tick is the empty one
    clickLater();   // cancelling counts down from 5
    frames.clear();
    for (int i = 0; i < 7; ++i) {
        form->DataAnimate->Fire();
        frames.push_back(form->AnimationFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{4, 3, 2, 1, 0, 0, 4}));
    waitState(TData_connectform::Idle);
}

// --- credentials prompt -----------------------------------------------------

class CredentialsPrompt : public ConnectEngine {
protected:
    void SetUp() override {
        ConnectEngine::SetUp();
        ProfileRecord& p = profiles::CurrentProfile();
        profiles::SetField(p.askFlag, "1");
        ASSERT_TRUE(profiles::StoreCurrent());
    }
    ProfileRecord stored() {
        ProfileRecord r{};
        profiles::Find(profiles::Field(profiles::CurrentProfile().name), &r);
        return r;
    }
};

TEST_F(CredentialsPrompt, TypedAndSavedCredentialsAreDialledAndStoredScrambled) {
    TCheckPasswordForm::SetResponder([](TCheckPasswordForm& f) {
        EXPECT_TRUE(f.Edit_username->text().isEmpty());
        f.Edit_username->setText("bob");
        f.Edit_password->setText("pw1");
        f.CheckBox_Save->setChecked(true);
        f.ImButton_OKClick();
        return f.result();
    });
    connectNow();
    EXPECT_EQ(dialup_sim::LastDial().userName, "bob");
    EXPECT_EQ(dialup_sim::LastDial().password, "pw1");
    const ProfileRecord r = stored();
    EXPECT_EQ(profiles::Unscramble(r.userName), "bob");
    EXPECT_EQ(profiles::Field(r.saveFlag), "1");
    ProfileRecord def{};
    ASSERT_TRUE(profiles::ReadDefaultFile(&def));
    EXPECT_EQ(profiles::Unscramble(def.password), "pw1");
    EXPECT_NE(profiles::Field(def.userName), "bob");   // never in plain text
}

TEST_F(CredentialsPrompt, ClearingSaveRemovesStoredCredentialsButDialsWithTheTypedOnes) {
    ProfileRecord& p = profiles::CurrentProfile();
    profiles::SetField(p.saveFlag, "1");
    profiles::Scramble("old", p.userName);
    profiles::Scramble("oldpw", p.password);
    ASSERT_TRUE(profiles::StoreCurrent());
    TCheckPasswordForm::SetResponder([](TCheckPasswordForm& f) {
        EXPECT_EQ(f.Edit_username->text(), "old");
        EXPECT_TRUE(f.CheckBox_Save->isChecked());
        f.Edit_username->setText("once");
        f.Edit_password->setText("only");
        f.CheckBox_Save->setChecked(false);
        f.ImButton_OKClick();
        return f.result();
    });
    connectNow();
    EXPECT_EQ(dialup_sim::LastDial().userName, "once");
    const ProfileRecord r = stored();
    EXPECT_EQ(profiles::Field(r.userName), "");
    EXPECT_EQ(profiles::Field(r.saveFlag), "0");
}

TEST_F(CredentialsPrompt, OkWithNothingTypedWritesNothingAndCancelDialsNothing) {
    const auto before = files::ReadAll(profiles::ConfigPath());
    TCheckPasswordForm::SetResponder([](TCheckPasswordForm& f) {
        f.ImButton_OKClick();
        return f.result();
    });
    connectNow();
    EXPECT_EQ(dialup_sim::LastDial().userName, "");
    EXPECT_EQ(files::ReadAll(profiles::ConfigPath()), before);
    click();
    ASSERT_TRUE(waitState(TData_connectform::Idle));

    TCheckPasswordForm::SetResponder([](TCheckPasswordForm& f) {
        f.Edit_username->setText("x");
        f.ImImage_Close->click();
        return f.result();
    });
    dialup_sim::Reset();
    click();
    EXPECT_EQ(state(), TData_connectform::Idle);
    EXPECT_EQ(dialup_sim::ConnectionCount(), 0);
    EXPECT_EQ(files::ReadAll(profiles::ConfigPath()), before);
}

// --- statistics ----------------------------------------------------------------

TEST(LinkStats, FiveSamplesArePerSampleThenTheWindowAverages) {
    TLinkStats s;
    s.Reset(1000);
    EXPECT_EQ(s.divisor, 128.0f);
    s.Start(0);
    // {sent, received, tick}: each second 1280 bytes more sent, 2560 more received.
    std::uint32_t t = 0;
    for (int i = 1; i <= 5; ++i) {
        t += 1000;
        s.Sample(1280u * i, 2560u * i, t);
        EXPECT_FLOAT_EQ(s.sendRate, 10.0f) << i;
        EXPECT_FLOAT_EQ(s.receiveRate, 20.0f) << i;
    }
    EXPECT_FALSE(s.windowFull);
    // The sixth sample: 5 deltas (one of them 12800) over 6 whole seconds.
    t += 2000;
    s.Sample(1280u * 5 + 12800, 2560u * 6, t);
    EXPECT_TRUE(s.windowFull);
    EXPECT_FLOAT_EQ(s.sendRate, (1280.0f * 4 + 12800) / (6 * 128.0f));
    EXPECT_FLOAT_EQ(s.receiveRate, (2560.0f * 5) / (6 * 128.0f));
    EXPECT_EQ(s.duration, 7u);
}

TEST(LinkStats, ACounterThatGoesDownAddsNothingAndBurstsNeverDivideByZero) {
    TLinkStats s;
    s.Reset(1000);
    s.Start(0);
    s.Sample(5000, 5000, 1000);
    s.Sample(100, 6000, 2000);   // the sent counter was cleared
    EXPECT_EQ(s.window[1].sent, 0u);
    EXPECT_EQ(s.window[1].received, 1000u);
    EXPECT_FLOAT_EQ(s.sendRate, 0.0f);
    // Five ticks within a few milliseconds: under one whole second in the window.
    for (int i = 0; i < 6; ++i) s.Sample(200 + i * 100, 7000 + i * 100, 2001 + i);
    EXPECT_TRUE(s.windowFull);
    EXPECT_TRUE(std::isfinite(s.sendRate));
    EXPECT_TRUE(std::isfinite(s.receiveRate));
}

class LinkText : public UiFixture {};

TEST_F(LinkText, DurationTextKeepsEveryHourDigit) {
    struct Case {
        std::uint32_t seconds;
        const char *h, *m, *s;
    } cases[] = {{0, "00", "00", "00"}, {59, "00", "00", "59"}, {3661, "01", "01", "01"}, {360000, "100", "00", "00"}};
    for (const auto& c : cases)
        EXPECT_EQ(LinkDurationText(c.seconds), QString::fromLatin1(c.h) + GetString(6001) + c.m + GetString(6002) + c.s +
                                                   GetString(6003));
}

}  // namespace
