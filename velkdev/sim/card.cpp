#include <QDir>
#include <QJsonObject>
#include <QString>
#include <atomic>
#include <cstring>
#include <random>

#include "platform/paths.h"
#include "platform/registry.h"
#include "velkdev/pcdb.h"
#include "velkdev/sim/card_model.h"
#include "velkdev/sim/control.h"
#include "velkdev/sim/events.h"
#include "velkdev/sim/memory.h"
#include "velkdev/sim/timing.h"

namespace sim {
namespace {

std::atomic<bool> g_instant{false};

std::vector<std::function<void(CardEvent)>>& listeners() {
    static std::vector<std::function<void(CardEvent)>> l;
    return l;
}

Clock::time_point after(int ms) { return Clock::now() + std::chrono::milliseconds(events().effectiveDelay(ms)); }

// A field-size record: sizes in bits, masks 1 GSM 7-bit, 2 8-bit, 4 UCS-2.
struct Sizes {
    std::uint16_t number, name, email, text2, text3, url, note;
    std::uint8_t nameMask, emailMask, textMask, urlMask;
    std::uint32_t groups, contacts;
    std::uint16_t numberSlots;
    std::uint32_t messages, further;
};

_VELK_FIELD_SIZES makeSizes(std::uint8_t storage, const Sizes& s) {
    _VELK_FIELD_SIZES f{};
    f.cbSize = sizeof f;
    f.storage = storage;
    f.numberSize = s.number;
    f.numberMask = 2;
    std::strcpy(f.numberChars, "0123456789+*#pPwW");
    f.nameSize = s.name;
    f.nameMask = s.nameMask;
    f.emailSize = s.email;
    f.emailMask = s.email ? s.emailMask : 0;
    f.text2Size = s.text2;
    f.text2Mask = s.text2 ? s.textMask : 0;
    f.text3Size = s.text3;
    f.text3Mask = s.text3 ? s.textMask : 0;
    f.urlSize = s.url;
    f.urlMask = s.url ? s.urlMask : 0;
    f.noteSize = s.note;
    f.noteMask = s.note ? s.textMask : 0;
    f.passThrough = s.groups;
    f.contactCapacity = s.contacts;
    f.numberSlots = s.numberSlots;
    f.messageCapacity = s.messages;
    f.smsSize = 1120;
    f.smsMask = 1 | 4;
    f.furtherSize = s.further;
    f.furtherMask = s.further ? (1 | 4) : 0;
    return f;
}

}  // namespace

namespace timing {
bool instant() { return g_instant.load(); }
void setInstant(bool instant) { g_instant.store(instant); }
}  // namespace timing

Scenario::Scenario() {
    // SIM: 20-digit numbers, 14-character names, one number per contact.
    sizes[0] = makeSizes(0, {160, 98, 0, 0, 0, 0, 0, 1 | 4, 0, 0, 0, 0, 250, 1, 40, 0});
    // Card: 40-digit numbers, 30-character names, e-mail and notes, three numbers.
    sizes[1] = makeSizes(1, {320, 210, 480, 210, 210, 0, 420, 1 | 4, 2, 1 | 4, 2, 10, 500, 3, 100, 0});
    // Computer: everything, five numbers, large capacities.
    sizes[2] = makeSizes(2, {320, 420, 800, 420, 420, 800, 1120, 1 | 4, 2, 1 | 4, 2, 100, 10000, 5, 10000, 1120});
}

Scenario& scenario() {
    static Scenario s;
    return s;
}

Live& live() {
    static Live l;
    return l;
}

// --- Card ----------------------------------------------------------------

std::recursive_mutex& Card::lock() const {
    static std::recursive_mutex m;
    return m;
}

bool Card::started() const { return live().started; }
bool Card::present() const { return live().started && live().inserted && live().powered; }
std::uint8_t Card::mode() const { return live().mode; }
bool Card::online() const { return present() && live().mode == VELK_MODE_ONLINE; }
bool Card::simUsable() const { return present() && scenario().simPresent && !live().blockedForGood; }
bool Card::simReady() const { return simUsable() && pinState() == VELK_PIN_READY; }
bool Card::simStorageReady() const { return simReady() && live().storageReady; }
bool Card::registered() const { return present() && live().registered; }
bool Card::dialing() const { return live().dialing; }

VELK_RESULT Card::require(Need need) const {
    const Live& l = live();
    if (!l.started) return VELK_E_NOT_STARTED;
    if (need == Need::Started) return VELK_OK;
    if (!l.inserted || !l.powered) return VELK_E_NO_CARD;
    if (!scenario().answering) return VELK_E_FAILED;
    if (need == Need::Card) return VELK_OK;
    if (need == Need::Online) return l.mode == VELK_MODE_ONLINE ? VELK_OK : VELK_E_OFFLINE;
    if (need == Need::Network) {
        if (l.mode != VELK_MODE_ONLINE) return VELK_E_OFFLINE;
        return l.registered ? VELK_OK : VELK_E_FAILED;
    }
    if (!simUsable()) return VELK_E_SIM_UNUSABLE;
    if (Clock::now() < l.simBusyUntil) return VELK_E_SIM_BUSY;
    if (pinState() != VELK_PIN_READY) return VELK_E_SIM_NOT_READY;
    if (need == Need::Sim) return VELK_OK;
    return l.storageReady ? VELK_OK : VELK_E_SIM_NOT_READY;
}

VELK_RESULT Card::requireStorage(std::uint8_t storage) const {
    switch (storage) {
    case 0: return require(Need::SimStorage);
    case 1: return require(Need::Card);
    case 2:
        if (VELK_RESULT r = require(Need::Started)) return r;
        return pcdb::isOpen() ? VELK_OK : VELK_E_DATABASE;
    default: return VELK_E_BAD_ARGUMENT;
    }
}

_VELK_FIELD_SIZES Card::fieldSizes(std::uint8_t storage) const {
    if (storage > 2) return _VELK_FIELD_SIZES{};
    _VELK_FIELD_SIZES f = scenario().sizes[storage];
    f.cbSize = sizeof f;
    f.storage = storage;
    return f;
}

_VELK_SMS_CONFIG Card::smsConfig() const { return live().smsConfig; }

Card& card() {
    static Card c;
    return c;
}

VELK_RESULT injectedFailure(const char* call) {
    std::lock_guard<std::recursive_mutex> g(card().lock());
    auto& f = scenario().failures;
    auto it = f.find(call);
    if (it == f.end() || it->second.empty()) return VELK_OK;
    const VELK_RESULT code = it->second.front();
    it->second.pop_front();
    if (it->second.empty()) f.erase(it);
    return code;
}

CardListener::CardListener(std::function<void(CardEvent)> listener) { listeners().push_back(std::move(listener)); }

void announce(CardEvent e) {
    for (auto& l : listeners()) l(e);
}

// --- Helpers ---------------------------------------------------------------

void copyText(char* dest, std::size_t size, const std::string& text) {
    if (!dest || size == 0) return;
    const std::size_t n = std::min(size - 1, text.size());
    std::memcpy(dest, text.data(), n);
    dest[n] = '\0';
}

std::uint8_t pinState() {
    const Live& l = live();
    if (l.pinLeft <= 0) return VELK_PUK_REQUIRED;
    if (l.pinEnabled && !l.pinVerified) return VELK_PIN_REQUIRED;
    return VELK_PIN_READY;
}

std::string networkTypeText() {
    const Live& l = live();
    return l.registered ? scenario().networkType : std::string("NO SERVICE");
}

// --- Persistence -------------------------------------------------------------

void saveSim() {
    const Live& l = live();
    QJsonObject o;
    o.insert(QStringLiteral("pin"), QString::fromStdString(l.pin));
    o.insert(QStringLiteral("puk"), QString::fromStdString(l.puk));
    o.insert(QStringLiteral("pinEnabled"), l.pinEnabled);
    o.insert(QStringLiteral("pinLeft"), l.pinLeft);
    o.insert(QStringLiteral("pukLeft"), l.pukLeft);
    o.insert(QStringLiteral("blocked"), l.blockedForGood);
    memory().setSection(QStringLiteral("sim"), o);
}

void saveCard() {
    const Live& l = live();
    QJsonObject o;
    o.insert(QStringLiteral("lockStatus"), l.lockStatus);
    o.insert(QStringLiteral("unlockCode"), QString::fromStdString(l.unlockCode));
    o.insert(QStringLiteral("unlockLeft"), l.unlockLeft);
    memory().setSection(QStringLiteral("card"), o);
}

namespace {
bool digits(const QString& s, int min, int max) {
    if (s.size() < min || s.size() > max) return false;
    for (QChar c : s)
        if (!c.isDigit()) return false;
    return true;
}
}  // namespace

void loadMemory() {
    Live& l = live();
    memory().load(QDir(paths::ProgramFolder()).filePath(QStringLiteral("simcard.dat")));
    // Each value is taken only when it makes sense; a bad one keeps its default.
    const QJsonObject s = memory().section(QStringLiteral("sim")).toObject();
    const QString pin = s.value(QStringLiteral("pin")).toString();
    const QString puk = s.value(QStringLiteral("puk")).toString();
    if (digits(pin, 4, 8)) l.pin = pin.toStdString();
    if (digits(puk, 8, 8)) l.puk = puk.toStdString();
    l.pinEnabled = s.value(QStringLiteral("pinEnabled")).toBool(false);
    l.pinLeft = std::clamp(s.value(QStringLiteral("pinLeft")).toInt(3), 0, 3);
    l.pukLeft = std::clamp(s.value(QStringLiteral("pukLeft")).toInt(10), 0, 10);
    l.blockedForGood = s.value(QStringLiteral("blocked")).toBool(false) || l.pukLeft == 0;
    const QJsonObject c = memory().section(QStringLiteral("card")).toObject();
    const int status = c.value(QStringLiteral("lockStatus")).toInt(VELK_LOCK_NONE);
    l.lockStatus = status >= VELK_LOCK_NONE && status <= VELK_LOCK_FOR_GOOD ? static_cast<std::uint8_t>(status)
                                                                            : VELK_LOCK_NONE;
    const QString code = c.value(QStringLiteral("unlockCode")).toString();
    if (digits(code, 16, 16)) l.unlockCode = code.toStdString();
    l.unlockLeft = std::clamp(c.value(QStringLiteral("unlockLeft")).toInt(5), 0, 5);
    if (memory().section(QStringLiteral("sim")).isUndefined()) saveSim();
    if (memory().section(QStringLiteral("card")).isUndefined()) saveCard();
}

// --- Driver keys ---------------------------------------------------------------

void writeDriverKeys() {
    using velk_sim::kDeviceInstance;
    using velk_sim::kDriverValue;
    using velk_sim::kModemFriendlyName;
    using velk_sim::kServiceEnumKey;
    const QString root = QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\");
    const QString service = QString::fromLatin1(kServiceEnumKey);
    const QString enumKey = root + QStringLiteral("Enum\\") + QString::fromLatin1(kDeviceInstance);
    const QString classKey = root + QStringLiteral("Control\\Class\\") + QString::fromLatin1(kDriverValue);
    // Each write rewrites the store's file: skip what an earlier start left in place.
    if (registry::GetDword(service, QStringLiteral("Count")) == 1u &&
        registry::GetString(enumKey, QStringLiteral("Driver")) == QString::fromLatin1(kDriverValue) &&
        registry::GetDword(classKey, QStringLiteral("QELDriverRingDetect")))
        return;
    registry::SetDword(service, QStringLiteral("Count"), 1);
    registry::SetString(service, QStringLiteral("0"), QString::fromLatin1(kDeviceInstance));
    registry::SetString(enumKey, QStringLiteral("Driver"), QString::fromLatin1(kDriverValue));
    registry::SetString(enumKey, QStringLiteral("FriendlyName"), QString::fromLatin1(kModemFriendlyName));
    registry::SetString(classKey, QStringLiteral("DriverDesc"), QString::fromLatin1(kModemFriendlyName));
    // The values the program writes are the driver's own: set once, then left alone.
    for (const QString& name : {QStringLiteral("QELDriverNetState"), QStringLiteral("QELDriverRingDetect")})
        if (!registry::GetDword(classKey, name)) registry::SetDword(classKey, name, 0);
}

void writeDeviceGone() {
    // The service lists only the devices that are attached.
    registry::SetDword(QString::fromLatin1(velk_sim::kServiceEnumKey), QStringLiteral("Count"), 0);
}

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
