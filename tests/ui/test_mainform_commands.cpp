// The main window's commands and its life: the refusal checks, power off,
// offline and online, help and about, the tool and tray enabling, closing
// with its checks and confirmation, the power events, showing the window,
// and the payload messages it hands on.
#include "tests/ui/test_mainform_fixture.h"

#include <QDir>
#include <QFile>
#include <QPointer>
#include <cstring>

#include "core/allsettings.h"
#include "core/payloads.h"
#include "platform/power.h"
#include "sms/domain/sms_record.h"
#include "widgets/imagebutton.h"

using Item = TTrayIcon::Item;

// --- refusals ------------------------------------------------------------------

// What makes a command refuse, and the text it shows. The first that applies wins.
struct Refusal {
    const char* name;
    int call;
    int data;
    bool ussd;
    bool busy;
    unsigned text;
};
const Refusal kRefusals[] = {
    {"call", 3, 0, false, false, 1032},       {"call and data", 3, 3, true, true, 1032},
    {"data connected", 0, 3, false, false, 1052}, {"data dialling", 0, 1, true, false, 1052},
    {"USSD", 0, 0, true, true, 1104},         {"busy", 0, 0, false, true, 1098},
};

class CommandTest : public MainformTest {
public:
    void Arrange(const Refusal& r) {
        call_.state = r.call;
        if (r.data) Post(UM_DATA_STATE, r.data);
        form_->UssdIsBusy = [u = r.ussd] { return u; };
        form_->SetBusy(r.busy);
    }
};

TEST_F(CommandTest, PowerOffAndOfflineRefuseWithTheFirstCheckThatApplies) {
    for (const Refusal& r : kRefusals) {
        for (bool powerOff : {true, false}) {
            Start();
            Arrange(r);
            boxes_.clear();
            TakeStates();
            if (powerOff)
                form_->Menu_PowerOffClick();
            else
                form_->Menu_OfflineClick();
            Pump();
            ASSERT_EQ(boxes_.size(), 1u) << r.name;
            EXPECT_EQ(boxes_[0].text, Text(r.text)) << r.name;
            EXPECT_EQ(boxes_[0].kind, 2);
            EXPECT_TRUE(TakeStates().empty()) << r.name;
            EXPECT_TRUE(velk_sim::NetcardStarted()) << r.name << ": the card was left alone";
            call_.state = 0;
            form_.reset();
        }
    }
}

TEST_F(CommandTest, PowerOffReportsAndGoesToNoCard) {
    Start();
    TakeStates();
    form_->Menu_PowerOffClick();
    Pump();
    // Success is reported in a warning box, as the card's users know it.
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, Text(1102));
    EXPECT_EQ(boxes_[0].kind, 2);
    EXPECT_EQ(TakeStates(), (States{1}));

    form_.reset();
    boxes_.clear();
    Start();
    TakeStates();
    velk_sim::FailNext("Velk_Poweroff", 1);
    form_->Menu_PowerOffClick();
    Pump();
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, Text(1103));
    EXPECT_TRUE(TakeStates().empty());
}

TEST_F(CommandTest, OfflineFromReadyShowsTheOfflineDisplayAndOnlineComesBack) {
    TMainform& f = Start();
    TakeStates();
    f.Menu_OfflineClick();
    Pump();
    EXPECT_EQ(TakeStates(), (States{7}));
    EXPECT_EQ(f.Status()->Image_Netcard->Index(), 7);
    EXPECT_EQ(f.Status()->Image_Simcard->Index(), 4);
    EXPECT_EQ(Tray().IconIndex(), 7);
    EXPECT_TRUE(ItemShown(Item::Online));
    EXPECT_FALSE(ItemShown(Item::Offline));
    EXPECT_FALSE(ItemShown(Item::FSettings));
    EXPECT_FALSE(velk_sim::NetcardStarted());
    f.Menu_OnlineClick();
    Pump();
    EXPECT_EQ(TakeStates(), (States{3, 7, 3, 6, 11, 12}));
}

TEST_F(CommandTest, OfflineInState7AsksTheModeAgain) {
    TMainform& f = Start();
    f.Menu_OfflineClick();
    Pump();
    TakeStates();
    f.Menu_OfflineClick();
    Pump();
    EXPECT_EQ(TakeStates(), (States{3, 7, 3, 6, 11, 12}));
}

