// The status line: signal bars and polling, network type, operator, domain
// and roaming, the reset, the indicators with their tray precedence and
// sounds, the tray hint by state, and the icon animations.
#include <QApplication>
#include <QDialog>
#include <cstring>

#include "app/sound.h"
#include "app/status_display.h"
#include "app/tray.h"
#include "core/allsettings.h"
#include "core/messages.h"
#include "core/payloads.h"
#include "platform/timer.h"
#include "tests/fixture/ui_fixture.h"
#include "velkdev/sim/control.h"
#include "velkdev/velkdev.h"

using artwork::ImageList;

namespace {

// A notice window that records what happens to it instead of running a modal loop.
class FakeNotice : public QDialog {
public:
    FakeNotice(int kind, QString number) : kind(kind), number(std::move(number)) { resize(179, 113); }
    int exec() override {
        ++execs;
        if (duringExec) duringExec(this);
        return 0;
    }
    int kind;
    QString number;
    int execs = 0;
    std::function<void(FakeNotice*)> duringExec;
};

class StatusTest : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        velk_sim::ResetScenario();
        velk_sim::SetInstantTiming(true);
        velk_sim::SetLockSupported(false);
        velk_sim::ClearFailures();
        sound::SetBackendFactory([] { return std::make_unique<sound::RecordingBackend>(); });
        StartCore();
        ASSERT_EQ(Velk_NetcardStart(), 0);
        velk_sim::Flush();
        QCoreApplication::processEvents();

        display_ = std::make_unique<TStatusDisplay>(nullptr);
        display_->host.deviceState = [this] { return state_; };
        display_->host.dataState = [this] { return data_; };
        display_->host.updateDriverNetState = [this] { ++driverUpdates_; };
        display_->host.connectionSummary = [this] { return summary_; };
        display_->host.makeNotice = [this](int kind, const QString& number) {
            auto* n = new FakeNotice(kind, number);
            n->duringExec = duringExec_;
            notices_.push_back(n);
            return n;
        };
        display_->host.setNoticeNumber = [](QDialog* d, const QString& number) {
            static_cast<FakeNotice*>(d)->number = number;
        };
        ASSERT_FALSE(ResetAllSettings());  // "allconfig.ran" with the default sounds
    }
    void TearDown() override {
        display_.reset();
        sound::SetBackendFactory({});
        velk_sim::ClearFailures();
        velk_sim::ResetScenario();
        UiFixture::TearDown();
    }

    sound::RecordingBackend& player() {
        return static_cast<sound::RecordingBackend&>(display_->MediaPlayer_Main->Backend());
    }
    TTrayIcon& tray() { return *display_->TrayIcon_Main; }
    int bars() const { return display_->Image_RSSI->Index(); }
    // Gives the display service (a network type other than "No Service").
    void withService() {
        display_->NetTypeMessage(std::unique_ptr<char[]>(payloads::CopyString("UMTS")));
        ASSERT_EQ(display_->HasNetworkService(), 1);
    }
    static std::unique_ptr<OperatorRecord> operatorRecord(const char* name, const char* domain, const char* roaming) {
        auto r = std::make_unique<OperatorRecord>();
        std::memset(r->bytes, 0, sizeof r->bytes);
        std::strcpy(reinterpret_cast<char*>(r->bytes), name);
        std::strcpy(reinterpret_cast<char*>(r->bytes + 140), domain);
        std::strcpy(reinterpret_cast<char*>(r->bytes + 176), roaming);
        return r;
    }
    // The file the player opened last, relative to the program folder.
    QString lastOpened() {
        for (auto it = player().calls.crbegin(); it != player().calls.crend(); ++it)
            if (it->startsWith(QLatin1String("open "))) return it->mid(5).remove(dir_.path() + QLatin1Char('/'));
        return {};
    }

    std::unique_ptr<TStatusDisplay> display_;
    std::uint8_t state_ = 12;
    std::uint8_t data_ = 0;
    int driverUpdates_ = 0;
    std::optional<QString> summary_;
    std::vector<FakeNotice*> notices_;
    std::function<void(FakeNotice*)> duringExec_;
};

// --- signal ------------------------------------------------------------------

TEST_F(StatusTest, SignalValuesChooseBarsAndTrayPicture) {
    withService();
    const struct {
        int value, bars, tray;
    } cases[] = {{2, 0, 2}, {3, 1, 3}, {9, 1, 3}, {10, 2, 3}, {12, 2, 3}, {13, 3, 3}, {15, 3, 3},
                 {16, 4, 3}, {18, 4, 3}, {19, 5, 3}, {31, 5, 3}, {32, 0, 2}, {99, 0, 2}, {-1, 0, 2}};
    for (const auto& c : cases) {
        display_->ShowSignalLevel(c.value);
        EXPECT_EQ(bars(), c.bars) << "value " << c.value;
        EXPECT_EQ(tray().IconIndex(), c.tray) << "value " << c.value;
    }
}

