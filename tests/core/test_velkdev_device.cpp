// The simulated card through the device calls: SIM and PIN, the network
// lock, card events, the network side, capacities and the driver keys.
#include <cstring>

#include "core/messages.h"
#include "velkdev/sim/card.h"
#include "tests/core/test_velkdev_env.h"

namespace {

std::uint8_t PinState(VELK_RESULT* result = nullptr) {
    std::uint8_t s = 0xEE;
    const VELK_RESULT r = Velk_GetPinState(&s);
    if (result) *result = r;
    return s;
}

class VelkdevDevice : public VelkdevEnv {};

TEST_F(VelkdevDevice, DemoCardIsReadyWithoutAPin) {
    EXPECT_EQ(Velk_Echo(), 0);
    std::uint8_t mode = 0;
    ASSERT_EQ(Velk_GetOperationMode(&mode), 0);
    EXPECT_EQ(mode, VELK_MODE_ONLINE);
    VELK_RESULT r = 1;
    EXPECT_EQ(PinState(&r), VELK_PIN_READY);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(Velk_TestSimState(), 0);
    std::uint8_t enabled = 9;
    ASSERT_EQ(Velk_IfPinEnable(&enabled), 0);
    EXPECT_EQ(enabled, 0);
    // The SIM's storage became ready after start: 3026 with 2 to the window.
    ASSERT_FALSE(window_.messages.empty());
    EXPECT_EQ(window_.messages.back().first, static_cast<UINT>(UM_SIM_EVENT));
    EXPECT_EQ(window_.messages.back().second, 2u);
}

TEST_F(VelkdevDevice, WrongPinsCountDownAndBlockThenPukUnblocks) {
    velk_sim::RequirePin("1234", "12345678");
    Settle();
    EXPECT_EQ(PinState(), VELK_PIN_REQUIRED);
    EXPECT_EQ(Velk_TestSimState(), VELK_E_SIM_NOT_READY);
    std::uint8_t pin = 0, puk = 0;
    ASSERT_EQ(Velk_QueryPINLeftTimes(&pin, &puk), 0);
    EXPECT_EQ(pin, 3);
    EXPECT_EQ(puk, 10);

    EXPECT_EQ(Velk_SetPin("0000", nullptr), VELK_E_WRONG_CODE);
    EXPECT_EQ(Velk_SetPin("1111", ""), VELK_E_WRONG_CODE);
    ASSERT_EQ(Velk_QueryPINLeftTimes(&pin, &puk), 0);
    EXPECT_EQ(pin, 1);
    EXPECT_EQ(Velk_SetPin("2222", nullptr), VELK_E_BLOCKED);
    EXPECT_EQ(PinState(), VELK_PUK_REQUIRED);
    // The right PIN no longer helps once it is blocked.
    EXPECT_EQ(Velk_SetPin("1234", nullptr), VELK_E_BLOCKED);

    EXPECT_EQ(Velk_SetPin("87654321", "4321"), VELK_E_WRONG_CODE);
    ASSERT_EQ(Velk_QueryPINLeftTimes(&pin, &puk), 0);
    EXPECT_EQ(puk, 9);
    EXPECT_EQ(Velk_SetPin("12345678", "12"), VELK_E_BAD_ARGUMENT);  // new PIN too short
    window_.messages.clear();
    EXPECT_EQ(Velk_SetPin("12345678", "4321"), 0);
    EXPECT_EQ(PinState(), VELK_PIN_READY);
    ASSERT_EQ(Velk_QueryPINLeftTimes(&pin, &puk), 0);
    EXPECT_EQ(pin, 3);
    EXPECT_EQ(puk, 10);
    Settle();
    EXPECT_EQ(Velk_TestSimState(), 0);
    ASSERT_EQ(window_.messages.size(), 1u);
    EXPECT_EQ(window_.messages[0].second, 2u);
    // The new PIN is asked at the next start; the check stays on.
    Restart();
    EXPECT_EQ(PinState(), VELK_PIN_REQUIRED);
    EXPECT_EQ(Velk_SetPin("4321", nullptr), 0);
    EXPECT_EQ(PinState(), VELK_PIN_READY);
}

TEST_F(VelkdevDevice, TenWrongPuksBlockTheSimForGood) {
    velk_sim::RequirePin("1234", "12345678");
    for (const char* wrong : {"1", "2", "3"}) Velk_SetPin(wrong, nullptr);
    ASSERT_EQ(PinState(), VELK_PUK_REQUIRED);
    for (int i = 0; i < 9; ++i) ASSERT_EQ(Velk_SetPin("00000000", "1111"), VELK_E_WRONG_CODE) << i;
    EXPECT_EQ(Velk_SetPin("00000000", "1111"), VELK_E_BLOCKED);
    VELK_RESULT r = 0;
    PinState(&r);
    EXPECT_EQ(r, VELK_E_SIM_UNUSABLE);
    // Even the right PUK cannot help now, and a restart does not forget it.
    EXPECT_EQ(Velk_SetPin("12345678", "1111"), VELK_E_SIM_UNUSABLE);
    Restart();
    PinState(&r);
    EXPECT_EQ(r, VELK_E_SIM_UNUSABLE);
    EXPECT_TRUE(velk_sim::GetPinCounters().blockedForGood);
}

TEST_F(VelkdevDevice, PinCheckSwitchAndChangeNeedTheRightPin) {
    EXPECT_EQ(Velk_ChangePinPasswd("1234", "5678"), VELK_E_NOT_ALLOWED);  // check is off
    EXPECT_EQ(Velk_SetPinEnable(1, "9999"), VELK_E_WRONG_CODE);
    EXPECT_EQ(velk_sim::GetPinCounters().pinLeft, 2);
    EXPECT_EQ(Velk_SetPinEnable(1, "1234"), 0);
    EXPECT_EQ(velk_sim::GetPinCounters().pinLeft, 3);  // a right PIN refills the attempts
    std::uint8_t enabled = 0;
    ASSERT_EQ(Velk_IfPinEnable(&enabled), 0);
    EXPECT_EQ(enabled, 1);
    EXPECT_EQ(PinState(), VELK_PIN_READY);  // just given: the SIM stays open
    EXPECT_EQ(Velk_ChangePinPasswd("0000", "5678"), VELK_E_WRONG_CODE);
    EXPECT_EQ(Velk_ChangePinPasswd("1234", "56a8"), VELK_E_BAD_ARGUMENT);
    EXPECT_EQ(Velk_ChangePinPasswd("1234", "5678"), 0);
    Restart();
    ASSERT_EQ(Velk_IfPinEnable(&enabled), 0);
    EXPECT_EQ(enabled, 1);
    EXPECT_EQ(PinState(), VELK_PIN_REQUIRED);
    EXPECT_EQ(Velk_SetPin("1234", nullptr), VELK_E_WRONG_CODE);
    EXPECT_EQ(Velk_SetPin("5678", nullptr), 0);
}

TEST_F(VelkdevDevice, WrongPinWhileSwitchingTheCheckCanBlockTheSim) {
    EXPECT_EQ(Velk_SetPinEnable(1, "0000"), VELK_E_WRONG_CODE);
    EXPECT_EQ(Velk_SetPinEnable(1, "0000"), VELK_E_WRONG_CODE);
    EXPECT_EQ(Velk_SetPinEnable(1, "0000"), VELK_E_BLOCKED);
    EXPECT_EQ(PinState(), VELK_PUK_REQUIRED);
    EXPECT_EQ(Velk_TestSimState(), VELK_E_SIM_NOT_READY);
    EXPECT_EQ(Velk_SetPin("12345678", "2468"), 0);
    std::uint8_t enabled = 0;
    ASSERT_EQ(Velk_IfPinEnable(&enabled), 0);
    EXPECT_EQ(enabled, 1);  // an unblocked SIM keeps its check on
}

TEST_F(VelkdevDevice, NoSimMakesThePinStateUnusable) {
    velk_sim::SetSimPresent(false);
    VELK_RESULT r = 0;
    PinState(&r);
    EXPECT_EQ(r, VELK_E_SIM_UNUSABLE);
    EXPECT_EQ(Velk_NetcardStart(), VELK_E_SIM_UNUSABLE);
    velk_sim::SetSimPresent(true);
    Settle();
    EXPECT_EQ(PinState(&r), VELK_PIN_READY);
    EXPECT_EQ(r, 0);
}

TEST_F(VelkdevDevice, UnlockAttemptsEndLockedForGood) {
    velk_sim::SetLock(VELK_LOCK_NETWORK, "1111222233334444");
    std::uint8_t status = 0, supported = 0, outcome = 0xEE;
    ASSERT_EQ(Velk_IsNetSupportLock(&supported), 0);
    EXPECT_EQ(supported, 1);
    ASSERT_EQ(Velk_GetNetLockStatus(&status), 0);
    EXPECT_EQ(status, VELK_LOCK_NETWORK);
    EXPECT_EQ(Velk_NetcardStart(), VELK_E_NOT_ALLOWED);
    const std::uint8_t expected[] = {VELK_UNLOCK_REFUSED, VELK_UNLOCK_REFUSED, VELK_UNLOCK_REFUSED,
                                     VELK_UNLOCK_REFUSED_LAST, VELK_UNLOCK_NOW_LOCKED};
    for (std::uint8_t want : expected) {
        ASSERT_EQ(Velk_UnlockNet("0000000000000000", &outcome), 0);
        EXPECT_EQ(outcome, want);
    }
    ASSERT_EQ(Velk_GetNetLockStatus(&status), 0);
    EXPECT_EQ(status, VELK_LOCK_FOR_GOOD);
    ASSERT_EQ(Velk_UnlockNet("1111222233334444", &outcome), 0);
    EXPECT_EQ(outcome, VELK_UNLOCK_LOCKED_FOR_GOOD);
    Restart();
    ASSERT_EQ(Velk_GetNetLockStatus(&status), 0);
    EXPECT_EQ(status, VELK_LOCK_FOR_GOOD);
}

TEST_F(VelkdevDevice, RightUnlockCodeOpensTheNetwork) {
    velk_sim::SetLock(VELK_LOCK_PROVIDER, "1111222233334444", 2);
    std::uint8_t outcome = 0xEE, status = 0;
    ASSERT_EQ(Velk_UnlockNet("9999999999999999", &outcome), 0);
    EXPECT_EQ(outcome, VELK_UNLOCK_REFUSED_LAST);
    ASSERT_EQ(Velk_UnlockNet("1111222233334444", &outcome), 0);
    EXPECT_EQ(outcome, VELK_UNLOCK_DONE);
    ASSERT_EQ(Velk_GetNetLockStatus(&status), 0);
    EXPECT_EQ(status, VELK_LOCK_NONE);
    EXPECT_EQ(velk_sim::LockAttemptsLeft(), 5);
    EXPECT_EQ(Velk_NetcardStart(), 0);
    Restart();
    ASSERT_EQ(Velk_GetNetLockStatus(&status), 0);
    EXPECT_EQ(status, VELK_LOCK_NONE);
}

TEST_F(VelkdevDevice, RemovalAndInsertionRaiseTheCardEvent) {
    velk_sim::RemoveCard();
    Settle();
    EXPECT_EQ(recorded().copy(recorded().cardEvents), std::vector<int>{2});
    EXPECT_EQ(Velk_Echo(), VELK_E_NO_CARD);
    std::uint8_t s = 0;
    EXPECT_EQ(Velk_GetPinState(&s), VELK_E_NO_CARD);
    velk_sim::InsertCard();
    Settle();
    EXPECT_EQ(recorded().copy(recorded().cardEvents), (std::vector<int>{2, 1}));
    EXPECT_EQ(Velk_Echo(), 0);
}

TEST_F(VelkdevDevice, ChangesWhileCardCheckingIsOffAreReportedWhenItResumes) {
    ASSERT_EQ(Velk_disableCheckCard(), 0);
    velk_sim::RemoveCard();
    Settle();
    EXPECT_TRUE(recorded().copy(recorded().cardEvents).empty());
    ASSERT_EQ(Velk_enableCheckCard(), 0);
    Settle();
    EXPECT_EQ(recorded().copy(recorded().cardEvents), std::vector<int>{2});
}

TEST_F(VelkdevDevice, SuspendPowerOffComesBackWithCardChecking) {
    ASSERT_EQ(Velk_disableCheckCard(), 0);
    ASSERT_EQ(Velk_Poweroff(0), 0);
    EXPECT_EQ(Velk_Echo(), VELK_E_NO_CARD);
    ASSERT_EQ(Velk_enableCheckCard(), 0);
    Settle();
    EXPECT_EQ(recorded().copy(recorded().cardEvents), std::vector<int>{1});
    EXPECT_EQ(Velk_Echo(), 0);
}

TEST_F(VelkdevDevice, UserPowerOffStaysOffUntilReinserted) {
    ASSERT_EQ(Velk_Poweroff(1), 0);
    ASSERT_EQ(Velk_enableCheckCard(), 0);
    Settle();
    EXPECT_EQ(Velk_Echo(), VELK_E_NO_CARD);
    EXPECT_TRUE(recorded().copy(recorded().cardEvents).empty());
    velk_sim::RemoveCard();
    velk_sim::InsertCard();
    Settle();
    EXPECT_EQ(Velk_Echo(), 0);
}

TEST_F(VelkdevDevice, NetworkComesUpWithTypeOperatorAndSignal) {
    std::uint32_t csq = 0;
    ASSERT_EQ(Velk_GetCsq(&csq), 0);
    EXPECT_EQ(csq, 99u);  // network side not started
    _VELK_NETWORK_PARA net{};
    ASSERT_EQ(Velk_GetNetworkPara(&net), 0);
    EXPECT_STREQ(net.networkType, "NO SERVICE");

    velk_sim::SetSignal(17);
    ASSERT_EQ(Velk_NetcardStart(), 0);
    Settle();
    EXPECT_EQ(recorded().copy(recorded().networkTypes), std::vector<std::string>{"UMTS"});
    const auto ops = recorded().copy(recorded().operators);
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_STREQ(ops[0].operatorName, "Linkora Mobile");
    EXPECT_STREQ(ops[0].domain, "CS_PS");
    EXPECT_STREQ(ops[0].roaming, "ROAM_OFF");
    EXPECT_EQ(recorded().copy(recorded().csqValues), std::vector<std::uint32_t>{17});
    ASSERT_EQ(Velk_GetCsq(&csq), 0);
    EXPECT_EQ(csq, 17u);
    ASSERT_EQ(Velk_GetNetworkPara(&net), 0);
    EXPECT_STREQ(net.networkType, "UMTS");
    EXPECT_EQ(net.domain, 2);
    _VELK_ZDON_PARA op{};
    ASSERT_EQ(Velk_GetZdonPara(&op), 0);
    EXPECT_STREQ(op.operatorName, "Linkora Mobile");
    EXPECT_STREQ(op.roaming, "ROAM_OFF");

    // The signal callback fires on a change only.
    velk_sim::SetSignal(17);
    velk_sim::SetSignal(25);
    velk_sim::SetRoaming(true);
    velk_sim::SetNetworkType("HSDPA");
    Settle();
    EXPECT_EQ(recorded().copy(recorded().csqValues), (std::vector<std::uint32_t>{17, 25}));
    EXPECT_STREQ(recorded().copy(recorded().operators).back().roaming, "ROAM_ON");
    EXPECT_EQ(recorded().copy(recorded().networkTypes).back(), "HSDPA");

    velk_sim::SetCoverage(false);
    Settle();
    EXPECT_EQ(recorded().copy(recorded().networkTypes).back(), "NO SERVICE");
    EXPECT_EQ(recorded().copy(recorded().csqValues).back(), 99u);
    ASSERT_EQ(Velk_GetCsq(&csq), 0);
    EXPECT_EQ(csq, 99u);  // nothing to measure
    velk_sim::SetCoverage(true);
    Settle();
    EXPECT_EQ(recorded().copy(recorded().networkTypes).back(), "HSDPA");
    ASSERT_EQ(Velk_GetCsq(&csq), 0);
    EXPECT_EQ(csq, 25u);
}

TEST_F(VelkdevDevice, OfflineDropsTheNetworkAndRefusesToStartIt) {
    ASSERT_EQ(Velk_NetcardStart(), 0);
    Settle();
    ASSERT_EQ(Velk_SetOperationMode(VELK_MODE_OFFLINE), 0);
    std::uint8_t mode = 0;
    ASSERT_EQ(Velk_GetOperationMode(&mode), 0);
    EXPECT_EQ(mode, VELK_MODE_OFFLINE);
    _VELK_NETWORK_PARA net{};
    ASSERT_EQ(Velk_GetNetworkPara(&net), 0);
    EXPECT_STREQ(net.networkType, "NO SERVICE");
    EXPECT_EQ(Velk_NetcardStart(), VELK_E_OFFLINE);
    EXPECT_EQ(Velk_SetOperationMode(VELK_MODE_MINIMUM), VELK_E_BAD_ARGUMENT);
    ASSERT_EQ(Velk_SetOperationMode(VELK_MODE_ONLINE), 0);
    EXPECT_EQ(Velk_NetcardStart(), 0);
}

TEST_F(VelkdevDevice, CardStartingOfflineReportsMode6) {
    ASSERT_EQ(Velk_Shutdown(), 0);
    velk_sim::SetPowerOnMode(VELK_MODE_OFFLINE);
    Start();
    std::uint8_t mode = 0;
    ASSERT_EQ(Velk_GetOperationMode(&mode), 0);
    EXPECT_EQ(mode, VELK_MODE_OFFLINE);
}

TEST_F(VelkdevDevice, FieldSizesRoundTripAndRefuseBadRecords) {
    _VELK_FIELD_SIZES f{};
    f.cbSize = sizeof f;
    f.storage = 0;
    ASSERT_EQ(Velk_GetFieldSizes(&f), 0);
    EXPECT_EQ(+f.nameSize, 98);
    EXPECT_EQ(+f.contactCapacity, 250u);
    EXPECT_EQ(+f.numberSlots, 1);
    EXPECT_EQ(+f.smsSize, 1120u);
    EXPECT_EQ(+f.smsMask, 1 | 4);
    EXPECT_EQ(+f.messageCapacity, 40u);

    _VELK_FIELD_SIZES custom = f;
    custom.nameSize = 160;
    custom.nameMask = 4;
    custom.messageCapacity = 77;
    custom.numberSlots = 2;
    std::strcpy(custom.numberChars, "0123456789");
    velk_sim::SetFieldSizes(1, custom);
    _VELK_FIELD_SIZES back{};
    back.cbSize = sizeof back;
    back.storage = 1;
    ASSERT_EQ(Velk_GetFieldSizes(&back), 0);
    EXPECT_EQ(+back.storage, 1);
    EXPECT_EQ(+back.nameSize, 160);
    EXPECT_EQ(+back.nameMask, 4);
    EXPECT_EQ(+back.messageCapacity, 77u);
    EXPECT_EQ(+back.numberSlots, 2);
    EXPECT_STREQ(back.numberChars, "0123456789");

    struct Bad {
        std::uint32_t cbSize;
        std::uint8_t storage;
    };
    for (Bad b : {Bad{761, 0}, Bad{0, 2}, Bad{762, 3}}) {
        _VELK_FIELD_SIZES x{};
        x.cbSize = b.cbSize;
        x.storage = b.storage;
        EXPECT_EQ(Velk_GetFieldSizes(&x), VELK_E_BAD_ARGUMENT) << b.cbSize << "/" << int(b.storage);
        EXPECT_EQ(+x.nameSize, 0);
    }
    EXPECT_EQ(Velk_GetFieldSizes(nullptr), VELK_E_BAD_ARGUMENT);
    // The SIM's sizes need the SIM open; the computer's are always there.
    velk_sim::RequirePin("1234", "12345678");
    f = {};
    f.cbSize = sizeof f;
    f.storage = 0;
    EXPECT_EQ(Velk_GetFieldSizes(&f), VELK_E_SIM_NOT_READY);
    f.storage = 2;
    ASSERT_EQ(Velk_GetFieldSizes(&f), 0);
    EXPECT_EQ(+f.numberSlots, 5);
}

TEST_F(VelkdevDevice, DriverKeysLeadFromTheServiceToTheClassKey) {
    const QString hklm = QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\");
    const auto count = registry::GetDword(hklm + QStringLiteral("Services\\QELusbmdm6k\\Enum"), QStringLiteral("Count"));
    ASSERT_TRUE(count.has_value());
    ASSERT_GE(*count, 1u);
    const auto instance = registry::GetString(hklm + QStringLiteral("Services\\QELusbmdm6k\\Enum"),
                                              QString::number(*count - 1));
    ASSERT_TRUE(instance.has_value());
    const QString enumKey = hklm + QStringLiteral("Enum\\") + *instance;
    EXPECT_EQ(registry::GetString(enumKey, QStringLiteral("FriendlyName")).value_or(QString()),
              QString::fromLatin1(velk_sim::kModemFriendlyName));
    const auto driver = registry::GetString(enumKey, QStringLiteral("Driver"));
    ASSERT_TRUE(driver.has_value());
    const QString classKey = hklm + QStringLiteral("Control\\Class\\") + *driver;
    ASSERT_TRUE(registry::KeyExists(classKey));
    EXPECT_EQ(registry::GetDword(classKey, QStringLiteral("QELDriverNetState")).value_or(99), 0u);
    // A value the program wrote survives the next start of the card.
    ASSERT_TRUE(registry::SetDword(classKey, QStringLiteral("QELDriverRingDetect"), 2));
    Restart();
    EXPECT_EQ(registry::GetDword(classKey, QStringLiteral("QELDriverRingDetect")).value_or(99), 2u);
    velk_sim::RemoveCard();
    EXPECT_EQ(registry::GetDword(hklm + QStringLiteral("Services\\QELusbmdm6k\\Enum"), QStringLiteral("Count")),
              std::optional<quint32>(0));
}

TEST_F(VelkdevDevice, InjectedFailureHitsTheNextCallOnly) {
    velk_sim::FailNext("Velk_Echo", 1);
    velk_sim::FailNext("Velk_GetPinState", VELK_E_SIM_BUSY);
    EXPECT_EQ(Velk_Echo(), 1);
    EXPECT_EQ(Velk_Echo(), 0);
    std::uint8_t s = 0;
    EXPECT_EQ(Velk_GetPinState(&s), VELK_E_SIM_BUSY);
    EXPECT_EQ(Velk_GetPinState(&s), 0);
}

TEST_F(VelkdevDevice, SimReadyMessageWaitsWhileACallIsDialled) {
    velk_sim::RequirePin("1234", "12345678");
    ASSERT_EQ(Velk_setIsDialing(1), 0);
    window_.messages.clear();
    ASSERT_EQ(Velk_SetPin("1234", nullptr), 0);
    Settle();
    EXPECT_TRUE(window_.messages.empty());
    EXPECT_EQ(Velk_TestSimState(), 0);
    ASSERT_EQ(Velk_setIsDialing(0), 0);
    Settle();
    ASSERT_EQ(window_.messages.size(), 1u);
    EXPECT_EQ(window_.messages[0].first, static_cast<UINT>(UM_SIM_EVENT));
}

TEST_F(VelkdevDevice, IdentityModemAndEmergencyReadings) {
    char imei[36];
    std::memset(imei, 'x', sizeof imei);
    ASSERT_EQ(Velk_QueryImei(imei), 0);
    EXPECT_EQ(std::strlen(imei), 15u);
    char sw[100] = {}, inner[100] = {}, board[100] = {};
    ASSERT_EQ(Velk_GetSoftwareVersion(sw, inner), 0);
    ASSERT_EQ(Velk_GetBoardVersion(board), 0);
    EXPECT_GT(std::strlen(sw), 0u);
    EXPECT_GT(std::strlen(board), 0u);
    // A text longer than the buffer is cut and terminated.
    velk_sim::SetImei(std::string(60, '7').c_str());
    ASSERT_EQ(Velk_QueryImei(imei), 0);
    EXPECT_EQ(std::strlen(imei), 35u);

    _VELK_EMERGENCY_LIST list;
    std::memset(&list, 'x', sizeof list);
    ASSERT_EQ(Velk_GetEmergencyCall(&list), 0);
    EXPECT_STREQ(list.number[0], "112");
    EXPECT_EQ(list.number[15][0], '\0');

    EXPECT_EQ(Velk_SetModemPara("IP", "internet.linkora", ""), 0);
    EXPECT_EQ(velk_sim::GetModemPara().apn, "internet.linkora");
    EXPECT_EQ(Velk_SetModemPara("IP", std::string(120, 'a').c_str(), ""), VELK_E_BAD_ARGUMENT);
    EXPECT_EQ(velk_sim::GetModemPara().apn, "internet.linkora");
    EXPECT_EQ(Velk_CloseAT(1), 0);
    EXPECT_FALSE(velk_sim::AtPortOpen());
    EXPECT_EQ(Velk_OpenAT(), 0);
    EXPECT_TRUE(velk_sim::AtPortOpen());
    EXPECT_EQ(Velk_ATDAbort(), VELK_E_NOT_ALLOWED);
    ASSERT_TRUE(velk_sim::BeginOutgoingAttempt());
    EXPECT_EQ(Velk_ATDAbort(), 0);
    EXPECT_FALSE(velk_sim::OutgoingAttemptRunning());
}

}  // namespace