TEST_F(CommandTest, OfflineRefusedByTheCardPostsNothing) {
    TMainform& f = Start();
    TakeStates();
    velk_sim::FailNext("Velk_SetOperationMode", 1);
    f.Menu_OfflineClick();
    Pump();
    EXPECT_TRUE(TakeStates().empty());
    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(f.GetDeviceState(), 12);
}

TEST_F(CommandTest, UnlockItemAsksTheModeAgain) {
    TMainform& f = Start();
    TakeStates();
    f.UnlockDataCardClick();
    Pump();
    EXPECT_EQ(TakeStates().front(), 3);
}

// --- help and about ---------------------------------------------------------------

TEST_F(CommandTest, HelpStartsTheViewerWithOrWithoutAPage) {
    TMainform& f = Create();
    QDir(FilePath("help")).removeRecursively();
    QDir().mkpath(FilePath("help"));
    f.HelpButtonClick();
    ASSERT_EQ(started_.size(), 1u);
    EXPECT_EQ(started_[0], QStringLiteral("xdg-open|"));
    QFile page(FilePath("help/linkora.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html></html>");
    page.close();
    f.Menu_HelpClick();
    ASSERT_EQ(started_.size(), 2u);
    EXPECT_EQ(started_[1], QStringLiteral("xdg-open|") + QDir(dir_.path()).absoluteFilePath("help/linkora.html"));
}

TEST_F(CommandTest, AboutReadsVersionsOnlyWhenTheCardCanAnswer) {
    TMainform& f = Start();
    f.SetInnerVersionFlag(true);
    f.Menu_AboutClick();
    EXPECT_FALSE(f.InnerVersionFlag()) << "the flag holds for one about box";
    call_.state = 6;  // dialling
    f.Menu_AboutClick();
    call_.state = 0;
    Post(UM_DATA_STATE, 2);  // cancelling a connection
    f.Menu_AboutClick();
    Post(UM_DATA_STATE, 3);  // connected: the card answers
    f.Menu_AboutClick();
    Post(UM_DATA_STATE, 0);
    PostState(1);
    f.Menu_AboutClick();
    EXPECT_EQ(aboutRuns_, (std::vector<std::pair<bool, bool>>{
                              {true, true}, {false, false}, {false, false}, {false, true}, {false, false}}));
}

// --- enabling ------------------------------------------------------------------------

TEST_F(CommandTest, ToolsAreDisabledAndEnabledTogether) {
    TMainform& f = Start();
    const std::vector<TImageButton*> tools = {f.FirstpageButton, f.InternetButton, f.CallButton,   f.MsgButton,
                                              f.PonebookButton,  f.ConfigButton,   f.CallhisButton, f.StkButton};
    f.DisableTools();
    for (TImageButton* b : tools) EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(f.HelpButton->isEnabled());
    for (Item i : {Item::PowerOff, Item::Offline, Item::About}) EXPECT_FALSE(Tray().ItemEnabled(i));
    EXPECT_FALSE(f.Status()->ImImage_NewSms->isEnabled());
    EXPECT_FALSE(f.Status()->ImImage_IncomingCall->isEnabled());
    f.EnableTools();
    for (TImageButton* b : tools) EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    for (Item i : {Item::PowerOff, Item::Offline, Item::About}) EXPECT_TRUE(Tray().ItemEnabled(i));
    // Outside state 12 the STK button stays off.
    PostState(7);
    f.DisableTools();
    f.EnableTools();
    EXPECT_FALSE(f.StkButton->isEnabled());
    EXPECT_TRUE(f.MsgButton->isEnabled());
}

TEST_F(CommandTest, TrayCommandsAreDisabledAndEnabledTogether) {
    TMainform& f = Start();
    // A hidden action reads as disabled: show them all to see the enabling.
    for (Item i : {Item::Online, Item::PowerOff, Item::Offline, Item::Exit, Item::FSettings, Item::About, Item::Help})
        Tray().SetItemVisible(i, true);
    Tray().SetItemEnabled(Item::FSettings, false);
    f.DisableTrayCommands();
    for (Item i : {Item::Online, Item::PowerOff, Item::Offline, Item::Exit, Item::About})
        EXPECT_FALSE(Tray().ItemEnabled(i)) << static_cast<int>(i);
    EXPECT_TRUE(Tray().ItemEnabled(Item::Help));
    f.EnableTrayCommands();
    for (Item i : {Item::Online, Item::PowerOff, Item::Offline, Item::Exit, Item::FSettings, Item::About})
        EXPECT_TRUE(Tray().ItemEnabled(i)) << static_cast<int>(i);
}

TEST_F(CommandTest, TrayItemsRunTheirCommands) {
    TMainform& f = Start();
    TakeStates();
    Tray().Trigger(Item::Offline);
    Pump();
    EXPECT_EQ(TakeStates(), (States{7}));
    Tray().Trigger(Item::Online);
    Pump();
    EXPECT_EQ(f.GetDeviceState(), 12);
    Tray().Trigger(Item::Help);
    EXPECT_EQ(started_.size(), 1u);
}

TEST_F(CommandTest, TitleAndHomePage) {
    TMainform& f = Create();
    EXPECT_EQ(f.GetMainTitle(), Text(1001));
    f.SetMainTitle(QStringLiteral("Messages"));
    EXPECT_EQ(f.GetMainTitle(), QStringLiteral("Messages"));
    EXPECT_EQ(f.Label_Caption->text(), QStringLiteral("Messages"));
    f.FirstpageButtonClick();
    EXPECT_EQ(f.GetMainTitle(), Text(1001));
    EXPECT_FALSE(f.Mainpanel->isVisible());
}

TEST_F(CommandTest, ToolbarPlacesAFunctionWindowInThePanelAndReShowsIt) {
    class Page : public QWidget {
    public:
        Page() {
            setWindowTitle(QStringLiteral("Internet Connection"));
            windows::Register("TData_connectform", this);
        }
        ~Page() override { windows::Unregister("TData_connectform"); }
        int shows = 0;

    protected:
        void showEvent(QShowEvent*) override { ++shows; }
    };
    TMainform& f = Create();
    auto* page = new Page;  // owned by the panel once placed
    f.show();               // the first showing opens the data-connection page
    EXPECT_EQ(page->parentWidget(), f.Mainpanel);
    EXPECT_EQ(page->pos(), QPoint(0, 0));
    EXPECT_TRUE(f.Mainpanel->isVisible());
    EXPECT_EQ(f.GetMainTitle(), QStringLiteral("Internet Connection"));
    const int before = page->shows;
    f.SetMainTitle(QStringLiteral("other"));
    f.InternetButtonClick();
    EXPECT_EQ(page->shows, before + 1) << "re-showing runs the showing logic again";
    EXPECT_EQ(f.GetMainTitle(), QStringLiteral("Internet Connection"));
}

// --- closing --------------------------------------------------------------------------

TEST_F(CommandTest, CloseIsRefusedByTheChecksInOrder) {
    for (const Refusal& r : kRefusals) {
        Start();
        Arrange(r);
        boxes_.clear();
        EXPECT_FALSE(form_->close()) << r.name;
        ASSERT_EQ(boxes_.size(), 1u) << r.name << ": no question after a refusal";
        EXPECT_EQ(boxes_[0].text, Text(r.text)) << r.name;
        EXPECT_TRUE(velk_sim::NetcardStarted());
        EXPECT_TRUE(form_->RestoredFromTray());
        call_.state = 0;
        form_.reset();
    }
}

TEST_F(CommandTest, CloseAsksAndOnlyOkCloses) {
    Start();
    bool closed = false;
    form_->OnClosed = [&] { closed = true; };
    Answer({2});
    EXPECT_FALSE(form_->close());
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, Text(1042));
    EXPECT_EQ(boxes_[0].kind, 3);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(velk_sim::NetcardStarted());
    Answer({1});
    EXPECT_TRUE(form_->close());
    EXPECT_TRUE(closed);
}