TEST_F(StatusTest, NoServiceShowsNoBarsWhateverTheValue) {
    ASSERT_EQ(display_->HasNetworkService(), 0);
    display_->ShowSignalLevel(25);
    EXPECT_EQ(bars(), 0);
    EXPECT_EQ(tray().IconIndex(), 2);
}

TEST_F(StatusTest, SignalLeavesOtherTrayImagesAlone) {
    withService();
    tray().Show(ImageList::NewSms, 1);
    display_->ShowSignalLevel(25);
    EXPECT_EQ(bars(), 5);
    EXPECT_TRUE(tray().Uses(ImageList::NewSms));
    EXPECT_EQ(tray().IconIndex(), 1);
}

TEST_F(StatusTest, SignalMessageFromTheCard) {
    withService();
    EXPECT_TRUE(display_->HandleMessage(UM_SIGNAL, 0, 14));
    EXPECT_EQ(bars(), 3);
    // A value past 31 in the message's full width is no signal, not a wrapped number.
    EXPECT_TRUE(display_->HandleMessage(UM_SIGNAL, 0, static_cast<LPARAM>(0xFFFFFFFFu)));
    EXPECT_EQ(bars(), 0);
    EXPECT_FALSE(display_->HandleMessage(UM_DEVICE_STATE, 12, 0));
}

TEST_F(StatusTest, PollShowsTheCardsReadingAndFailures) {
    withService();
    velk_sim::SetSignal(17);
    velk_sim::Flush();
    display_->PollSignal();
    EXPECT_EQ(bars(), 4);
    // Result 9: no reading yet; the display stays and the poll is not counted.
    velk_sim::FailNext("Velk_GetCsq", VELK_E_NO_READING);
    display_->PollSignal();
    EXPECT_EQ(bars(), 4);
    EXPECT_EQ(display_->SignalTickCount(), 1);
    // Any other failure: no signal.
    velk_sim::FailNext("Velk_GetCsq", VELK_E_NO_CARD);
    display_->PollSignal();
    EXPECT_EQ(bars(), 0);
    EXPECT_EQ(display_->SignalTickCount(), 2);
}

TEST_F(StatusTest, PollingGoesFromQuickToSteadyAtTheFourthCountedPoll) {
    withService();
    display_->ResetStatusDisplay(2);
    withService();
    TTimer* t = display_->Timer_RSSI;
    EXPECT_EQ(t->Interval(), 1500);
    EXPECT_FALSE(t->Enabled());
    t->SetEnabled(true);
    for (int poll = 1; poll <= 3; ++poll) {
        t->Fire();
        EXPECT_EQ(t->Interval(), 1500) << "poll " << poll;
    }
    velk_sim::FailNext("Velk_GetCsq", VELK_E_NO_READING);
    t->Fire();  // not counted
    EXPECT_EQ(t->Interval(), 1500);
    t->Fire();  // the fourth counted poll
    EXPECT_EQ(t->Interval(), 10000);
    EXPECT_TRUE(t->Enabled());
    // A reset starts the quick polls again.
    display_->ResetStatusDisplay(1);
    EXPECT_EQ(t->Interval(), 1500);
    EXPECT_EQ(display_->SignalTickCount(), 0);
    EXPECT_FALSE(t->Enabled());
}

// --- network type, operator, roaming --------------------------------------------

TEST_F(StatusTest, NetworkTypeMessageSetsServiceByExactText) {
    const struct {
        const char* text;
        int service;
    } cases[] = {{"Limit Service", 1}, {"No Service", 0}, {"NO SERVICE", 1}, {"no service", 1}, {"HSDPA", 1}};
    for (const auto& c : cases) {
        const int before = driverUpdates_;
        EXPECT_TRUE(display_->HandleMessage(UM_NET_TYPE, 0, reinterpret_cast<LPARAM>(payloads::CopyString(c.text))));
        EXPECT_EQ(display_->Label_NetWorkType->text(), QString::fromLatin1(c.text));
        EXPECT_EQ(display_->HasNetworkService(), c.service) << c.text;
        EXPECT_EQ(driverUpdates_, before + 1);
    }
}

TEST_F(StatusTest, DataConnectionWindowSetsTheTypeWithoutTouchingService) {
    withService();
    display_->SetNetworkTypeText(QStringLiteral("No Service"));
    EXPECT_EQ(display_->Label_NetWorkType->text(), QStringLiteral("No Service"));
    EXPECT_EQ(display_->HasNetworkService(), 1);
    EXPECT_EQ(driverUpdates_, 2);
}

