// The device state machine driven by the simulated card: the start paths,
// SIM, PIN and PUK, the network lock, card removal, the retry timers, the SIM
// event, calls and connections freezing the background work, the order in
// which windows are told, and states handled inside a state's modal box.
#include "tests/ui/test_mainform_fixture.h"

#include <algorithm>

#include "core/allsettings.h"
#include "platform/delay.h"
#include "platform/registry.h"
#include "widgets/imagebutton.h"

using Item = TTrayIcon::Item;

// --- start paths ----------------------------------------------------------------

TEST_F(MainformTest, NormalStartReachesReady) {
    TMainform& f = Start();
    EXPECT_EQ(TakeStates(), (States{2, 3, 6, 11, 12}));
    EXPECT_EQ(f.GetDeviceState(), 12);
    EXPECT_TRUE(f.StkButton->isEnabled());
    EXPECT_TRUE(f.Status()->Timer_RSSI->Enabled());
    EXPECT_FALSE(f.Timer_StateRetry->Enabled());
    EXPECT_FALSE(f.Timer_CPMS->Enabled());
    EXPECT_EQ(f.Status()->Image_Simcard->Index(), 5);
    EXPECT_EQ(f.Status()->Image_Netcard->Index(), 1);
    EXPECT_TRUE(ItemShown(Item::FSettings));
    EXPECT_TRUE(ItemShown(Item::Offline));
    EXPECT_FALSE(ItemShown(Item::Online));
    EXPECT_FALSE(ItemShown(Item::Unlock));
    EXPECT_TRUE(velk_sim::NetcardStarted());
    // The window stays hidden behind the splash until Timer_Start fires.
    EXPECT_TRUE(f.Timer_Start->Enabled());
    EXPECT_EQ(f.Timer_Start->Interval(), 10000);
    EXPECT_FALSE(f.isVisible());
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainformTest, TimersHaveTheirIntervalsAndStartStopped) {
    TMainform& f = Create();
    struct Case {
        TTimer* t;
        int interval;
        bool running;
    } cases[] = {{f.Timer_StateRetry, 5000, false},   {f.SimBusyTimer, 3000, false}, {f.Timer_CPMS, 10000, false},
                 {f.GetCardSettingsTimer, 3000, false}, {f.Timer_Start, 10000, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.t->Interval(), c.interval) << c.t->objectName().toStdString();
        EXPECT_EQ(c.t->Enabled(), c.running) << c.t->objectName().toStdString();
    }
}

TEST_F(MainformTest, WithTheLockSupportedTheLockIsCheckedBeforeTheNetwork) {
    velk_sim::SetLockSupported(true);
    TMainform& f = Start();
    EXPECT_EQ(TakeStates(), (States{2, 3, 6, 13, 11, 12}));
    EXPECT_EQ(f.LockSupported(), 1);
}

TEST_F(MainformTest, OfflineAtStartBringsTheCardOnlineByItself) {
    struct Case {
        bool lock;
        States path;
    } cases[] = {{false, {2, 3, 7, 3, 6, 11, 12}}, {true, {2, 3, 14, 7, 3, 6, 13, 11, 12}}};
    for (const Case& c : cases) {
        velk_sim::SetLockSupported(c.lock);
        velk_sim::SetPowerOnMode(VELK_MODE_OFFLINE);
        Start();
        EXPECT_EQ(TakeStates(), c.path) << "lock " << c.lock;
        // State 7 entered from 3 only turns the card on: no offline display.
        EXPECT_FALSE(ItemShown(Item::Online));
        form_.reset();
    }
}

TEST_F(MainformTest, FailedStartPostsNoCard) {
    BL_FailNextCreate();
    TMainform& f = Start();
    EXPECT_EQ(TakeStates(), (States{1}));
    EXPECT_EQ(f.Status()->Image_Netcard->Index(), 0);
    EXPECT_EQ(f.Status()->Image_Simcard->Index(), 4);
    EXPECT_EQ(Tray().IconIndex(), 0);
    for (Item i : {Item::PowerOff, Item::Offline, Item::Online, Item::N1, Item::FSettings, Item::Unlock})
        EXPECT_FALSE(ItemShown(i)) << static_cast<int>(i);
    EXPECT_FALSE(f.StkButton->isEnabled());
}

TEST_F(MainformTest, CardThatDoesNotAnswerIsRetriedEveryFiveSeconds) {
    Create();
    velk_sim::FailNext("Velk_Echo", 1);
    velk_sim::FailNext("Velk_Echo", 1);
    Pump();
    EXPECT_EQ(TakeStates(), (States{2}));
    EXPECT_TRUE(form_->Timer_StateRetry->Enabled());
    form_->Timer_StateRetry->Fire();  // still silent: the state stays 2
    Pump();
    EXPECT_TRUE(TakeStates().empty());
    EXPECT_TRUE(form_->Timer_StateRetry->Enabled());
    form_->Timer_StateRetry->Fire();
    Pump();
    EXPECT_FALSE(form_->Timer_StateRetry->Enabled());
    EXPECT_EQ(TakeStates(), (States{3, 6, 11, 12}));
}

