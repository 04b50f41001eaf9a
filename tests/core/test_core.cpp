// The business core's life cycle and its facade without a core.
#include "core/base.h"
#include "core/bl.h"
#include "core/messages.h"
#include "tests/fixture/core_fixture.h"

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