TEST_F(StatusTest, NetworkReadingOfStateEleven) {
    velk_sim::SetNetworkType("HSDPA");
    velk_sim::SetOperator("Linkora Mobile", "Linkora", "00101");
    velk_sim::SetRoaming(true);
    const struct {
        std::uint8_t domain;
        const char* label;
    } domains[] = {{0, "C"}, {1, "P"}, {2, "P C"}};
    for (const auto& d : domains) {
        velk_sim::SetDomain(d.domain);
        velk_sim::Flush();
        display_->ReadNetworkInfo();
        EXPECT_EQ(display_->Label_NetWorkType->text(), QStringLiteral("HSDPA"));
        EXPECT_EQ(display_->HasNetworkService(), 1);
        EXPECT_EQ(display_->Label_Domain->text(), QString::fromLatin1(d.label));
        EXPECT_EQ(display_->Label_Domain->toolTip(), Text(1073));
    }
    EXPECT_EQ(display_->Label_OperaName->text(), QStringLiteral("Linkora Mobile"));
    EXPECT_EQ(display_->Label_Roam->text(), QStringLiteral("R"));
    EXPECT_EQ(display_->Label_Roam->toolTip(), Text(1086));
}

TEST_F(StatusTest, NetworkReadingWithoutCoverage) {
    withService();
    velk_sim::SetCoverage(false);
    velk_sim::Flush();
    display_->ReadNetworkInfo();
    EXPECT_EQ(display_->Label_NetWorkType->text(), QStringLiteral("NO SERVICE"));
    EXPECT_EQ(display_->HasNetworkService(), 0);
    EXPECT_EQ(bars(), 0);
    EXPECT_EQ(tray().IconIndex(), 2);
}

TEST_F(StatusTest, FailedReadingsLeaveTheLabels) {
    display_->ReadNetworkInfo();
    const QString type = display_->Label_NetWorkType->text(), op = display_->Label_OperaName->text();
    const QString domain = display_->Label_Domain->text(), roam = display_->Label_Roam->text();
    const int updates = driverUpdates_;
    velk_sim::SetNetworkType("GPRS");
    velk_sim::SetOperator("Other Net", "Other", "00102");
    velk_sim::Flush();
    velk_sim::FailNext("Velk_GetNetworkPara", VELK_E_NO_CARD);
    velk_sim::FailNext("Velk_GetZdonPara", VELK_E_NO_CARD);
    display_->ReadNetworkInfo();
    EXPECT_EQ(display_->Label_NetWorkType->text(), type);
    EXPECT_EQ(display_->Label_OperaName->text(), op);
    EXPECT_EQ(display_->Label_Domain->text(), domain);
    EXPECT_EQ(display_->Label_Roam->text(), roam);
    EXPECT_EQ(driverUpdates_, updates);
}

TEST_F(StatusTest, OperatorNamesAreSubstitutedOnlyByExactText) {
    const struct {
        const char* name;
        QString shown;
    } cases[] = {{"China Mobile", Text(1077)},
                 {"china mobile", QStringLiteral("china mobile")},
                 {"China Unicom", Text(1078)},
                 {"CHINA UNICOM", QStringLiteral("CHINA UNICOM")},
                 {"China Mobile ", QStringLiteral("China Mobile ")}};
    ASSERT_FALSE(Text(1077).isEmpty());
    for (const auto& c : cases) {
        display_->OperatorMessage(operatorRecord(c.name, "CS_PS", "ROAM_OFF"));
        EXPECT_EQ(display_->Label_OperaName->text(), c.shown) << c.name;
    }
}

TEST_F(StatusTest, OperatorNotificationDomainAndRoaming) {
    const struct {
        const char* domain;
        const char* label;
    } cases[] = {{"CS_ONLY", "C"}, {"PS_ONLY", "P"}, {"CS_PS", "P C"}, {"cs_ps", ""}, {"", ""}};
    for (const auto& c : cases) {
        EXPECT_TRUE(display_->HandleMessage(UM_OPERATOR_INFO, 0,
                                            reinterpret_cast<LPARAM>(operatorRecord("Net", c.domain, "ROAM_ON").release())));
        EXPECT_EQ(display_->Label_Domain->text(), QString::fromLatin1(c.label)) << c.domain;
        EXPECT_EQ(display_->Label_Domain->toolTip(), *c.label ? Text(1073) : QString()) << c.domain;
        EXPECT_EQ(display_->Label_Roam->text(), QStringLiteral("R"));
    }
}

TEST_F(StatusTest, RoamingTextsOtherThanTheThreeLeaveTheLabel) {
    display_->ApplyRoaming(QStringLiteral("ROAM_ON"));
    display_->ApplyRoaming(QStringLiteral("ROAMING"));
    EXPECT_EQ(display_->Label_Roam->text(), QStringLiteral("R"));
    display_->ApplyRoaming(QStringLiteral("roam_off"));
    EXPECT_EQ(display_->Label_Roam->text(), QStringLiteral("R"));
    display_->ApplyRoaming(QStringLiteral("ROAM_OFF"));
    EXPECT_EQ(display_->Label_Roam->text(), QString());
    EXPECT_EQ(display_->Label_Roam->toolTip(), QString());
    display_->ApplyRoaming(QStringLiteral("ROAM_ON"));
    display_->ApplyRoaming(QString());
    EXPECT_EQ(display_->Label_Roam->text(), QString());
}