TEST_F(CommandTest, ClosingStopsTheCardUnlessThereIsNone) {
    struct Case {
        bool noCard;
        bool netcardAfter;
        std::uint8_t modeAfter;
    } cases[] = {{false, false, VELK_MODE_OFFLINE}, {true, true, VELK_MODE_ONLINE}};
    for (const Case& c : cases) {
        Start();
        if (c.noCard) PostState(1);  // the machine believes the card gone: no library stop calls
        EXPECT_TRUE(form_->close());
        EXPECT_EQ(velk_sim::NetcardStarted(), c.netcardAfter) << "no card " << c.noCard;
        std::uint8_t mode = 0;
        ASSERT_EQ(Velk_GetOperationMode(&mode), 0);
        EXPECT_EQ(mode, c.modeAfter) << "no card " << c.noCard;
        form_.reset();
    }
}

TEST_F(CommandTest, CallArrivingDuringTheQuestionStopsTheExitSilently) {
    Start();
    messagebox::SetResponder([this](const messagebox::Shown& s) {
        boxes_.push_back(s);
        call_.state = 4;  // rings while the question is up
        return 1;
    });
    EXPECT_FALSE(form_->close());
    EXPECT_EQ(boxes_.size(), 1u);
    EXPECT_TRUE(velk_sim::NetcardStarted());
}