// --- SIM and PIN --------------------------------------------------------------

TEST_F(MainformTest, UnusableSimLeadsToState4) {
    Create();
    velk_sim::SetSimPresent(false);
    Pump();
    EXPECT_EQ(TakeStates(), (States{2, 3, 6, 4}));
    EXPECT_EQ(Tray().IconIndex(), 4);
    EXPECT_EQ(form_->Status()->Image_Simcard->Index(), 4);
    EXPECT_TRUE(ItemShown(Item::PowerOff));
    EXPECT_FALSE(ItemShown(Item::Offline));
    EXPECT_FALSE(ItemShown(Item::Online));
    EXPECT_EQ(form_->HasNetworkService(), 0);
}

TEST_F(MainformTest, BusySimIsReadAgainAtMostFiveTimes) {
    Create();
    velk_sim::FailNext("Velk_GetPinState", VELK_E_SIM_BUSY);
    Pump();
    EXPECT_EQ(TakeStates(), (States{2, 3, 6}));
    ASSERT_TRUE(form_->SimBusyTimer->Enabled());
    EXPECT_EQ(form_->SimBusyTimer->Interval(), 3000);
    for (int i = 0; i < 5; ++i) velk_sim::FailNext("Velk_GetPinState", VELK_E_SIM_BUSY);
    for (int i = 1; i <= 5; ++i) {
        form_->SimBusyTimer->Fire();
        EXPECT_EQ(form_->SimBusyTries(), i);
    }
    form_->SimBusyTimer->Fire();  // the sixth tick gives up
    EXPECT_FALSE(form_->SimBusyTimer->Enabled());
    EXPECT_EQ(form_->SimBusyTries(), 0);
    Pump();
    EXPECT_EQ(form_->GetDeviceState(), 6);
}

TEST_F(MainformTest, BusySimThatOpensGoesOnToTheNetwork) {
    Create();
    velk_sim::FailNext("Velk_GetPinState", VELK_E_SIM_BUSY);
    Pump();
    TakeStates();
    call_.state = callseam::kDialling;  // nothing is read while a call is dialled
    form_->SimBusyTimer->Fire();
    EXPECT_EQ(form_->SimBusyTries(), 0);
    EXPECT_TRUE(form_->SimBusyTimer->Enabled());
    call_.state = 0;
    form_->SimBusyTimer->Fire();
    EXPECT_FALSE(form_->SimBusyTimer->Enabled());
    Pump();
    EXPECT_EQ(TakeStates(), (States{11, 12}));
}

TEST_F(MainformTest, BusySimWithALockCheckIsNotSentBackOnceReady) {
    velk_sim::SetLockSupported(true);
    Create();
    velk_sim::FailNext("Velk_GetPinState", VELK_E_SIM_BUSY);
    Pump();
    TakeStates();
    form_->SimBusyTimer->Fire();
    Pump();
    EXPECT_EQ(TakeStates(), (States{13, 11, 12}));
    // With a lock check the timer keeps running after posting 13; once the
    // machine is ready a tick stops it instead of sending it back to 13.
    EXPECT_TRUE(form_->SimBusyTimer->Enabled());
    EXPECT_EQ(form_->SimBusyTries(), 1);
    form_->SimBusyTimer->Fire();
    Pump();
    EXPECT_TRUE(TakeStates().empty());
    EXPECT_FALSE(form_->SimBusyTimer->Enabled());
    EXPECT_EQ(form_->SimBusyTries(), 0);
    EXPECT_EQ(form_->ActionsRun(11), 1);
}

TEST_F(MainformTest, PinRequestShowsTheWindowAndTheDialog) {
    Create();
    velk_sim::RequirePin("1234", "12345678");
    Pump();
    EXPECT_EQ(TakeStates(), (States{2, 3, 6, 8}));
    // The splash timer is overtaken: the window is shown at once.
    EXPECT_FALSE(form_->Timer_Start->Enabled());
    EXPECT_TRUE(form_->isVisible());
    TPasswordDlg* pin = form_->Dialogs().Pin();
    ASSERT_NE(pin, nullptr);
    EXPECT_EQ(pin->Mode(), TPasswordDlg::kStartPin);
    EXPECT_EQ(pin->AttemptsLeft(), 3);
    EXPECT_TRUE(ItemShown(Item::PowerOff));
    EXPECT_FALSE(ItemShown(Item::Offline));
    EXPECT_FALSE(ItemShown(Item::FSettings));
}