TEST_F(StatusTest, OperatorRecordTextsAreReadWithinTheirFields) {
    // No terminators anywhere: each text stops at its own field's end.
    auto r = std::make_unique<OperatorRecord>();
    std::memset(r->bytes, 'A', sizeof r->bytes);
    display_->OperatorMessage(std::move(r));
    EXPECT_EQ(display_->Label_OperaName->text(), QString(68, QLatin1Char('A')));
    EXPECT_EQ(display_->Label_Domain->text(), QString());
}

// --- reset ---------------------------------------------------------------------

TEST_F(StatusTest, ResetClearsTheLine) {
    withService();
    display_->ShowSignalLevel(20);
    display_->OperatorMessage(operatorRecord("Net", "CS_PS", "ROAM_ON"));
    display_->ShowNewSms(QStringLiteral("123"));
    display_->ShowMissedCall();
    data_ = 3;
    display_->ShowConnected();
    display_->Timer_RSSI->SetEnabled(true);
    display_->PlaySound(QStringLiteral("ring.wav"), 3);

    display_->ResetStatusDisplay(1);
    EXPECT_FALSE(display_->Timer_RSSI->Enabled());
    EXPECT_EQ(bars(), 0);
    EXPECT_TRUE(display_->ImImage_NewSms->isHidden());
    EXPECT_FALSE(display_->Timer_NewSms->Enabled());
    EXPECT_TRUE(display_->ImImage_IncomingCall->isHidden());
    EXPECT_FALSE(display_->Timer_IncomingCall->Enabled());
    EXPECT_FALSE(display_->Timer_Internet->Enabled());
    EXPECT_EQ(display_->Image_Internet->List(), ImageList::TrayMain);
    EXPECT_EQ(display_->Image_Internet->Index(), 6);
    EXPECT_EQ(display_->Image_Internet->toolTip(), Text(1072));
    EXPECT_EQ(display_->Label_Domain->text(), QString());
    EXPECT_EQ(display_->Label_NetWorkType->text(), QStringLiteral("No Service"));
    EXPECT_EQ(display_->HasNetworkService(), 0);
    EXPECT_EQ(display_->Label_OperaName->text(), QStringLiteral("Not Found"));
    EXPECT_EQ(display_->Label_Roam->text(), QString());
    EXPECT_TRUE(tray().Uses(ImageList::TrayMain));
    EXPECT_FALSE(tray().Animating());
    EXPECT_EQ(display_->MediaPlayer_Main->Tag, 0);
}

TEST_F(StatusTest, ResetOfStateTenKeepsTheConnectionAndTwoKeepsTheSound) {
    data_ = 3;
    display_->ShowConnected();
    display_->Timer_InternetTimer();
    display_->PlaySound(QStringLiteral("ring.wav"), 3);
    display_->ResetStatusDisplay(10);
    EXPECT_TRUE(display_->Timer_Internet->Enabled());
    EXPECT_EQ(display_->Image_Internet->List(), ImageList::Internet);
    EXPECT_EQ(display_->Image_Internet->toolTip(), Text(1063));
    EXPECT_EQ(display_->MediaPlayer_Main->Tag, 0);  // state 10 stops the sound

    display_->PlaySound(QStringLiteral("ring.wav"), 3);
    display_->ResetStatusDisplay(2);
    EXPECT_EQ(display_->MediaPlayer_Main->Tag, 3);
    EXPECT_FALSE(display_->Timer_Internet->Enabled());
}

// --- indicators and the tray precedence ---------------------------------------------

TEST_F(StatusTest, IndicatorsLiveOnlyInStatesElevenAndTwelve) {
    for (std::uint8_t s : {1, 2, 6, 7, 10, 13}) {
        state_ = s;
        display_->ShowNewSms(QStringLiteral("1"));
        display_->ShowIncomingCall(QStringLiteral("1"), 0);
        display_->ShowMissedCall();
        EXPECT_TRUE(display_->ImImage_NewSms->isHidden()) << int(s);
        EXPECT_TRUE(display_->ImImage_IncomingCall->isHidden()) << int(s);
        EXPECT_EQ(display_->Ringing(), 0);
        EXPECT_TRUE(tray().Uses(ImageList::TrayMain));
    }
    EXPECT_TRUE(player().calls.isEmpty());
    EXPECT_TRUE(notices_.empty());
    state_ = 11;
    display_->ShowNewSms(QStringLiteral("1"));
    EXPECT_FALSE(display_->ImImage_NewSms->isHidden());
    // Clearing outside 11 and 12 does nothing either.
    state_ = 7;
    display_->ClearNewSms();
    EXPECT_FALSE(display_->ImImage_NewSms->isHidden());
}