namespace {

class VelkdevAbsentAtStart : public VelkdevEnv {
protected:
    VelkdevAbsentAtStart() { autoStart_ = false; }
};

TEST_F(VelkdevAbsentAtStart, CardInsertedLaterEnumeratesAndReportsReady) {
    velk_sim::SetCardPresentAtStart(false);
    Start();
    EXPECT_EQ(Velk_Echo(), VELK_E_NO_CARD);
    EXPECT_FALSE(registry::GetDword(QString::fromLatin1(velk_sim::kServiceEnumKey), QStringLiteral("Count")));
    velk_sim::InsertCard();
    Settle();
    EXPECT_EQ(recorded().copy(recorded().cardEvents), std::vector<int>{1});
    EXPECT_EQ(Velk_Echo(), 0);
    EXPECT_EQ(registry::GetDword(QString::fromLatin1(velk_sim::kServiceEnumKey), QStringLiteral("Count")),
              std::optional<quint32>(1));
    EXPECT_EQ(Velk_TestSimState(), 0);
}

TEST_F(VelkdevDevice, LockStatusStuckUnknownRefusesUnlocking) {
    velk_sim::SetLock(VELK_LOCK_UNKNOWN, "1111222233334444");
    std::uint8_t status = 0, outcome = 0xEE;
    ASSERT_EQ(Velk_GetNetLockStatus(&status), 0);
    EXPECT_EQ(status, VELK_LOCK_UNKNOWN);
    EXPECT_EQ(Velk_UnlockNet("1111222233334444", &outcome), VELK_E_NOT_ALLOWED);
    EXPECT_EQ(Velk_NetcardStart(), VELK_E_NOT_ALLOWED);
    // A card without lock support reports "not locked" whatever it holds.
    velk_sim::SetLockSupported(false);
    ASSERT_EQ(Velk_GetNetLockStatus(&status), 0);
    EXPECT_EQ(status, VELK_LOCK_NONE);
    EXPECT_EQ(Velk_NetcardStart(), 0);
}

}  // namespace