TEST_F(MainformTest, WrongPinAsksAgainThenTheRightOneOpensTheSim) {
    Create();
    velk_sim::RequirePin("1234", "12345678");
    Pump();
    TakeStates();
    form_->Dialogs().Pin()->Edit_Password1->setText(QStringLiteral("1111"));
    form_->Dialogs().Pin()->ImButton_OKClick();
    Pump();
    EXPECT_EQ(BoxesWith(1025), 1);
    EXPECT_EQ(TakeStates(), (States{6, 8}));
    ASSERT_NE(form_->Dialogs().Pin(), nullptr);
    EXPECT_EQ(form_->Dialogs().Pin()->AttemptsLeft(), 2);
    form_->Dialogs().Pin()->Edit_Password1->setText(QStringLiteral("1234"));
    form_->Dialogs().Pin()->ImButton_OKClick();
    Pump();
    EXPECT_EQ(TakeStates(), (States{6, 11, 12}));
    EXPECT_EQ(form_->Dialogs().Pin(), nullptr);
}

TEST_F(MainformTest, ThirdWrongPinBlocksAndThePukWithANewPinOpensTheSim) {
    Create();
    velk_sim::RequirePin("1234", "12345678");
    Pump();
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(form_->Dialogs().Pin(), nullptr) << i;
        form_->Dialogs().Pin()->Edit_Password1->setText(QStringLiteral("9999"));
        form_->Dialogs().Pin()->ImButton_OKClick();
        Pump();
    }
    EXPECT_EQ(BoxesWith(1025), 2);
    EXPECT_EQ(BoxesWith(1034), 1);
    EXPECT_EQ(form_->GetDeviceState(), 9);
    TPasswordDlg* puk = form_->Dialogs().Puk();
    ASSERT_NE(puk, nullptr);
    ASSERT_NE(form_->Dialogs().NewPin(), nullptr);
    EXPECT_EQ(puk->Mode(), TPasswordDlg::kStartPuk);
    EXPECT_EQ(form_->Dialogs().NewPin()->Mode(), TPasswordDlg::kNewPin);

    // A wrong PUK: told, and asked again.
    modalAnswer_ = [](QDialog* d) {
        auto* dlg = static_cast<TPasswordDlg*>(d);
        dlg->Edit_Password1->setText(QStringLiteral("4321"));
        dlg->Edit_Password2->setText(QStringLiteral("4321"));
        return int(QDialog::Accepted);
    };
    puk->Edit_Password1->setText(QStringLiteral("11111111"));
    puk->ImButton_OKClick();
    Pump();
    EXPECT_EQ(BoxesWith(1026), 1);
    EXPECT_EQ(form_->GetDeviceState(), 9);
    TakeStates();
    form_->Dialogs().Puk()->Edit_Password1->setText(QStringLiteral("12345678"));
    form_->Dialogs().Puk()->ImButton_OKClick();
    Pump();
    EXPECT_EQ(TakeStates(), (States{6, 11, 12}));
    EXPECT_EQ(velk_sim::GetPin(), "4321");
    EXPECT_EQ(form_->Dialogs().Puk(), nullptr);
    EXPECT_EQ(form_->Dialogs().NewPin(), nullptr);
}

TEST_F(MainformTest, RefusedCodesLeaveTheSimLocked) {
    struct Case {
        const char* name;
        bool puk;
        bool cancelDialog;  // else: the new-PIN dialog is not confirmed
    } cases[] = {{"PIN cancelled", false, true}, {"PUK cancelled", true, true}, {"new PIN not confirmed", true, false}};
    for (const Case& c : cases) {
        Create();
        velk_sim::RequirePin("1234", "12345678");
        Pump();
        if (c.puk) {
            PostState(9);
            ASSERT_NE(form_->Dialogs().Puk(), nullptr) << c.name;
        }
        TakeStates();
        TPasswordDlg* dlg = c.puk ? form_->Dialogs().Puk() : form_->Dialogs().Pin();
        if (c.cancelDialog) {
            dlg->ImButton_CancelClick();
        } else {
            dlg->Edit_Password1->setText(QStringLiteral("12345678"));
            dlg->ImButton_OKClick();
        }
        Pump();
        EXPECT_EQ(TakeStates(), (States{10})) << c.name;
        EXPECT_EQ(form_->Status()->Image_Simcard->Index(), 9) << c.name;
        EXPECT_EQ(Tray().IconIndex(), 9) << c.name;
        EXPECT_EQ(form_->Dialogs().Pin(), nullptr);
        EXPECT_EQ(form_->Dialogs().Puk(), nullptr);
        form_.reset();
    }
}

TEST_F(MainformTest, PinStateAgainReplacesTheOpenDialog) {
    Create();
    velk_sim::RequirePin("1234", "12345678");
    Pump();
    QPointer<TPasswordDlg> first = form_->Dialogs().Pin();
    ASSERT_TRUE(first);
    PostState(6);  // the check runs again and asks again
    EXPECT_EQ(form_->GetDeviceState(), 8);
    EXPECT_FALSE(first) << "the old dialog is freed";
    int dialogs = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TPasswordDlg*>(w)) ++dialogs;
    EXPECT_EQ(dialogs, 1);
}