TEST_F(StatusTest, NewSmsShowsIconTrayNoticeAndSound) {
    display_->ShowNewSms(QStringLiteral("+4912345"));
    EXPECT_FALSE(display_->ImImage_NewSms->isHidden());
    EXPECT_TRUE(display_->Timer_NewSms->Enabled());
    EXPECT_TRUE(tray().Uses(ImageList::NewSms));
    EXPECT_TRUE(tray().Animating());
    ASSERT_EQ(notices_.size(), 1u);  // the main window is not visible
    EXPECT_EQ(notices_[0]->kind, 1);
    EXPECT_EQ(notices_[0]->number, QStringLiteral("+4912345"));
    EXPECT_EQ(display_->SmsNotice(), notices_[0]);
    EXPECT_EQ(lastOpened(), QStringLiteral("resource/sound/wav/bird.wav"));
    EXPECT_EQ(display_->MediaPlayer_Main->Tag, 2);

    // A second message keeps the one notice.
    display_->ShowNewSms(QStringLiteral("+4999"));
    EXPECT_EQ(notices_.size(), 1u);

    bool cleared = false;
    display_->host.onNewSmsCleared = [&] { cleared = true; };
    display_->ClearNewSms();
    EXPECT_TRUE(display_->ImImage_NewSms->isHidden());
    EXPECT_FALSE(display_->Timer_NewSms->Enabled());
    EXPECT_TRUE(tray().Uses(ImageList::TrayMain));
    EXPECT_EQ(tray().IconIndex(), 3);
    EXPECT_FALSE(tray().Animating());
    EXPECT_EQ(display_->SmsNotice(), nullptr);
    EXPECT_EQ(display_->MediaPlayer_Main->Tag, 0);
    EXPECT_TRUE(cleared);
}

TEST_F(StatusTest, NoNoticeWhileTheMainWindowIsInFront) {
    display_->show();
    QApplication::setActiveWindow(display_.get());
    ASSERT_TRUE(display_->isActiveWindow());
    display_->ShowNewSms(QStringLiteral("1"));
    display_->ShowIncomingCall(QStringLiteral("2"), 0);
    EXPECT_TRUE(notices_.empty());
    EXPECT_EQ(display_->MediaPlayer_Main->Tag, 3);
    // Visible but not the active window: the SMS notice opens, the call notice does not.
    display_->ClearNewSms();
    display_->StopIncomingCall();
    QApplication::setActiveWindow(nullptr);
    display_->ShowNewSms(QStringLiteral("1"));
    display_->ShowIncomingCall(QStringLiteral("2"), 0);
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_EQ(notices_[0]->kind, 1);
}

TEST_F(StatusTest, ClosingTheSmsNoticeReleasesIt) {
    display_->ShowNewSms(QStringLiteral("1"));
    ASSERT_NE(display_->SmsNotice(), nullptr);
    display_->SmsNotice()->reject();
    EXPECT_EQ(display_->SmsNotice(), nullptr);
}

TEST_F(StatusTest, ClearingWhileConnectedGoesBackToTheConnectionImages) {
    data_ = 3;
    display_->ShowNewSms(QStringLiteral("1"));
    display_->ClearNewSms();
    EXPECT_TRUE(tray().Uses(ImageList::Internet));
    EXPECT_EQ(tray().IconIndex(), 2);
}

TEST_F(StatusTest, RingingCallWithNoticeRunsModallyAndIsFreed) {
    QPointer<QDialog> during;
    duringExec_ = [&](FakeNotice* n) {
        during = n;
        EXPECT_EQ(display_->CallNotice(), n);
        // A second report of the same call only changes the number.
        display_->ShowIncomingCall(QStringLiteral("555"), 1);
        EXPECT_EQ(n->number, QStringLiteral("555"));
    };
    display_->ShowIncomingCall(QStringLiteral("0301234"), 0);
    ASSERT_EQ(notices_.size(), 1u);
    EXPECT_TRUE(during.isNull());  // freed once closed
    EXPECT_EQ(display_->CallNotice(), nullptr);
    EXPECT_EQ(display_->Ringing(), 1);
    EXPECT_TRUE(tray().Uses(ImageList::IncomingCall));
    EXPECT_TRUE(tray().Animating());
    EXPECT_EQ(lastOpened(), QStringLiteral("resource/sound/wav/stelephone.wav"));
    EXPECT_EQ(display_->MediaPlayer_Main->Tag, 3);
}

TEST_F(StatusTest, RingRepeatsUntilTheCallStops) {
    display_->ShowIncomingCall(QStringLiteral("1"), 0);
    for (int i = 0; i < 3; ++i) {
        player().Finish();
        EXPECT_TRUE(player().playing) << "repeat " << i;
    }
    EXPECT_EQ(player().calls.count(QStringLiteral("rewind")), 3);
    display_->StopIncomingCall();
    EXPECT_FALSE(player().playing);
    EXPECT_EQ(display_->Ringing(), 0);
    EXPECT_EQ(display_->MediaPlayer_Main->Tag, 0);
    EXPECT_TRUE(tray().Uses(ImageList::TrayMain));
}

