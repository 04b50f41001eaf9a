#include "velkdev/sim/control.h"

#include "velkdev/sim/card_model.h"
#include "velkdev/sim/events.h"
#include "velkdev/sim/timing.h"

namespace velk_sim {
namespace {

using Guard = std::lock_guard<std::recursive_mutex>;
using sim::live;
using sim::scenario;

// Runs change on the running card; does nothing while the library is stopped.
template <class Change>
void onCard(Change change) {
    Guard g(sim::card().lock());
    if (!live().started) return;
    change(live(), scenario());
}

}  // namespace

void SetInstantTiming(bool instant) { sim::timing::setInstant(instant); }

void Flush() {
    // Deliveries may schedule more; in instant timing all of it is due now.
    sim::events().flush();
}

void HoldEvents(bool hold) { sim::events().hold(hold); }

void SetAnswering(bool answering) {
    Guard g(sim::card().lock());
    scenario().answering = answering;
}

void FailNext(const char* call, VELK_RESULT code) {
    Guard g(sim::card().lock());
    if (call) scenario().failures[call].push_back(code);
}

void ClearFailures() {
    Guard g(sim::card().lock());
    scenario().failures.clear();
}

void ResetScenario() {
    Guard g(sim::card().lock());
    scenario() = sim::Scenario{};
    sim::timing::setInstant(false);
    sim::events().hold(false);
}

void SetCardPresentAtStart(bool present) {
    Guard g(sim::card().lock());
    scenario().presentAtStart = present;
}

void SetPowerOnMode(std::uint8_t mode) {
    Guard g(sim::card().lock());
    if (mode == VELK_MODE_MINIMUM || mode == VELK_MODE_ONLINE || mode == VELK_MODE_OFFLINE)
        scenario().powerOnMode = mode;
}

void InsertCard() {
    onCard([](sim::Live& l, sim::Scenario& s) {
        if (l.inserted) return;
        l.inserted = true;
        const std::uint64_t gen = ++l.cardGen;
        sim::events().post(s.enumerateMs, [gen] {
            Guard g(sim::card().lock());
            sim::Live& l = live();
            if (!l.started || gen != l.cardGen || !l.inserted) return;
            sim::powerUp();
            sim::announce(sim::CardEvent::Inserted);
            if (l.checkCard) sim::notifyCardEvent(1, 0);
        });
    });
}

void RemoveCard() {
    onCard([](sim::Live& l, sim::Scenario&) {
        if (!l.inserted) return;
        l.inserted = false;
        sim::powerDown();
        l.suspendedOff = false;
        sim::writeDeviceGone();
        if (l.checkCard && l.reportedPresent) sim::notifyCardEvent(2, 0);
    });
}

void SetOnline(bool online) {
    onCard([online](sim::Live& l, sim::Scenario&) {
        if (!l.powered) return;
        if (!online && l.mode == VELK_MODE_ONLINE) {
            sim::dropRegistration(true);
            l.netcardStarted = false;
        }
        l.mode = online ? VELK_MODE_ONLINE : VELK_MODE_OFFLINE;
    });
}

void SetFieldSizes(std::uint8_t storage, const _VELK_FIELD_SIZES& sizes) {
    Guard g(sim::card().lock());
    if (storage > 2) return;
    scenario().sizes[storage] = sizes;
    scenario().sizes[storage].cbSize = sizeof sizes;
    scenario().sizes[storage].storage = storage;
}

void SetImei(const char* imei) {
    Guard g(sim::card().lock());
    scenario().imei = imei ? imei : "";
}

void SetVersions(const char* software, const char* inner, const char* board) {
    Guard g(sim::card().lock());
    scenario().software = software ? software : "";
    scenario().inner = inner ? inner : "";
    scenario().board = board ? board : "";
}

void SetEmergencyNumbers(const std::vector<std::string>& numbers) {
    Guard g(sim::card().lock());
    scenario().emergency.assign(numbers.begin(), numbers.begin() + std::min<std::size_t>(numbers.size(), 16));
}

void RequirePin(const char* pin, const char* puk) {
    onCard([pin, puk](sim::Live& l, sim::Scenario&) {
        if (pin) l.pin = pin;
        if (puk) l.puk = puk;
        l.pinEnabled = true;
        l.pinLeft = 3;
        l.pukLeft = 10;
        l.blockedForGood = false;
        sim::saveSim();
        if (l.powered) sim::resetSim();
    });
}

void SetSimPresent(bool present) {
    Guard g(sim::card().lock());
    if (scenario().simPresent == present) return;
    scenario().simPresent = present;
    if (live().started && live().powered) sim::resetSim();
}

void SetSimStorageDelay(int ms) {
    Guard g(sim::card().lock());
    scenario().simStorageMs = std::max(0, ms);
}

void SetLockSupported(bool supported) {
    Guard g(sim::card().lock());
    scenario().lockSupported = supported;
}

void SetLock(std::uint8_t status, const char* code, int attempts) {
    onCard([=](sim::Live& l, sim::Scenario&) {
        if (status < VELK_LOCK_NONE || status > VELK_LOCK_FOR_GOOD) return;
        l.lockStatus = status;
        if (code) l.unlockCode = code;
        l.unlockLeft = std::clamp(attempts, 0, 5);
        sim::saveCard();
        // A card that becomes locked drops its network.
        if (status != VELK_LOCK_NONE && l.netcardStarted) {
            sim::dropRegistration(true);
            l.netcardStarted = false;
        }
    });
}

void SetSignal(std::uint32_t csq) {
    Guard g(sim::card().lock());
    scenario().signal = csq;
    sim::Live& l = live();
    if (!l.started || !l.measured || l.csq == csq) return;
    l.csq = csq;
    sim::notifySignal(csq);
}

void SetSignalDrift(bool drift) {
    Guard g(sim::card().lock());
    const bool was = scenario().drift;
    scenario().drift = drift;
    if (drift && !was && live().started && live().measured) sim::scheduleDrift();
}

void SetNetworkType(const char* type) {
    Guard g(sim::card().lock());
    const std::string t = type ? type : "";
    if (scenario().networkType == t) return;
    scenario().networkType = t;
    if (live().started && live().registered) sim::notifyNetworkType(t);
}

void SetDomain(std::uint8_t domain) {
    Guard g(sim::card().lock());
    scenario().domain = domain;
    if (live().started && live().registered) sim::notifyOperator();
}

void SetOperator(const char* name, const char* shortName, const char* plmn) {
    Guard g(sim::card().lock());
    scenario().operatorName = name ? name : "";
    scenario().operatorShort = shortName ? shortName : "";
    scenario().plmn = plmn ? plmn : "";
    if (live().started && live().registered) sim::notifyOperator();
}

void SetRoaming(bool roaming) {
    Guard g(sim::card().lock());
    if (scenario().roaming == roaming) return;
    scenario().roaming = roaming;
    if (live().started && live().registered) sim::notifyOperator();
}

void SetCoverage(bool coverage) {
    Guard g(sim::card().lock());
    if (scenario().coverage == coverage) return;
    scenario().coverage = coverage;
    sim::Live& l = live();
    if (!l.started || !l.powered) return;
    if (!coverage) {
        const bool started = l.netcardStarted;
        sim::dropRegistration(true);
        l.netcardStarted = started;  // keeps searching
    } else if (l.netcardStarted && l.mode == VELK_MODE_ONLINE) {
        l.netcardStarted = false;
        sim::startRegistration();
    }
}

PinCounters GetPinCounters() {
    Guard g(sim::card().lock());
    const sim::Live& l = live();
    return {l.pinLeft, l.pukLeft, l.pinEnabled, l.blockedForGood};
}

std::string GetPin() {
    Guard g(sim::card().lock());
    return live().pin;
}

ModemPara GetModemPara() {
    Guard g(sim::card().lock());
    return {live().pdpType, live().apn, live().pdpAddress};
}

bool AtPortOpen() {
    Guard g(sim::card().lock());
    return live().atOpen;
}

bool IsDialing() {
    Guard g(sim::card().lock());
    return live().dialing;
}

bool NetcardStarted() {
    Guard g(sim::card().lock());
    return live().netcardStarted;
}

std::uint8_t LockAttemptsLeft() {
    Guard g(sim::card().lock());
    return static_cast<std::uint8_t>(live().unlockLeft);
}

bool BeginOutgoingAttempt() {
    Guard g(sim::card().lock());
    if (!sim::card().present()) return false;
    live().outgoing = true;
    return true;
}

void EndOutgoingAttempt() {
    Guard g(sim::card().lock());
    live().outgoing = false;
}

bool OutgoingAttemptRunning() {
    Guard g(sim::card().lock());
    return live().outgoing;
}

}  // namespace velk_sim