TEST_F(MainformTest, StrayPinMessagesChangeNothing) {
    Start();
    TakeStates();
    Post(UM_PIN_ENTERED, 100);  // no dialog asked for a PIN
    Post(UM_PIN_ENTERED, 101);
    Post(UM_PUK_ENTERED, 104);
    Post(UM_PUK_ENTERED, 105);
    EXPECT_TRUE(TakeStates().empty());
    EXPECT_EQ(form_->GetDeviceState(), 12);
}

// --- network lock --------------------------------------------------------------

TEST_F(MainformTest, LockStatusesLeadToTheirStates) {
    struct Case {
        std::uint8_t mode;
        std::uint8_t status;
        States path;
        int unlockRuns;
    } cases[] = {
        {VELK_MODE_ONLINE, 2, {2, 3, 6, 13, 16}, 1},
        {VELK_MODE_ONLINE, 3, {2, 3, 6, 13, 17, 16}, 1},
        {VELK_MODE_ONLINE, 4, {2, 3, 6, 13, 18, 16}, 1},
        {VELK_MODE_ONLINE, 6, {2, 3, 6, 13, 22, 4}, 0},
        {VELK_MODE_OFFLINE, 2, {2, 3, 14, 19}, 1},
        {VELK_MODE_OFFLINE, 3, {2, 3, 14, 20, 19}, 1},
        {VELK_MODE_OFFLINE, 4, {2, 3, 14, 21, 19}, 1},
        {VELK_MODE_OFFLINE, 5, {2, 3, 14, 7, 3, 6, 13, 15}, 0},
    };
    for (const Case& c : cases) {
        velk_sim::SetLockSupported(true);
        velk_sim::SetPowerOnMode(c.mode);
        Create();
        velk_sim::SetLock(c.status, "1234567890123456");
        unlockAnswer_ = [] { return 0; };  // the library call failed: nothing posted
        Pump();
        States got = TakeStates();
        got.resize(std::min(got.size(), c.path.size()));
        EXPECT_EQ(got, c.path) << "mode " << int(c.mode) << " status " << int(c.status);
        EXPECT_EQ(static_cast<int>(unlockRuns_.size()), c.unlockRuns);
        if (!unlockRuns_.empty()) EXPECT_EQ(unlockRuns_.front(), c.mode == VELK_MODE_ONLINE);
        unlockRuns_.clear();
        form_.reset();
    }
}

TEST_F(MainformTest, UnknownLockStatusIsAskedAgainEveryThreeSeconds) {
    velk_sim::SetLockSupported(true);
    std::vector<int> delays;
    // The card learns its lock while the second wait runs.
    platform::SetDelayHook([&](int ms) {
        delays.push_back(ms);
        if (delays.size() == 2) velk_sim::SetLock(1, "");
    });
    Create();
    velk_sim::SetLock(5, "");
    Pump();
    EXPECT_EQ(TakeStates(), (States{2, 3, 6, 13, 15, 13, 15, 13, 11, 12}));
    EXPECT_EQ(delays, (std::vector<int>{3000, 3000}));
}

TEST_F(MainformTest, UnlockWindowResultsDriveTheMachine) {
    velk_sim::SetLockSupported(true);
    Create();
    velk_sim::SetLock(2, "1234567890123456");
    // Unlocked: the window's outcome posts 13, the card is open now.
    unlockAnswer_ = [] {
        velk_sim::SetLock(1, "");
        return 13;
    };
    Pump();
    EXPECT_EQ(TakeStates(), (States{2, 3, 6, 13, 16, 13, 11, 12}));
    EXPECT_TRUE(form_->isEnabled());
    // While the window is up only the first separator is left in the menu.
    form_.reset();
    Create();
    velk_sim::SetLock(2, "1234567890123456");
    std::vector<bool> shownDuring;
    unlockAnswer_ = [&] {
        for (Item i : {Item::Unlock, Item::PowerOff, Item::Offline, Item::Online, Item::About, Item::Exit})
            shownDuring.push_back(ItemShown(i));
        shownDuring.push_back(ItemShown(Item::N1));
        shownDuring.push_back(form_->isEnabled());
        return 22;  // cancelled
    };
    Pump();
    EXPECT_EQ(shownDuring, (std::vector<bool>{false, false, false, false, false, false, true, false}));
    EXPECT_EQ(TakeStates(), (States{2, 3, 6, 13, 16, 22, 4}));
    EXPECT_EQ(BoxesWith(1154), 1);
    for (Item i : {Item::Unlock, Item::PowerOff, Item::About, Item::Exit}) EXPECT_TRUE(ItemShown(i));
}

// --- card removal and insertion ------------------------------------------------