TEST_F(StatusTest, RingTakesOverTheSmsSoundButNotTheOtherWayRound) {
    display_->ShowNewSms(QStringLiteral("1"));
    ASSERT_EQ(display_->MediaPlayer_Main->Tag, 2);
    display_->ShowIncomingCall(QStringLiteral("2"), 0);
    EXPECT_EQ(display_->MediaPlayer_Main->Tag, 3);
    EXPECT_EQ(lastOpened(), QStringLiteral("resource/sound/wav/stelephone.wav"));

    // A new SMS during the ring: the ring goes on, the tray keeps the call images.
    const int opens = player().calls.filter(QStringLiteral("open ")).size();
    display_->ShowNewSms(QStringLiteral("3"));
    EXPECT_EQ(display_->MediaPlayer_Main->Tag, 3);
    EXPECT_EQ(player().calls.filter(QStringLiteral("open ")).size(), opens);
    EXPECT_TRUE(tray().Uses(ImageList::IncomingCall));

    // The ringing ends without a missed call: the tray shows the new SMS.
    display_->StopIncomingCall();
    EXPECT_TRUE(tray().Uses(ImageList::NewSms));
    EXPECT_TRUE(tray().Animating());
}

TEST_F(StatusTest, MissedCallKeepsTheCallImagesUntilCleared) {
    display_->ShowIncomingCall(QStringLiteral("1"), 0);
    display_->ShowMissedCall();
    EXPECT_EQ(display_->Ringing(), 0);
    EXPECT_EQ(display_->MediaPlayer_Main->Tag, 0);
    EXPECT_FALSE(display_->ImImage_IncomingCall->isHidden());
    EXPECT_TRUE(display_->Timer_IncomingCall->Enabled());
    // The call window reports the end afterwards: the missed-call tray stays.
    display_->StopIncomingCall();
    EXPECT_TRUE(tray().Uses(ImageList::IncomingCall));

    display_->ShowNewSms(QStringLiteral("2"));
    EXPECT_TRUE(tray().Uses(ImageList::IncomingCall));
    display_->ClearMissedCall();
    EXPECT_TRUE(display_->ImImage_IncomingCall->isHidden());
    EXPECT_TRUE(tray().Uses(ImageList::NewSms));
    display_->ClearNewSms();
    EXPECT_TRUE(tray().Uses(ImageList::TrayMain));
}

TEST_F(StatusTest, ClickingTheIconsRunsTheirCommands) {
    int missed = 0;
    display_->host.onMissedCallClick = [&] { ++missed; };
    display_->ShowMissedCall();
    display_->ImImage_IncomingCall->OnClick();
    EXPECT_EQ(missed, 1);
    EXPECT_TRUE(display_->ImImage_IncomingCall->isHidden());

    display_->ShowNewSms(QStringLiteral("1"));
    display_->ImImage_NewSms->OnClick();  // no list hook: clears by itself
    EXPECT_TRUE(display_->ImImage_NewSms->isHidden());

    int gestures = 0;
    display_->host.onInnerVersionGesture = [&] { ++gestures; };
    display_->Image_RSSI->OnRightPress(true);
    EXPECT_EQ(gestures, 0);  // only in state 1
    state_ = 1;
    display_->Image_RSSI->OnRightPress(false);
    display_->Image_RSSI->OnRightPress(true);
    EXPECT_EQ(gestures, 1);
}

TEST_F(StatusTest, ConnectionPictureTrayAndSounds) {
    data_ = 1;  // dialling: not yet connected
    display_->ShowConnected();
    EXPECT_FALSE(display_->Timer_Internet->Enabled());
    data_ = 3;
    display_->ShowConnected();
    EXPECT_TRUE(display_->Timer_Internet->Enabled());
    EXPECT_EQ(display_->Image_Internet->toolTip(), Text(1063));
    EXPECT_TRUE(tray().Uses(ImageList::Internet));
    EXPECT_EQ(tray().IconIndex(), 2);
    EXPECT_EQ(lastOpened(), QStringLiteral("resource/sound/wav/chimes.wav"));
    EXPECT_EQ(display_->MediaPlayer_Main->Tag, 1);

    display_->ShowDisconnected();  // still connected: nothing
    EXPECT_TRUE(display_->Timer_Internet->Enabled());
    data_ = 0;
    display_->ShowDisconnected();
    EXPECT_FALSE(display_->Timer_Internet->Enabled());
    EXPECT_EQ(display_->Image_Internet->Index(), 6);
    EXPECT_EQ(display_->Image_Internet->toolTip(), Text(1072));
    EXPECT_TRUE(tray().Uses(ImageList::TrayMain));
    EXPECT_EQ(tray().IconIndex(), 3);
    EXPECT_EQ(lastOpened(), QStringLiteral("resource/sound/wav/tada.wav"));
}