TEST_F(CommandTest, ClosingFreesTheKeptMessageAndDestructionSavesTheSettings) {
    Start();
    auto* record = new SmsRecord{};
    std::strcpy(record->number, "+15550100");
    Post(UM_SMS_NEW, reinterpret_cast<WPARAM>(record));
    EXPECT_EQ(form_->KeptNewSms(), record);
    EXPECT_TRUE(form_->close());
    EXPECT_EQ(form_->KeptNewSms(), nullptr);
    QFile::remove(FilePath("allconfig.ran"));
    AllSettingsRecord().smsReference = 4242;
    form_.reset();  // the destruction step
    QFile f(FilePath("allconfig.ran"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size(), 4056);
    std::uint32_t ref = 0;
    std::memcpy(&ref, bytes.constData() + 4048, 4);
    EXPECT_EQ(ref, 4242u);
    EXPECT_EQ(BL_base(), nullptr) << "the business core is stopped";
}

// --- power events ------------------------------------------------------------------------

TEST_F(CommandTest, SuspendQueryIsRefusedWhileStandbyIsDeniedOrWorkRuns) {
    Start();
    auto query = [this] { return form_->WndProc(WM_POWERBROADCAST, platform::PBT_APMQUERYSUSPEND, 0); };
    AllSettingsRecord().denyStandby = 1;
    EXPECT_EQ(query(), platform::BROADCAST_QUERY_DENY);
    AllSettingsRecord().denyStandby = 0;
    EXPECT_EQ(query(), 1);
    for (const Refusal& r : kRefusals) {
        Arrange(r);
        EXPECT_EQ(query(), platform::BROADCAST_QUERY_DENY) << r.name;
        call_.state = 0;
        Post(UM_DATA_STATE, 0);
        form_->UssdIsBusy = [] { return false; };
        form_->SetBusy(false);
        EXPECT_EQ(query(), 1) << r.name;
    }
}

TEST_F(CommandTest, SuspendTakesTheCardOffBeforeReturningAndResumeBringsItBack) {
    TMainform& f = Start();
    TakeStates();
    platform::PowerWatcher watcher(f.Handle());
    watcher.Inject(platform::PBT_APMSUSPEND);
    // Sent, not posted: state 1 is done when the event returns.
    EXPECT_EQ(f.GetDeviceState(), 1);
    EXPECT_EQ(TakeStates(), (States{1}));
    Pump();
    EXPECT_EQ(f.GetDeviceState(), 1) << "card checking is off while suspended";
    watcher.Inject(platform::PBT_APMRESUMEAUTOMATIC);
    Pump();
    EXPECT_EQ(TakeStates(), (States{2, 3, 6, 11, 12}));
    // Events without an action.
    for (unsigned e : {1u, 3u, 5u, 10u}) EXPECT_EQ(watcher.Inject(e), 1);
    Pump();
    EXPECT_TRUE(TakeStates().empty());
}

TEST_F(CommandTest, WatcherRefusesSuspendWhenTheWindowWould) {
    TMainform& f = Start();
    platform::PowerWatcher watcher(f.Handle());
    AllSettingsRecord().denyStandby = 1;
    EXPECT_TRUE(watcher.Reevaluate());
    AllSettingsRecord().denyStandby = 0;
    EXPECT_FALSE(watcher.Reevaluate());
}

// --- showing ----------------------------------------------------------------------------

TEST_F(CommandTest, StartTimerShowsTheWindowOnceAndClosesTheSplash) {
    TMainform& f = Start();
    QPointer<QWidget> splash = new QWidget;
    windows::Register("TStartForm", splash);
    splash->show();
    f.Timer_Start->Fire();
    Pump();
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.Timer_Start->Enabled());
    EXPECT_FALSE(splash) << "the splash is released";
    EXPECT_TRUE(Tray().Visible());
    f.hide();
    f.Timer_Start->Fire();  // once only
    EXPECT_FALSE(f.isVisible());
}