TEST_F(MainformTest, CardRemovalLeadsToNoCardFromAnyState) {
    struct Case {
        const char* name;
        std::function<void(MainformTest&)> reach;
        int state;
    } cases[] = {
        {"silent card", [](MainformTest& t) { for (int i = 0; i < 3; ++i) velk_sim::FailNext("Velk_Echo", 1); t.Pump(); }, 2},
        {"busy SIM", [](MainformTest& t) { velk_sim::FailNext("Velk_GetPinState", VELK_E_SIM_BUSY); t.Pump(); }, 6},
        {"storage not ready", [](MainformTest& t) { velk_sim::FailNext("Velk_TestSimState", VELK_E_SIM_NOT_READY); t.Pump(); }, 11},
        {"offline", [](MainformTest& t) { t.Pump(); t.form_->Menu_OfflineClick(); t.Pump(); }, 7},
        {"ready", [](MainformTest& t) { t.Pump(); }, 12},
        // Last: the SIM keeps asking for its PIN from here on (the card's memory).
        {"PIN", [](MainformTest& t) { velk_sim::RequirePin("1234", "12345678"); t.Pump(); }, 8},
        {"PUK", [](MainformTest& t) { velk_sim::RequirePin("1234", "12345678"); t.Pump(); t.PostState(9); }, 9},
        {"SIM locked", [](MainformTest& t) { velk_sim::RequirePin("1234", "12345678"); t.Pump(); t.form_->Dialogs().Pin()->ImButton_CancelClick(); t.Pump(); }, 10},
    };
    for (const Case& c : cases) {
        Create();
        c.reach(*this);
        ASSERT_EQ(form_->GetDeviceState(), c.state) << c.name;
        velk_sim::RemoveCard();
        Pump();
        EXPECT_EQ(form_->GetDeviceState(), 1) << c.name;
        EXPECT_FALSE(form_->Timer_StateRetry->Enabled()) << c.name;
        EXPECT_EQ(form_->Status()->Image_Netcard->Index(), 0) << c.name;
        EXPECT_EQ(Tray().IconIndex(), 0) << c.name;
        EXPECT_FALSE(form_->StkButton->isEnabled()) << c.name;
        EXPECT_EQ(form_->Status()->Label_NetWorkType->text(), QStringLiteral("No Service")) << c.name;
        form_.reset();
        velk_sim::ClearFailures();
        boxes_.clear();
    }
}

TEST_F(MainformTest, CardInsertedAgainStartsOver) {
    Start();
    velk_sim::RemoveCard();
    Pump();
    TakeStates();
    velk_sim::InsertCard();
    Pump();
    EXPECT_EQ(TakeStates(), (States{2, 3, 6, 11, 12}));
}

TEST_F(MainformTest, NoCardRunsEachTimeReadyOnlyOnce) {
    TMainform& f = Start();
    PostState(1);
    PostState(1);
    EXPECT_EQ(f.ActionsRun(1), 2);
    TakeStates();
    velk_sim::InsertCard();  // the card never left: nothing happens
    Pump();
    PostState(2);
    Pump();
    EXPECT_EQ(f.GetDeviceState(), 12);
    EXPECT_EQ(f.ActionsRun(12), 2);
    // 12 again: no action, the STK button is set from the stored state.
    f.StkButton->setEnabled(false);
    PostState(12);
    EXPECT_EQ(f.ActionsRun(12), 2);
    EXPECT_TRUE(f.StkButton->isEnabled());
}

// --- SIM storage -------------------------------------------------------------------

TEST_F(MainformTest, StorageNotReadyIsPolledUntilReady) {
    Create();
    velk_sim::FailNext("Velk_TestSimState", VELK_E_SIM_NOT_READY);
    Pump();
    EXPECT_EQ(form_->GetDeviceState(), 11);
    ASSERT_TRUE(form_->Timer_CPMS->Enabled());
    velk_sim::FailNext("Velk_TestSimState", VELK_E_SIM_NOT_READY);
    form_->Timer_CPMS->Fire();
    Pump();
    EXPECT_EQ(form_->GetDeviceState(), 11);
    EXPECT_TRUE(form_->Timer_CPMS->Enabled());
    form_->Timer_CPMS->Fire();
    Pump();
    EXPECT_EQ(form_->GetDeviceState(), 12);
    EXPECT_FALSE(form_->Timer_CPMS->Enabled());
}

TEST_F(MainformTest, SimEventInState11MovesToReady) {
    struct Case {
        WPARAM event;
        int call;
        int after;
    } cases[] = {{2, 0, 12}, {1, 0, 11}, {2, 1, 11}, {2, 6, 11}, {2, 15, 11}};
    for (const Case& c : cases) {
        Create();
        velk_sim::FailNext("Velk_TestSimState", VELK_E_SIM_NOT_READY);
        Pump();
        ASSERT_EQ(form_->GetDeviceState(), 11);
        call_.state = c.call;
        Post(UM_SIM_EVENT, c.event);
        EXPECT_EQ(form_->GetDeviceState(), c.after) << "event " << c.event << " call " << c.call;
        EXPECT_EQ(form_->Timer_CPMS->Enabled(), c.after == 11);
        call_.state = 0;
        form_.reset();
    }
}

