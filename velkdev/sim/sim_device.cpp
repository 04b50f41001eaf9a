// The simulated card's answers to the device calls.
#include <algorithm>
#include <cstring>

#include "velkdev/front.h"
#include "velkdev/sim/card_model.h"
#include "velkdev/sim/events.h"
#include "velkdev/sim/memory.h"

namespace sim {
namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

bool isDigits(const char* s, std::size_t min, std::size_t max) {
    if (!s) return false;
    const std::size_t n = std::strlen(s);
    if (n < min || n > max) return false;
    return std::all_of(s, s + n, [](char c) { return c >= '0' && c <= '9'; });
}

// A PIN check used by every PIN operation: counts a wrong PIN down and
// reports 7306 when that used the last attempt.
VELK_RESULT checkPin(const char* pin) {
    Live& l = live();
    if (l.pinLeft <= 0) return VELK_E_BLOCKED;
    if (pin && l.pin == pin) {
        l.pinLeft = 3;
        saveSim();
        return VELK_OK;
    }
    --l.pinLeft;
    saveSim();
    if (l.pinLeft > 0) return VELK_E_WRONG_CODE;
    // The PIN is blocked: the SIM now waits for its PUK.
    l.pinVerified = false;
    resetSim();
    return VELK_E_BLOCKED;
}

class SimBackend final : public velk::Backend {
public:
    VELK_RESULT Start() override {
        Guard g(card().lock());
        Live& l = live();
        l = Live{};
        loadMemory();
        l.started = true;
        l.inserted = scenario().presentAtStart;
        if (l.inserted) powerUp();
        // The program looks for the card itself after start; no event for it.
        l.reportedPresent = l.inserted;
        announce(CardEvent::Started);
        return VELK_OK;
    }

    void BeginStop() override {
        Guard g(card().lock());
        if (!live().started) return;
        announce(CardEvent::Stopping);
        live().started = false;
    }

    void FinishStop() override {
        Guard g(card().lock());
        memory().unload();
        live() = Live{};
    }

    VELK_RESULT Echo() override { return simple("Velk_Echo", Need::Card); }

    VELK_RESULT ClearEcho() override {
        Guard g(card().lock());
        if (VELK_RESULT r = gate("Velk_ClearEcho", Need::Card)) return r;
        live().echo = false;
        return VELK_OK;
    }

    VELK_RESULT Poweroff(std::uint8_t untilReinserted) override {
        Guard g(card().lock());
        if (VELK_RESULT r = gate("Velk_Poweroff", Need::Card)) return r;
        powerDown();
        live().suspendedOff = untilReinserted == 0;
        writeDeviceGone();
        // The caller moves to "no card" itself; the card-event callback stays silent.
        live().reportedPresent = false;
        return VELK_OK;
    }

    VELK_RESULT EnableCheckCard(bool enable) override {
        Guard g(card().lock());
        if (VELK_RESULT r = gate(enable ? "Velk_enableCheckCard" : "Velk_disableCheckCard", Need::Started)) return r;
        Live& l = live();
        l.checkCard = enable;
        if (!enable) return VELK_OK;
        if (l.inserted && !l.powered && l.suspendedOff) {
            // Back from a suspend: the card enumerates again.
            l.suspendedOff = false;
            const std::uint64_t gen = ++l.cardGen;
            events().post(scenario().enumerateMs, [gen] {
                Guard g(card().lock());
                Live& l = live();
                if (!l.started || gen != l.cardGen || !l.inserted || l.powered) return;
                powerUp();
                if (l.checkCard) notifyCardEvent(1, 0);
            });
            return VELK_OK;
        }
        // Report what changed while nobody was told.
        const bool present = l.inserted && l.powered;
        if (present != l.reportedPresent) notifyCardEvent(present ? 1 : 2, 0);
        return VELK_OK;
    }

    VELK_RESULT GetOperationMode(std::uint8_t* mode) override {
        Guard g(card().lock());
        if (!mode) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = gate("Velk_GetOperationMode", Need::Card)) return r;
        *mode = live().mode;
        return VELK_OK;
    }

    VELK_RESULT SetOperationMode(std::uint8_t mode) override {
        Guard g(card().lock());
        if (VELK_RESULT r = gate("Velk_SetOperationMode", Need::Card)) return r;
        if (mode != VELK_MODE_ONLINE && mode != VELK_MODE_OFFLINE) return VELK_E_BAD_ARGUMENT;
        Live& l = live();
        if (mode == VELK_MODE_OFFLINE && l.mode != VELK_MODE_OFFLINE) {
            // The radio goes off: the network is gone with it.
            dropRegistration(false);
            l.netcardStarted = false;
        }
        l.mode = mode;
        return VELK_OK;
    }

