// The card model: its state, what it reports to the call families, and its
// default capacities.
#include <algorithm>
#include <atomic>
#include <cstring>

#include "velkdev/pcdb.h"
#include "velkdev/sim/card_model.h"
#include "velkdev/sim/events.h"
#include "velkdev/sim/timing.h"

namespace sim {
namespace {

std::atomic<bool> g_instant{false};

std::vector<std::function<void(CardEvent)>>& listeners() {
    static std::vector<std::function<void(CardEvent)>> l;
    return l;
}

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

}  // namespace sim