TEST_F(MainformTest, SimEventOutsideState11ChangesNothing) {
    Start();
    TakeStates();
    Post(UM_SIM_EVENT, 2);
    EXPECT_TRUE(TakeStates().empty());
}

TEST_F(MainformTest, CardLimitsAreRetriedAndTheListsToldWhenKnown) {
    std::vector<std::string> log;
    FakeListener sms("TFrmSmsMain", &log), pb("TFrmContacts", &log);
    Create();
    for (int i = 0; i < 2; ++i) velk_sim::FailNext("Velk_GetFieldSizes", 1);
    Pump();
    EXPECT_EQ(form_->GetDeviceState(), 12);
    ASSERT_TRUE(form_->GetCardSettingsTimer->Enabled());
    log.clear();
    velk_sim::FailNext("Velk_GetFieldSizes", 1);
    form_->GetCardSettingsTimer->Fire();
    EXPECT_TRUE(form_->GetCardSettingsTimer->Enabled());
    EXPECT_TRUE(log.empty());
    form_->GetCardSettingsTimer->Fire();
    EXPECT_FALSE(form_->GetCardSettingsTimer->Enabled());
    EXPECT_EQ(log, (std::vector<std::string>{"TFrmSmsMain:12", "TFrmContacts:12"}));
    // Outside state 12 a tick only stops the timer.
    form_->GetCardSettingsTimer->SetEnabled(true);
    PostState(1);
    log.clear();
    form_->GetCardSettingsTimer->Fire();
    EXPECT_FALSE(form_->GetCardSettingsTimer->Enabled());
    EXPECT_TRUE(log.empty());
}

// --- notification ------------------------------------------------------------------

TEST_F(MainformTest, WindowsAreToldEachStateInTheirOrder) {
    std::vector<std::string> log;
    std::vector<std::unique_ptr<FakeListener>> listeners;
    // Registered in reverse to show that the order is the machine's own.
    for (auto it = std::rbegin(kDeviceStateListeners); it != std::rend(kDeviceStateListeners); ++it)
        listeners.push_back(std::make_unique<FakeListener>(*it, &log));
    Create();
    Pump();
    std::vector<std::string> ready;
    for (const std::string& s : log)
        if (s.size() > 3 && s.compare(s.size() - 3, 3, ":12") == 0) ready.push_back(s.substr(0, s.size() - 3));
    std::vector<std::string> expected(std::begin(kDeviceStateListeners), std::end(kDeviceStateListeners));
    EXPECT_EQ(ready, expected);
    EXPECT_EQ(log.size(), 5 * expected.size());  // 2, 3, 6, 11, 12
}

TEST_F(MainformTest, UnlockStatesAreNotAnnounced) {
    std::vector<std::string> log;
    FakeListener menu("TSetMenuForm", &log);
    velk_sim::SetLockSupported(true);
    Create();
    velk_sim::SetLock(3, "1234567890123456");
    unlockAnswer_ = [] { return 22; };
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"TSetMenuForm:2", "TSetMenuForm:3", "TSetMenuForm:6", "TSetMenuForm:13",
                                             "TSetMenuForm:4"}));
}

// --- states handled inside a modal box --------------------------------------------

TEST_F(MainformTest, StateHandledDuringAModalBoxIsNotOverwritten) {
    struct Case {
        const char* name;
        bool failProfile;        // state 12 warns about "defaultcfg.ran"
        std::uint8_t lockStatus; // 0: no lock check; 2: unlock window; 6: lock refused
    } cases[] = {{"ready: defaultcfg.ran warning", true, 0}, {"unlock window", false, 2}, {"lock refused", false, 6}};
    for (const Case& c : cases) {
        velk_sim::SetLockSupported(c.lockStatus != 0);
        Create();
        if (c.failProfile) form_->DefaultModemPara = [](TMainform::ModemPara*) -> std::optional<bool> { return false; };
        if (c.lockStatus) velk_sim::SetLock(c.lockStatus, "1234567890123456");
        // The card goes while the box or window is up; its nested loop
        // handles the no-card state.
        auto cardGone = [this] { SendMessage(form_->Handle(), UM_DEVICE_STATE, 1, 0); };
        messagebox::SetResponder([&](const messagebox::Shown& s) {
            boxes_.push_back(s);
            cardGone();
            return 1;
        });
        unlockAnswer_ = [&] {
            cardGone();
            return 13;
        };
        Pump();
        EXPECT_EQ(form_->GetDeviceState(), 1) << c.name;
        const States s = TakeStates();
        ASSERT_FALSE(s.empty()) << c.name;
        EXPECT_EQ(s.back(), 1) << c.name;
        EXPECT_EQ(std::count(s.begin(), s.end(), 4), 0) << c.name << ": the refused lock posted on";
        EXPECT_FALSE(form_->GetCardSettingsTimer->Enabled()) << c.name;
        EXPECT_FALSE(form_->StkButton->isEnabled()) << c.name;
        form_.reset();
        boxes_.clear();
    }
}