    VELK_RESULT NetcardStart() override {
        Guard g(card().lock());
        if (VELK_RESULT r = gate("Velk_NetcardStart", Need::Online)) return r;
        if (VELK_RESULT r = card().require(Need::Sim)) return r;
        const Live& l = live();
        if (scenario().lockSupported && l.lockStatus != VELK_LOCK_NONE) return VELK_E_NOT_ALLOWED;
        if (!l.netcardStarted) startRegistration();
        return VELK_OK;
    }

    VELK_RESULT NetcardStop() override {
        Guard g(card().lock());
        if (VELK_RESULT r = gate("Velk_NetcardStop", Need::Card)) return r;
        dropRegistration(false);
        live().netcardStarted = false;
        return VELK_OK;
    }

    VELK_RESULT TestSimState() override { return simple("Velk_TestSimState", Need::SimStorage); }

    VELK_RESULT GetPinState(std::uint8_t* state) override {
        Guard g(card().lock());
        if (!state) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = gate("Velk_GetPinState", Need::Card)) return r;
        if (!card().simUsable()) return VELK_E_SIM_UNUSABLE;
        if (Clock::now() < live().simBusyUntil) return VELK_E_SIM_BUSY;
        *state = pinState();
        return VELK_OK;
    }

    VELK_RESULT QueryPINLeftTimes(std::uint8_t* pinLeft, std::uint8_t* pukLeft) override {
        Guard g(card().lock());
        if (!pinLeft || !pukLeft) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = gate("Velk_QueryPINLeftTimes", Need::Card)) return r;
        if (!scenario().simPresent) return VELK_E_SIM_UNUSABLE;
        *pinLeft = static_cast<std::uint8_t>(std::max(0, live().pinLeft));
        *pukLeft = static_cast<std::uint8_t>(std::max(0, live().pukLeft));
        return VELK_OK;
    }

    VELK_RESULT SetPin(const char* code, const char* newPin) override {
        Guard g(card().lock());
        if (!code) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = simGate("Velk_SetPin")) return r;
        Live& l = live();
        if (newPin && *newPin) return unblock(code, newPin);
        if (l.pinLeft <= 0) return VELK_E_BLOCKED;  // only the PUK helps now
        const bool wasRequired = pinState() == VELK_PIN_REQUIRED;
        const VELK_RESULT r = checkPin(code);
        if (r == VELK_OK && wasRequired) {
            l.pinVerified = true;
            simUnlocked();
        }
        return r;
    }

    VELK_RESULT IfPinEnable(std::uint8_t* enabled) override {
        Guard g(card().lock());
        if (!enabled) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = simGate("Velk_IfPinEnable")) return r;
        *enabled = live().pinEnabled ? 1 : 0;
        return VELK_OK;
    }

    VELK_RESULT SetPinEnable(std::uint8_t enable, const char* pin) override {
        Guard g(card().lock());
        if (!pin) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = simGate("Velk_SetPinEnable")) return r;
        Live& l = live();
        const VELK_RESULT r = checkPin(pin);
        if (r != VELK_OK) return r;
        l.pinEnabled = enable != 0;
        // The PIN was just given, so the SIM stays open either way.
        l.pinVerified = true;
        saveSim();
        return VELK_OK;
    }

    VELK_RESULT ChangePinPasswd(const char* oldPin, const char* newPin) override {
        Guard g(card().lock());
        if (!oldPin || !isDigits(newPin, 4, 8)) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = simGate("Velk_ChangePinPasswd")) return r;
        Live& l = live();
        if (!l.pinEnabled) return VELK_E_NOT_ALLOWED;
        const VELK_RESULT r = checkPin(oldPin);
        if (r != VELK_OK) return r;
        l.pin = newPin;
        saveSim();
        return VELK_OK;
    }

    VELK_RESULT IsNetSupportLock(std::uint8_t* supported) override {
        Guard g(card().lock());
        if (!supported) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = gate("Velk_IsNetSupportLock", Need::Card)) return r;
        *supported = scenario().lockSupported ? 1 : 0;
        return VELK_OK;
    }

    VELK_RESULT GetNetLockStatus(std::uint8_t* status) override {
        Guard g(card().lock());
        if (!status) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = gate("Velk_GetNetLockStatus", Need::Card)) return r;
        const Live& l = live();
        if (!scenario().lockSupported)
            *status = VELK_LOCK_NONE;
        else if (Clock::now() < l.lockKnownAt)
            *status = VELK_LOCK_UNKNOWN;
        else
            *status = l.lockStatus;
        return VELK_OK;
    }

    VELK_RESULT UnlockNet(const char* code, std::uint8_t* outcome) override {
        Guard g(card().lock());
        if (!code || !outcome) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = gate("Velk_UnlockNet", Need::Card)) return r;
        Live& l = live();
        if (!scenario().lockSupported || l.lockStatus == VELK_LOCK_NONE) {
            *outcome = VELK_UNLOCK_DONE;
            return VELK_OK;
        }
        if (l.lockStatus == VELK_LOCK_FOR_GOOD || l.unlockLeft <= 0) {
            *outcome = VELK_UNLOCK_LOCKED_FOR_GOOD;
            return VELK_OK;
        }
        if (l.lockStatus == VELK_LOCK_UNKNOWN || Clock::now() < l.lockKnownAt) return VELK_E_NOT_ALLOWED;
        if (l.unlockCode == code) {
            l.lockStatus = VELK_LOCK_NONE;
            l.unlockLeft = 5;
            *outcome = VELK_UNLOCK_DONE;
        } else {
            --l.unlockLeft;
            if (l.unlockLeft <= 0) {
                l.lockStatus = VELK_LOCK_FOR_GOOD;
                *outcome = VELK_UNLOCK_NOW_LOCKED;
            } else {
                *outcome = l.unlockLeft == 1 ? VELK_UNLOCK_REFUSED_LAST : VELK_UNLOCK_REFUSED;
            }
        }
        saveCard();
        return VELK_OK;
    }

    VELK_RESULT QueryImei(char* imei36) override {
        return text("Velk_QueryImei", [&] { copyText(imei36, 36, scenario().imei); }, imei36);
    }

    VELK_RESULT GetSoftwareVersion(char* version100, char* inner100) override {
        if (!inner100) return VELK_E_BAD_ARGUMENT;
        return text("Velk_GetSoftwareVersion", [&] {
            copyText(version100, 100, scenario().software);
            copyText(inner100, 100, scenario().inner);
        }, version100);
    }

    VELK_RESULT GetBoardVersion(char* version100) override {
        return text("Velk_GetBoardVersion", [&] { copyText(version100, 100, scenario().board); }, version100);
    }

    VELK_RESULT GetCsq(std::uint32_t* signal) override {
        Guard g(card().lock());
        if (!signal) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = gate("Velk_GetCsq", Need::Card)) return r;
        const Live& l = live();
        if (l.registered && l.measured)
            *signal = l.csq;
        else if (l.netcardStarted && l.mode == VELK_MODE_ONLINE && scenario().coverage)
            return VELK_E_NO_READING;  // searching: the card has not measured yet
        else
            *signal = 99;
        return VELK_OK;
    }

    VELK_RESULT GetNetworkPara(_VELK_NETWORK_PARA* para) override {
        Guard g(card().lock());
        if (!para) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = gate("Velk_GetNetworkPara", Need::Card)) return r;
        const Live& l = live();
        std::memset(para, 0, sizeof *para);
        copyText(para->networkType, sizeof para->networkType, networkTypeText());
        para->domain = scenario().domain;
        para->roaming = l.registered && scenario().roaming ? 1 : 0;
        para->registered = l.registered ? 1 : 0;
        return VELK_OK;
    }

    VELK_RESULT GetZdonPara(_VELK_ZDON_PARA* para) override {
        Guard g(card().lock());
        if (!para) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = gate("Velk_GetZdonPara", Need::Card)) return r;
        const Live& l = live();
        const Scenario& s = scenario();
        std::memset(para, 0, sizeof *para);
        if (l.registered) {
            copyText(para->operatorName, sizeof para->operatorName, s.operatorName);
            copyText(para->shortName, sizeof para->shortName, s.operatorShort);
            copyText(para->plmn, sizeof para->plmn, s.plmn);
        }
        copyText(para->networkType, sizeof para->networkType, networkTypeText());
        copyText(para->domain, sizeof para->domain, s.domain == 0 ? "CS_ONLY" : s.domain == 1 ? "PS_ONLY" : "CS_PS");
        copyText(para->roaming, sizeof para->roaming, l.registered && s.roaming ? "ROAM_ON" : "ROAM_OFF");
        return VELK_OK;
    }

    VELK_RESULT GetEmergencyCall(_VELK_EMERGENCY_LIST* list) override {
        Guard g(card().lock());
        if (!list) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = gate("Velk_GetEmergencyCall", Need::Card)) return r;
        std::memset(list, 0, sizeof *list);
        const auto& numbers = scenario().emergency;
        for (std::size_t i = 0; i < numbers.size() && i < 16; ++i)
            copyText(list->number[i], sizeof list->number[i], numbers[i]);
        return VELK_OK;
    }

    VELK_RESULT GetFieldSizes(_VELK_FIELD_SIZES* sizes) override {
        Guard g(card().lock());
        if (!sizes || sizes->cbSize != sizeof(_VELK_FIELD_SIZES) || sizes->storage > 2) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT f = injectedFailure("Velk_GetFieldSizes")) return f;
        const std::uint8_t storage = sizes->storage;
        if (VELK_RESULT r = card().requireStorage(storage)) return r;
        *sizes = card().fieldSizes(storage);
        return VELK_OK;
    }

    VELK_RESULT SetSmsConfig(const _VELK_SMS_CONFIG& config) override {
        Guard g(card().lock());
        if (VELK_RESULT r = gate("Velk_SetSmsConfig", Need::Card)) return r;
        _VELK_SMS_CONFIG c = config;
        c.centre[sizeof c.centre - 1] = '\0';  // a full field is cut, never read past
        live().smsConfig = c;
        return VELK_OK;
    }

    VELK_RESULT SetModemPara(const char* pdpType, const char* apn, const char* pdpAddress) override {
        Guard g(card().lock());
        if (!pdpType || !apn || !pdpAddress) return VELK_E_BAD_ARGUMENT;
        if (std::strlen(pdpType) > 15 || std::strlen(apn) > 99 || std::strlen(pdpAddress) > 63)
            return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = gate("Velk_SetModemPara", Need::Card)) return r;
        Live& l = live();
        l.pdpType = pdpType;
        l.apn = apn;
        l.pdpAddress = pdpAddress;
        return VELK_OK;
    }

    VELK_RESULT OpenAT() override {
        Guard g(card().lock());
        if (VELK_RESULT r = gate("Velk_OpenAT", Need::Card)) return r;
        live().atOpen = true;
        return VELK_OK;
    }

    VELK_RESULT CloseAT(std::uint8_t) override {
        Guard g(card().lock());
        if (VELK_RESULT r = gate("Velk_CloseAT", Need::Card)) return r;
        live().atOpen = false;
        return VELK_OK;
    }

    VELK_RESULT SetIsDialing(std::uint8_t dialing) override {
        Guard g(card().lock());
        if (VELK_RESULT r = gate("Velk_setIsDialing", Need::Started)) return r;
        Live& l = live();
        l.dialing = dialing != 0;
        if (!l.dialing && l.simEventPending) {
            l.simEventPending = false;
            events().postMessage(0, 3026, 2, 0);
        }
        return VELK_OK;
    }

    VELK_RESULT ATDAbort() override {
        Guard g(card().lock());
        if (VELK_RESULT r = gate("Velk_ATDAbort", Need::Card)) return r;
        if (!live().outgoing) return VELK_E_NOT_ALLOWED;
        live().outgoing = false;
        return VELK_OK;
    }