TEST_F(CommandTest, RestoringFromTheTrayStopsReopeningTheDataPage) {
    TMainform& f = Start();
    f.MinimizeToTray();
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(f.RestoredFromTray());
    Tray().LeftDoubleClick();
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(f.RestoredFromTray());
}

TEST_F(CommandTest, InnerVersionGestureOnlyWithoutCard) {
    TMainform& f = Start();
    ASSERT_TRUE(f.Status()->Image_RSSI->OnRightPress);
    f.Status()->Image_RSSI->OnRightPress(true);
    EXPECT_FALSE(f.InnerVersionFlag());
    PostState(1);
    f.Status()->Image_RSSI->OnRightPress(false);
    EXPECT_FALSE(f.InnerVersionFlag());
    f.Status()->Image_RSSI->OnRightPress(true);
    EXPECT_TRUE(f.InnerVersionFlag());
}

// --- payload messages ----------------------------------------------------------------------
// Each heap payload is freed exactly once (the sanitizer's leak check sees the rest).

TEST_F(CommandTest, PayloadsAreFreedByTheMainWindow) {
    Start();
    Post(UM_SMS_REPORT, reinterpret_cast<WPARAM>(payloads::MakeReport(0, "+1555", "2026-01-01")));
    Post(UM_SMS_CLASS0, reinterpret_cast<WPARAM>(payloads::MakeClass0("+1555", "flash")));
    EXPECT_EQ(form_->Class0Queued(), 1u);
    auto first = form_->TakeClass0();
    ASSERT_TRUE(first);
    EXPECT_STREQ(first->text, "flash");
    Post(UM_SMS_CLASS0, reinterpret_cast<WPARAM>(payloads::MakeClass0("+1555", "kept until exit")));
    Post(UM_CALL_INCOMING, 0, reinterpret_cast<LPARAM>(payloads::CopyString("+1555")));
    Post(UM_CALL_INCOMING, 0, 0);  // no caller text
    Post(UM_NET_TYPE, 0, reinterpret_cast<LPARAM>(payloads::CopyString("GPRS")));
    EXPECT_EQ(form_->Status()->Label_NetWorkType->text(), QStringLiteral("GPRS"));
    auto* op = new OperatorRecord{};
    std::strcpy(reinterpret_cast<char*>(op->bytes), "Example Net");
    Post(UM_OPERATOR_INFO, 0, reinterpret_cast<LPARAM>(op));
    EXPECT_EQ(form_->Status()->Label_OperaName->text(), QStringLiteral("Example Net"));
    // A newer message replaces the kept one.
    Post(UM_SMS_NEW, reinterpret_cast<WPARAM>(new SmsRecord{}));
    auto* newest = new SmsRecord{};
    Post(UM_SMS_NEW, reinterpret_cast<WPARAM>(newest));
    EXPECT_EQ(form_->KeptNewSms(), newest);
}

TEST_F(CommandTest, UssdAnswerIsRepliedAtOnceAndItsCopyNeverLeaks) {
    Start();
    std::uint8_t response[360] = {1, 2, 3};
    EXPECT_EQ(SendMessage(form_->Handle(), UM_USSD_RESPONSE, 0, reinterpret_cast<LPARAM>(response)), 255);
    Pump();  // no USSD window: the copy is freed
    EXPECT_EQ(SendMessage(form_->Handle(), UM_USSD_RESPONSE, 0, 0), 255);
}