namespace {

TEST_F(VelkdevDevice, SignalHasNoReadingUntilTheCardHasMeasured) {
    velk_sim::HoldEvents(true);
    ASSERT_EQ(Velk_NetcardStart(), 0);
    std::uint32_t csq = 1234;
    EXPECT_EQ(Velk_GetCsq(&csq), VELK_E_NO_READING);
    _VELK_NETWORK_PARA net{};
    ASSERT_EQ(Velk_GetNetworkPara(&net), 0);
    EXPECT_STREQ(net.networkType, "NO SERVICE");  // still searching
    velk_sim::HoldEvents(false);
    Settle();
    ASSERT_EQ(Velk_GetCsq(&csq), 0);
    EXPECT_EQ(csq, 20u);
}

TEST_F(VelkdevDevice, CardThatDoesNotAnswerFailsUntilItDoes) {
    velk_sim::SetAnswering(false);
    EXPECT_EQ(Velk_Echo(), VELK_E_FAILED);
    std::uint8_t mode = 0;
    EXPECT_EQ(Velk_GetOperationMode(&mode), VELK_E_FAILED);
    velk_sim::SetAnswering(true);
    EXPECT_EQ(Velk_Echo(), 0);
}

}  // namespace

namespace {

TEST_F(VelkdevDevice, SmsConfigWithAFullCentreFieldIsKeptTerminated) {
    _VELK_SMS_CONFIG c{};
    std::memset(c.centre, '5', sizeof c.centre);
    c.validity = '3';
    c.statusReport = 1;
    c.store = '2';
    ASSERT_EQ(Velk_SetSmsConfig(c), 0);
    std::lock_guard<std::recursive_mutex> g(sim::card().lock());
    const _VELK_SMS_CONFIG kept = sim::card().smsConfig();
    EXPECT_EQ(std::strlen(kept.centre), sizeof kept.centre - 1);
    EXPECT_EQ(kept.validity, '3');
    EXPECT_EQ(+kept.statusReport, 1);
    EXPECT_EQ(kept.store, '2');
}

}  // namespace