private:
    static VELK_RESULT gate(const char* call, Need need) {
        if (VELK_RESULT r = card().require(Need::Started)) return r;
        if (VELK_RESULT f = injectedFailure(call)) return f;
        return card().require(need);
    }

    static VELK_RESULT simple(const char* call, Need need) {
        Guard g(card().lock());
        return gate(call, need);
    }

    // PIN operations need the SIM itself, whatever code it waits for.
    static VELK_RESULT simGate(const char* call) {
        if (VELK_RESULT r = gate(call, Need::Card)) return r;
        if (!card().simUsable()) return VELK_E_SIM_UNUSABLE;
        if (Clock::now() < live().simBusyUntil) return VELK_E_SIM_BUSY;
        return VELK_OK;
    }

    template <class Fill>
    static VELK_RESULT text(const char* call, Fill fill, char* out) {
        Guard g(card().lock());
        if (!out) return VELK_E_BAD_ARGUMENT;
        if (VELK_RESULT r = gate(call, Need::Card)) return r;
        fill();
        return VELK_OK;
    }

    // PUK with a new PIN; a wrong PUK counts down and the last one blocks the SIM for good.
    static VELK_RESULT unblock(const char* puk, const char* newPin) {
        Live& l = live();
        if (!isDigits(newPin, 4, 8)) return VELK_E_BAD_ARGUMENT;
        if (l.puk == puk) {
            l.pin = newPin;
            l.pinLeft = 3;
            l.pukLeft = 10;
            l.pinEnabled = true;  // an unblocked SIM keeps its PIN check on
            l.pinVerified = true;
            saveSim();
            if (!l.storageReady) simUnlocked();
            return VELK_OK;
        }
        --l.pukLeft;
        if (l.pukLeft <= 0) {
            l.pukLeft = 0;
            l.blockedForGood = true;
            saveSim();
            resetSim();
            return VELK_E_BLOCKED;
        }
        saveSim();
        return VELK_E_WRONG_CODE;
    }
};

}  // namespace
}  // namespace sim

namespace velk {
Backend& SimBackend() {
    static sim::SimBackend b;
    return b;
}
}  // namespace velk
