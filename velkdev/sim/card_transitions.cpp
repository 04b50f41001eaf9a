// The card model's transitions and the events they raise.
#include <random>

#include "platform/winmsg.h"
#include "velkdev/sim/card_model.h"
#include "velkdev/sim/events.h"

namespace sim {
namespace {
Clock::time_point after(int ms) { return Clock::now() + std::chrono::milliseconds(events().effectiveDelay(ms)); }
}  // namespace

// --- Notifications ----------------------------------------------------------------

void notifyCardEvent(std::uint8_t event, int delayMs) {
    live().reportedPresent = event == 1;
    events().post(delayMs, [event] {
        if (auto cb = callbacks().meStateChanged.load()) cb(event);
    });
}

void notifyNetworkType(const std::string& text) {
    events().post(30, [text] {
        if (auto cb = callbacks().zpasNotify.load()) cb(text.c_str());
    });
}

void notifyOperator() {
    const Scenario& s = scenario();
    const Live& l = live();
    _VELK_ZDON_NOTIFY r{};
    if (l.registered) {
        copyText(r.operatorName, sizeof r.operatorName, s.operatorName);
        copyText(r.shortName, sizeof r.shortName, s.operatorShort);
        copyText(r.plmn, sizeof r.plmn, s.plmn);
    }
    copyText(r.domain, sizeof r.domain, s.domain == 0 ? "CS_ONLY" : s.domain == 1 ? "PS_ONLY" : "CS_PS");
    copyText(r.roaming, sizeof r.roaming, l.registered && s.roaming ? "ROAM_ON" : "ROAM_OFF");
    events().post(30, [r] {
        if (auto cb = callbacks().zdonNotify.load()) cb(&r);
    });
}

void notifySignal(std::uint32_t csq) {
    events().post(20, [csq] {
        if (auto cb = callbacks().csqNotify.load()) cb(csq);
    });
}

// --- Transitions ------------------------------------------------------------------

void powerUp() {
    Live& l = live();
    l.powered = true;
    l.suspendedOff = false;
    ++l.cardGen;
    l.mode = scenario().powerOnMode;
    l.echo = true;
    l.atOpen = true;
    l.dialing = false;
    l.outgoing = false;
    l.netcardStarted = false;
    l.registered = false;
    l.measured = false;
    l.csq = 99;
    l.lockKnownAt = after(scenario().lockReadMs);
    writeDriverKeys();
    resetSim();
}

void powerDown() {
    Live& l = live();
    const bool wasPowered = l.powered;
    l.powered = false;
    ++l.cardGen;
    ++l.simGen;
    ++l.netGen;
    l.netcardStarted = false;
    l.registered = false;
    l.measured = false;
    l.csq = 99;
    l.pinVerified = false;
    l.storageReady = false;
    l.simEventPending = false;
    l.dialing = false;
    l.outgoing = false;
    if (wasPowered) announce(CardEvent::Removed);
}

void resetSim() {
    Live& l = live();
    ++l.simGen;
    l.pinVerified = false;
    l.storageReady = false;
    l.simEventPending = false;
    l.simBusyUntil = after(scenario().simBusyMs);
    if (l.registered || l.netcardStarted) dropRegistration(l.registered);
    l.netcardStarted = false;
    announce(CardEvent::SimReset);
    if (card().simReady()) simUnlocked();
}

void simUnlocked() {
    Live& l = live();
    const std::uint64_t gen = l.simGen;
    const int busy = std::max<int>(
        0, static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(l.simBusyUntil - Clock::now()).count()));
    events().post(busy + scenario().simStorageMs, [gen] {
        std::unique_lock<std::recursive_mutex> g(card().lock());
        Live& l = live();
        if (!l.started || gen != l.simGen || !card().simReady() || l.storageReady) return;
        l.storageReady = true;
        announce(CardEvent::SimStorageReady);
        if (l.dialing) {
            l.simEventPending = true;
            return;
        }
        g.unlock();
        if (HWND w = appWindow()) PostMessage(w, 3026, 2, 0);
    });
}

void startRegistration() {
    Live& l = live();
    l.netcardStarted = true;
    if (l.registered || !scenario().coverage) return;
    const std::uint64_t gen = ++l.netGen;
    events().post(scenario().registerMs, [gen] {
        std::lock_guard<std::recursive_mutex> g(card().lock());
        Live& l = live();
        if (!l.started || gen != l.netGen || !l.netcardStarted || !card().online() || !scenario().coverage) return;
        l.registered = true;
        l.measured = false;
        announce(CardEvent::Registered);
        notifyNetworkType(scenario().networkType);
        notifyOperator();
        events().post(scenario().measureMs, [gen] {
            std::lock_guard<std::recursive_mutex> g(card().lock());
            Live& l = live();
            if (!l.started || gen != l.netGen || !l.registered) return;
            l.measured = true;
            l.csq = scenario().signal;
            notifySignal(l.csq);
            scheduleDrift();
        });
    });
}

void dropRegistration(bool notify) {
    Live& l = live();
    const bool was = l.registered;
    ++l.netGen;
    l.registered = false;
    l.measured = false;
    const std::uint32_t old = l.csq;
    l.csq = 99;
    if (was) announce(CardEvent::Deregistered);
    if (notify && was) {
        notifyNetworkType("NO SERVICE");
        notifyOperator();
        if (old != 99) notifySignal(99);
    }
}

void scheduleDrift() {
    if (!scenario().drift) return;
    const std::uint64_t gen = live().netGen;
    events().postBackground(scenario().driftMs, [gen] {
        std::lock_guard<std::recursive_mutex> g(card().lock());
        Live& l = live();
        Scenario& s = scenario();
        if (!l.started || gen != l.netGen || !l.measured || !s.drift) return;
        static std::mt19937 rng(std::random_device{}());
        const int step = std::uniform_int_distribution<int>(-2, 2)(rng);
        // Wander around the set level, never far from it.
        const int base = s.signal > 31 ? 15 : static_cast<int>(s.signal);
        int v = std::clamp(static_cast<int>(l.csq > 31 ? base : l.csq) + step, base - 6, base + 6);
        v = std::clamp(v, 0, 31);
        if (static_cast<std::uint32_t>(v) != l.csq) {
            l.csq = static_cast<std::uint32_t>(v);
            notifySignal(l.csq);
        }
        scheduleDrift();
    });
}

}  // namespace sim