TEST_F(StatusTest, ConnectionImagesAreTakenOnlyFromTheMainImages) {
    display_->ShowNewSms(QStringLiteral("1"));
    data_ = 3;
    display_->ShowConnected();
    EXPECT_TRUE(tray().Uses(ImageList::NewSms));
    display_->ClearNewSms();
    EXPECT_TRUE(tray().Uses(ImageList::Internet));
}

// --- event sounds -----------------------------------------------------------------

TEST_F(StatusTest, UnreadableSettingsFileWarnsAndPlaysNothing) {
    ASSERT_TRUE(QFile::remove(AllSettingsFile()));
    display_->ShowNewSms(QStringLiteral("1"));
    EXPECT_TRUE(Shown(Text(1018) + QStringLiteral("allconfig.ran")));
    EXPECT_TRUE(player().calls.isEmpty());
}

TEST_F(StatusTest, MutedEventPlaysNothing) {
    AllSettingsRecord().incomingCall.muted = 1;
    ASSERT_EQ(SaveAllSettings(), 0);
    display_->ShowIncomingCall(QStringLiteral("1"), 0);
    EXPECT_TRUE(player().calls.isEmpty());
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(StatusTest, UnplayableSoundFallsBackToTheDefaultOnce) {
    std::strcpy(AllSettingsRecord().newSms.file, ".\\mine\\broken.wav");
    ASSERT_EQ(SaveAllSettings(), 0);
    player().failOpen << QStringLiteral("broken.wav");
    display_->ShowNewSms(QStringLiteral("1"));
    EXPECT_EQ(player().beeps, 1);
    EXPECT_EQ(lastOpened(), QStringLiteral("resource/sound/wav/bird.wav"));
    QByteArray name;
    ASSERT_EQ(GetEventSound(SOUND_NEW_SMS, &name), 1);
    EXPECT_EQ(name, QByteArray(".\\resource\\sound\\wav\\bird.wav"));

    // The default fails as well: two beeps, no message, no further tries.
    player().failOpen << QStringLiteral("bird.wav");
    std::strcpy(AllSettingsRecord().newSms.file, ".\\mine\\broken.wav");
    ASSERT_EQ(SaveAllSettings(), 0);
    player().beeps = 0;
    player().calls.clear();
    display_->ClearNewSms();
    display_->ShowNewSms(QStringLiteral("1"));
    EXPECT_EQ(player().beeps, 2);
    EXPECT_EQ(player().calls.filter(QStringLiteral("open ")).size(), 2);
    EXPECT_TRUE(boxes_.empty());
}

// --- tray hint by state -----------------------------------------------------------------

TEST_F(StatusTest, TrayHintFollowsTheState) {
    const struct {
        std::uint8_t state;
        unsigned id;
    } cases[] = {{1, 1163}, {2, 1164}, {3, 1166}, {4, 1057}, {5, 1170}, {6, 1167}, {7, 1165}, {8, 1168}, {9, 1169}};
    for (const auto& c : cases) {
        state_ = c.state;
        display_->UpdateTrayHint();
        EXPECT_EQ(tray().Hint(), Text(c.id)) << int(c.state);
    }
    // Other states leave it.
    for (std::uint8_t s : {10, 13, 16, 22}) {
        state_ = s;
        display_->UpdateTrayHint();
        EXPECT_EQ(tray().Hint(), Text(1169));
    }
}

TEST_F(StatusTest, TrayHintInTheNetworkStatesFollowsTheImages) {
    state_ = 12;
    tray().Show(ImageList::TrayMain, 2);
    display_->UpdateTrayHint();
    EXPECT_EQ(tray().Hint(), Text(1173));
    tray().Show(ImageList::TrayMain, 3);
    display_->UpdateTrayHint();
    EXPECT_EQ(tray().Hint(), Text(1171));
    tray().Show(ImageList::TrayMain, 5);
    display_->UpdateTrayHint();
    EXPECT_EQ(tray().Hint(), Text(1171));  // other indexes leave it

    display_->ShowIncomingCall(QStringLiteral("1"), 0);
    display_->UpdateTrayHint();
    EXPECT_EQ(tray().Hint(), Text(1013));
    display_->ShowMissedCall();
    display_->UpdateTrayHint();
    EXPECT_EQ(tray().Hint(), Text(1051));
    display_->ClearMissedCall();

    display_->ShowNewSms(QStringLiteral("1"));
    display_->UpdateTrayHint();
    EXPECT_EQ(tray().Hint(), Text(1012));
    display_->ClearNewSms();

    tray().Show(ImageList::Internet, 0);
    display_->UpdateTrayHint();  // no data-connection window
    EXPECT_EQ(tray().Hint(), Text(1172));
    summary_ = QStringLiteral("Sent 1 KB, received 20 KB");
    display_->UpdateTrayHint();
    EXPECT_EQ(tray().Hint(), *summary_);
    summary_ = QString();
    display_->UpdateTrayHint();
    EXPECT_EQ(tray().Hint(), QStringLiteral("Sent 1 KB, received 20 KB"));
}

// --- animations ---------------------------------------------------------------------

TEST_F(StatusTest, AnimationsStepThroughTheirFramesWithOwnCounters) {
    const struct {
        TTimer* timer;
        TStatusImage* icon;
        std::vector<int> frames;
    } cases[] = {{display_->Timer_NewSms, display_->ImImage_NewSms, {0, 1, 2, 3, 0, 1}},
                 {display_->Timer_IncomingCall, display_->ImImage_IncomingCall, {0, 1, 2, 3, 0}},
                 {display_->Timer_Internet, display_->Image_Internet, {0, 1, 2, 0, 1}}};
    for (const auto& c : cases) {
        for (int f : c.frames) {
            c.timer->Fire();
            EXPECT_EQ(c.icon->Index(), f) << c.timer->objectName().toStdString();
        }
        EXPECT_EQ(c.timer->Interval(), 800);
    }
    // Stopping does not reset a counter, and the counters are separate.
    display_->ShowNewSms(QStringLiteral("1"));
    display_->ClearNewSms();
    display_->Timer_NewSms->Fire();
    EXPECT_EQ(display_->ImImage_NewSms->Index(), 2);
    EXPECT_EQ(display_->Timer_IncomingCall->Tag, 1);
}

TEST_F(StatusTest, ElementsCarryTheirNamesAndHints) {
    EXPECT_EQ(display_->Image_RSSI->toolTip(), Text(1070));
    EXPECT_EQ(display_->ImImage_IncomingCall->toolTip(), Text(1051));
    EXPECT_EQ(display_->ImImage_NewSms->toolTip(), Text(1012));
    EXPECT_EQ(display_->Label_NetWorkType->toolTip(), Text(1074));
    EXPECT_EQ(display_->Label_OperaName->toolTip(), Text(1075));
    EXPECT_EQ(display_->Label_Domain->toolTip(), QString());
    EXPECT_EQ(display_->Label_NetWorkType->text(), QStringLiteral("No Service"));
    EXPECT_EQ(display_->Label_OperaName->text(), QStringLiteral("Not Found"));
    EXPECT_TRUE(display_->Label_OperaName->alignment() & Qt::AlignRight);
    for (const char* name : {"Image_RSSI", "Label_NetWorkType", "Label_OperaName", "Label_Domain", "Label_Roam",
                             "Image_Netcard", "Image_Simcard", "Image_Internet", "ImImage_NewSms",
                             "ImImage_IncomingCall", "Timer_RSSI", "Timer_NewSms", "Timer_IncomingCall",
                             "Timer_Internet", "Timer_UpdateTrayHint", "MediaPlayer_Main", "TrayIcon_Main"})
        EXPECT_NE(display_->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_TRUE(display_->Timer_UpdateTrayHint->Enabled());
    EXPECT_EQ(display_->Timer_UpdateTrayHint->Interval(), 1000);
}

}  // namespace

// --- the look -----------------------------------------------------------------------

// Renders the line at the main window's size in three situations; with
// LINKORA_SHOTS=DIR set the pictures are also written there to be looked at.
TEST_F(StatusTest, LineRendersEachSituationDifferently) {
    display_->resize(698, 34);
    auto shot = [&](const char* name) {
        const QImage img = display_->grab().toImage();
        const QByteArray dir = qgetenv("LINKORA_SHOTS");
        if (!dir.isEmpty()) img.save(QString::fromLocal8Bit(dir) + QStringLiteral("/status_") + QLatin1String(name) + QStringLiteral(".png"));
        return img;
    };
    display_->SetNetcard(0, 1163);
    display_->SetSimcard(4, 1057);
    const QImage start = shot("no_card");

    display_->SetNetcard(1, 1167);
    display_->SetSimcard(5, 1095);
    withService();
    display_->NetTypeMessage(std::unique_ptr<char[]>(payloads::CopyString("HSDPA")));
    display_->OperatorMessage(operatorRecord("Linkora Mobile", "CS_PS", "ROAM_ON"));
    display_->ShowSignalLevel(17);
    const QImage ready = shot("ready");

    data_ = 3;
    display_->ShowConnected();
    display_->Timer_InternetTimer();
    display_->ShowNewSms(QStringLiteral("1"));
    display_->Timer_NewSmsTimer();
    display_->ShowIncomingCall(QStringLiteral("2"), 0);
    display_->ShowMissedCall();
    display_->Timer_IncomingCallTimer();
    const QImage busy = shot("indicators");

    ASSERT_EQ(start.size(), QSize(698, 34) * start.devicePixelRatio());
    EXPECT_NE(start, ready);
    EXPECT_NE(ready, busy);
}