TEST_F(MainformTest, UnreadableDefaultProfileIsReportedInState12) {
    Create();
    form_->DefaultModemPara = [](TMainform::ModemPara*) -> std::optional<bool> { return false; };
    Pump();
    EXPECT_TRUE(Shown(Text(1018) + QStringLiteral("defaultcfg.ran")));
    EXPECT_EQ(boxes_.back().kind, 2);
    EXPECT_EQ(form_->GetDeviceState(), 12);
}

TEST_F(MainformTest, DefaultProfileReachesTheCardInState12) {
    Create();
    form_->DefaultModemPara = [](TMainform::ModemPara* p) -> std::optional<bool> {
        p->pdpType = "IP";
        p->apn = "internet.example";
        p->pdpAddress = "";
        return true;
    };
    Pump();
    EXPECT_EQ(velk_sim::GetModemPara().apn, "internet.example");
    EXPECT_EQ(velk_sim::GetModemPara().pdpType, "IP");
}

// --- calls and connections ---------------------------------------------------------

TEST_F(MainformTest, CallDialledInState11StopsTheStoragePollUntilItEnds) {
    Create();
    velk_sim::FailNext("Velk_TestSimState", VELK_E_SIM_NOT_READY);
    Pump();
    ASSERT_TRUE(form_->Timer_CPMS->Enabled());
    Post(UM_CALL_STATE, 1);
    EXPECT_FALSE(form_->Timer_CPMS->Enabled());
    EXPECT_FALSE(form_->Status()->Timer_RSSI->Enabled());
    EXPECT_FALSE(form_->MsgButton->isEnabled());
    EXPECT_TRUE(form_->HelpButton->isEnabled());
    EXPECT_TRUE(velk_sim::IsDialing());
    Post(UM_CALL_STATE, 0);
    EXPECT_TRUE(form_->Timer_CPMS->Enabled());
    EXPECT_TRUE(form_->Status()->Timer_RSSI->Enabled());
    EXPECT_TRUE(form_->MsgButton->isEnabled());
    EXPECT_FALSE(velk_sim::IsDialing());
    EXPECT_EQ(form_->GetDeviceState(), 11);
}

TEST_F(MainformTest, CallStatesSetToolsSignalPollAndFactoryItem) {
    struct Case {
        int call;
        int data;
        bool tools, rssi, fsettings;
    } cases[] = {
        {1, 0, false, false, false}, {6, 0, false, false, false}, {15, 0, false, false, false},
        {0, 0, true, true, true},    {0, 3, true, true, false},   {0, 1, false, false, false},
        {3, 0, true, true, false},   {14, 0, true, true, false},  {3, 4, false, false, false},
        {2, 0, false, false, false},
    };
    for (const Case& c : cases) {
        Start();
        form_->DisableTools();
        form_->Status()->Timer_RSSI->SetEnabled(false);
        if (c.data) Post(UM_DATA_STATE, c.data);
        Tray().SetItemEnabled(Item::FSettings, c.call == 2);  // "others" must not enable it either
        Post(UM_CALL_STATE, c.call);
        const std::string what = "call " + std::to_string(c.call) + " data " + std::to_string(c.data);
        EXPECT_EQ(form_->MsgButton->isEnabled(), c.tools) << what;
        EXPECT_EQ(form_->Status()->Timer_RSSI->Enabled(), c.rssi) << what;
        EXPECT_EQ(Tray().ItemEnabled(Item::FSettings), c.fsettings) << what;
        form_.reset();
    }
}

TEST_F(MainformTest, DataStatesSetToolsAndSignalPoll) {
    struct Case {
        int data;
        int call;
        bool tools, rssi, fsettings;
    } cases[] = {
        {1, 0, false, false, false}, {2, 0, false, false, false}, {4, 0, false, false, false},
        {3, 0, true, true, false},   {0, 0, true, true, true},    {0, 1, false, false, false},
        {0, 3, true, true, false},
    };
    for (const Case& c : cases) {
        Start();
        form_->DisableTools();
        form_->Status()->Timer_RSSI->SetEnabled(false);
        Tray().SetItemEnabled(Item::FSettings, false);
        call_.state = c.call;
        Post(UM_DATA_STATE, c.data);
        const std::string what = "data " + std::to_string(c.data) + " call " + std::to_string(c.call);
        EXPECT_EQ(form_->MsgButton->isEnabled(), c.tools) << what;
        EXPECT_EQ(form_->Status()->Timer_RSSI->Enabled(), c.rssi) << what;
        EXPECT_EQ(Tray().ItemEnabled(Item::FSettings), c.fsettings) << what;
        call_.state = 0;
        form_.reset();
    }
}

