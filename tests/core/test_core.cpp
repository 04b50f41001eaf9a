// The business core's life cycle and its facade without a core.
#include "core/base.h"
#include "core/bl.h"
#include "core/messages.h"
#include "core/payloads.h"
#include "core/settings_store.h"
#include "tests/fixture/core_fixture.h"
#include "velkdev/sim/control.h"
#include "velkdev/sim/control_sms.h"

#include <cstring>
#include <vector>

class CoreTest : public CoreFixture {};

TEST_F(CoreTest, SecondStartupLeavesTheCoreAlone) {
    StartCore();
    TBL_base* first = BL_base();
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first->set, nullptr);
    EXPECT_NE(first->sms, nullptr);
    EXPECT_NE(first->pb, nullptr);
    EXPECT_NE(first->cr, nullptr);
    EXPECT_NE(first->stk, nullptr);
    EXPECT_NE(first->ussd, nullptr);
    EXPECT_EQ(BL_Startup(0, 400, 0), BL_ERR_EXISTS);
    EXPECT_EQ(BL_base(), first);
    StopCore();
    EXPECT_EQ(BL_base(), nullptr);
}

TEST_F(CoreTest, FailedCreationLeavesNoCore) {
    BL_FailNextCreate();
    EXPECT_EQ(BL_Startup(0, 400, 0), BL_ERR_CREATE);
    EXPECT_EQ(BL_base(), nullptr);
    // The library was started all the same; stop it so the next test starts clean.
    EXPECT_EQ(BL_Shutdown(), 0);
    // With no core the facade answers without touching anything.
    SettingRecord dest;
    std::memset(&dest, 0x33, sizeof dest);
    BL_GetSetting(&dest, STORAGE_SIM, KIND_TEXT);
    EXPECT_EQ(dest.kind, 0x33);
    EXPECT_EQ(BL_LoadSms(STORAGE_PC), BL_ERR_CREATE);
}

TEST_F(CoreTest, RegisterWindowStoresOrClearsTheHandle) {
    StartCore();
    struct Target : MessageTarget {} target;
    BL_RegisterWindow(target.Handle(), 0);
    EXPECT_EQ(BL_base()->window, target.Handle());
    BL_RegisterWindow(target.Handle(), 1);
    EXPECT_EQ(BL_base()->window, nullptr);
}

TEST_F(CoreTest, PostWithoutWindowHandsThePayloadBack) {
    StartCore();
    EXPECT_FALSE(BL_base()->Post(UM_SMS_REPORT, 0, 0));
}

namespace {
// A registered window that keeps what it is sent; payload ownership passes to it.
struct Recorder : MessageTarget {
    struct Msg {
        UINT msg;
        WPARAM w;
        LPARAM l;
    };
    std::vector<Msg> got;
    ~Recorder() override {
        for (const Msg& m : got) release(m);
    }
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override {
        got.push_back({msg, w, l});
        return 0;
    }
    const Msg* find(UINT msg) const {
        for (const Msg& m : got)
            if (m.msg == msg) return &m;
        return nullptr;
    }
    static void release(const Msg& m) {
        switch (m.msg) {
        case UM_SMS_REPORT: delete reinterpret_cast<SmsReportRecord*>(m.w); break;
        case UM_SMS_CLASS0: delete reinterpret_cast<SmsClass0Record*>(m.w); break;
        case UM_NET_TYPE:
        case UM_CALL_INCOMING: delete[] reinterpret_cast<char*>(m.l); break;
        default: break;
        }
    }
};
}  // namespace

TEST_F(CoreTest, CallbacksBecomePostedMessagesWithTheirCopies) {
    StartCore();
    ASSERT_EQ(Velk_NetcardStart(), 0);  // registered on the network: readings flow
    Deliver();
    // Before a window is registered the core frees what it cannot post (the
    // sanitizer build's leak check sees a lost copy).
    velk_sim::SetNetworkType("GPRS");
    velk_sim::DeliverClass0("123", "flash");
    Deliver();
    Recorder main;
    BL_RegisterWindow(main.Handle(), 0);
    velk_sim::SetSignal(17);
    velk_sim::SetNetworkType("HSDPA");
    velk_sim::DeliverClass0(std::string(150, '5'), std::string(200, 'z'));
    Deliver();

    const Recorder::Msg* sig = main.find(UM_SIGNAL);
    ASSERT_NE(sig, nullptr);
    EXPECT_EQ(sig->l, 17);
    const Recorder::Msg* net = main.find(UM_NET_TYPE);
    ASSERT_NE(net, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(net->l), "HSDPA") << "the unregistered GPRS event is gone";
    const Recorder::Msg* c0 = main.find(UM_SMS_CLASS0);
    ASSERT_NE(c0, nullptr);
    const auto* rec = reinterpret_cast<const SmsClass0Record*>(c0->w);
    EXPECT_EQ(std::strlen(rec->sender), 120u);
    EXPECT_EQ(std::strlen(rec->text), 160u);
}

TEST_F(CoreTest, FailedFieldSizesGiveZeroLimitsAndTheSimResult) {
    StartCore();
    velk_sim::FailNext("Velk_GetFieldSizes", 0);  // the PC read succeeds
    velk_sim::FailNext("Velk_GetFieldSizes", 77); // the SIM read fails
    EXPECT_EQ(BL_base()->set->RefreshCapacities(), 77);
    SettingRecord r;
    BL_GetSetting(&r, STORAGE_SIM, KIND_TEXT);
    EXPECT_EQ(r.smsLength, 0);
    EXPECT_EQ(r.smsPartLength, 0);
    EXPECT_EQ(r.nameLength, 0);
    BL_GetSetting(&r, STORAGE_SIM, KIND_UCS2);
    EXPECT_EQ(r.smsPartLength, 0) << "0 - 3 must not become negative";

    // A clean read rebuilds the limits; the PC store answers whatever the SIM's state.
    BL_base()->set->RefreshCapacities();
    BL_GetSetting(&r, STORAGE_PC, KIND_TEXT);
    EXPECT_EQ(r.smsLength, 160);
    EXPECT_EQ(r.smsPartLength, 153);
}