TEST_F(MainformTest, SignalPollRunsOnlyInNetworkStates) {
    Create();
    velk_sim::RequirePin("1234", "12345678");
    Pump();
    ASSERT_EQ(form_->GetDeviceState(), 8);
    Post(UM_DATA_STATE, 0);
    EXPECT_FALSE(form_->Status()->Timer_RSSI->Enabled());
}

TEST_F(MainformTest, FreezingKeepsEachTimersStateForTheThaw) {
    Start();
    class Contacts : public QWidget {
    public:
        Contacts() { windows::Register("TFrmContacts", this); }
        ~Contacts() override { windows::Unregister("TFrmContacts"); }
        TTimer* t = new TTimer(this, "TimerLoadSIMData", 1000, true);
    } contacts;
    form_->Timer_CPMS->SetEnabled(true);
    form_->GetCardSettingsTimer->SetEnabled(false);
    form_->FreezeBackgroundTimers();
    EXPECT_FALSE(form_->Timer_CPMS->Enabled());
    EXPECT_FALSE(contacts.t->Enabled());
    // Frozen again while frozen (a call going through dialling states):
    // the first saved states still come back.
    form_->FreezeBackgroundTimers();
    form_->ThawBackgroundTimers();
    EXPECT_TRUE(form_->Timer_CPMS->Enabled());
    EXPECT_TRUE(contacts.t->Enabled());
    EXPECT_FALSE(form_->GetCardSettingsTimer->Enabled());
    form_->Timer_CPMS->SetEnabled(false);
    form_->ThawBackgroundTimers();  // not frozen: nothing changes
    EXPECT_FALSE(form_->Timer_CPMS->Enabled());
}

TEST_F(MainformTest, CallThroughSeveralDiallingStatesResumesTheStoragePoll) {
    Create();
    velk_sim::FailNext("Velk_TestSimState", VELK_E_SIM_NOT_READY);
    Pump();
    ASSERT_TRUE(form_->Timer_CPMS->Enabled());
    for (WPARAM s : {1, 6, 15, 0}) Post(UM_CALL_STATE, s);
    EXPECT_TRUE(form_->Timer_CPMS->Enabled());
}

// --- driver registry link ----------------------------------------------------------

TEST_F(MainformTest, NetworkTypeReachesTheDriversClassKey) {
    TMainform& f = Start();
    const QString key = QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\") +
                        QString::fromLatin1(velk_sim::kDriverValue);
    EXPECT_EQ(f.DriverClassKey(), QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Class\\") +
                                      QString::fromLatin1(velk_sim::kDriverValue));
    EXPECT_EQ(registry::GetDword(key, QStringLiteral("QELDriverNetState")), 6u);  // UMTS
    struct Case {
        const char* type;
        quint32 code;
    } cases[] = {{"Limit Service", 1}, {"EDGE", 2}, {"GPRS", 3}, {"GSM", 4}, {"HSDPA", 5},
                 {"No Service", 7},    {"UMTS", 6}, {"umts", 0}, {"NO SERVICE", 0}};
    for (const Case& c : cases) {
        f.Status()->Label_NetWorkType->setText(QString::fromLatin1(c.type));
        f.UpdateDriverNetState();
        EXPECT_EQ(registry::GetDword(key, QStringLiteral("QELDriverNetState")), c.code) << c.type;
    }
}

TEST_F(MainformTest, MissingDriverKeysWriteNothing) {
    Create();
    // The device's enumeration says nothing about a driver.
    registry::DeleteKey(QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum"));
    const QString classKey = QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Class\\") +
                             QString::fromLatin1(velk_sim::kDriverValue);
    registry::SetDword(classKey, QStringLiteral("QELDriverNetState"), 99);
    Pump();
    EXPECT_EQ(form_->GetDeviceState(), 12);
    EXPECT_TRUE(form_->DriverClassKey().isEmpty());
    EXPECT_EQ(registry::GetDword(classKey, QStringLiteral("QELDriverNetState")), 99u);
}

// --- messages that change nothing ----------------------------------------------------

TEST_F(MainformTest, IgnoredMessagesChangeNothing) {
    Start();
    TakeStates();
    for (UINT m : {UINT(UM_LIB_1128), UINT(UM_SMS_COUNTS), UINT(UM_STK_3231), UINT(4242)}) Post(m, 7, 9);
    // Device-state codes that name no state.
    for (WPARAM c : {0, 23, 99, 255}) PostState(static_cast<std::uint8_t>(c));
    EXPECT_TRUE(TakeStates().empty());
    EXPECT_TRUE(form_->StkButton->isEnabled());
    EXPECT_EQ(form_->GetDeviceState(), 12);
    EXPECT_EQ(form_->ActionsRun(12), 1);
}
