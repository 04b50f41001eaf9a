// The simulated card's message family: the SIM and card stores, kept in the
// card's memory file, and the computer store in db.dat; the card's SMS
// settings; messages arriving from the network (control_sms.h).
#include <QJsonArray>
#include <QJsonObject>
#include <sqlite3.h>

#include <cstring>
#include <ctime>
#include <map>
#include <string>

#include "platform/codepage.h"
#include "velkdev/pcdb.h"
#include "velkdev/sim/card.h"
#include "velkdev/sim/card_model.h"
#include "velkdev/sim/control_sms.h"
#include "velkdev/sim/events.h"
#include "velkdev/sim/memory.h"

namespace sim {
namespace {

using Guard = std::lock_guard<std::recursive_mutex>;
using Record = _VELK_MESSAGE_RECORD;
using Store = std::map<std::uint16_t, Record>;  // by index: the enumeration order

constexpr int kArrivalDelayMs = 300;

pcdb::Schema pcMessages("pc_messages",
                        "CREATE TABLE IF NOT EXISTS pc_messages(id INTEGER PRIMARY KEY, record BLOB NOT NULL)");

// The SIM and card stores as read from the memory file at first use after
// power-up; every change is written back at once.
struct CardStores {
    bool loaded[2] = {false, false};
    Store stores[2];
    // The walk of each storage: a snapshot taken by get-first.
    std::vector<Record> walk[3];
    std::size_t walkPos[3] = {};
    int pcCount = -1;  // messages in the computer store; -1 until counted
};
CardStores& cs() {
    static CardStores c;
    return c;
}

CardListener forgetOnPower([](CardEvent e) {
    if (e == CardEvent::Started || e == CardEvent::Stopping) cs() = CardStores{};
});

// A restored computer store has other messages: a walk over the old ones ends.
pcdb::RestoreListener forgetPcWalk([] {
    cs().walk[2].clear();
    cs().walkPos[2] = 0;
    cs().pcCount = -1;
});

QString sectionOf(std::uint8_t storage) {
    return storage == 0 ? QStringLiteral("messages.sim") : QStringLiteral("messages.card");
}

Store& cardStore(std::uint8_t storage) {
    CardStores& c = cs();
    if (!c.loaded[storage]) {
        c.stores[storage].clear();
        for (const QJsonValue& v : memory().section(sectionOf(storage)).toArray()) {
            const QByteArray bytes = Memory::decode(v);
            if (bytes.size() != static_cast<qsizetype>(sizeof(Record))) continue;  // a damaged entry is skipped
            Record r;
            std::memcpy(&r, bytes.constData(), sizeof r);
            r.storage = storage;
            c.stores[storage][r.index] = r;
        }
        c.loaded[storage] = true;
    }
    return c.stores[storage];
}

bool persistCard(std::uint8_t storage) {
    QJsonArray a;
    for (const auto& [index, r] : cardStore(storage)) a.append(Memory::encode(&r, sizeof r));
    return memory().setSection(sectionOf(storage), a);
}

// --- the computer store -------------------------------------------------------

// A row as a record; a damaged row is skipped.
bool readRow(sqlite3_stmt* st, Record* r) {
    if (!pcdb::readRecord(st, 1, r, sizeof *r)) return false;
    r->index = static_cast<std::uint16_t>(sqlite3_column_int(st, 0));
    r->storage = 2;
    return true;
}

VELK_RESULT pcAll(std::vector<Record>* out) {
    pcdb::Statement q("SELECT id, record FROM pc_messages ORDER BY id");
    if (!q.ok()) return VELK_E_NOT_STARTED;
    Record r;
    while (sqlite3_step(q.get()) == SQLITE_ROW)
        if (readRow(q.get(), &r)) out->push_back(r);
    return VELK_OK;
}

VELK_RESULT pcGet(std::uint16_t index, Record* out) {
    pcdb::Statement q("SELECT id, record FROM pc_messages WHERE id = ?");
    if (!q.ok()) return VELK_E_NOT_STARTED;
    sqlite3_bind_int(q.get(), 1, index);
    return sqlite3_step(q.get()) == SQLITE_ROW && readRow(q.get(), out) ? VELK_OK : VELK_E_NO_ENTRY;
}

// Counted once (a count walks the whole table), then kept up to date.
int pcCount() {
    Guard g(pcdb::lock());
    if (cs().pcCount >= 0) return cs().pcCount;
    pcdb::Statement q("SELECT COUNT(*) FROM pc_messages");
    if (!q.ok() || sqlite3_step(q.get()) != SQLITE_ROW) return 0;
    cs().pcCount = sqlite3_column_int(q.get(), 0);
    return cs().pcCount;
}

void pcCounted(int change) {
    if (cs().pcCount >= 0) cs().pcCount += change;
}

// The next index: one past the highest, or the lowest free one when the
// 16-bit indexes are used up.
int pcFreeIndex() {
    int next = 0;
    {
        pcdb::Statement q("SELECT COALESCE(MAX(id), 0) FROM pc_messages");
        if (!q.ok() || sqlite3_step(q.get()) != SQLITE_ROW) return -1;
        next = sqlite3_column_int(q.get(), 0) + 1;
    }
    if (next <= 0xFFFF) return next;
    pcdb::Statement gap("SELECT a.id + 1 FROM pc_messages a WHERE a.id < 65535 AND NOT EXISTS "
                        "(SELECT 1 FROM pc_messages b WHERE b.id = a.id + 1) ORDER BY a.id LIMIT 1");
    if (!gap.ok()) return -1;
    if (sqlite3_step(gap.get()) == SQLITE_ROW) return sqlite3_column_int(gap.get(), 0);
    return -1;
}

VELK_RESULT pcInsert(Record* r) {
    Guard g(pcdb::lock());
    if (!pcdb::db()) return VELK_E_NOT_STARTED;
    const int index = pcFreeIndex();
    if (index < 1) return VELK_E_FULL;
    r->index = static_cast<std::uint16_t>(index);
    r->storage = 2;
    if (VELK_RESULT res = pcdb::changeOne("INSERT INTO pc_messages(id, record) VALUES(?, ?)", [&](sqlite3_stmt* st) {
            return sqlite3_bind_int(st, 1, index) == SQLITE_OK && pcdb::bindRecord(st, 2, r, sizeof *r);
        }))
        return res;
    pcCounted(+1);
    return VELK_OK;
}

VELK_RESULT pcUpdate(const Record& r) {
    return pcdb::changeOne("UPDATE pc_messages SET record = ? WHERE id = ?", [&](sqlite3_stmt* st) {
        return pcdb::bindRecord(st, 1, &r, sizeof r) && sqlite3_bind_int(st, 2, r.index) == SQLITE_OK;
    });
}

VELK_RESULT pcDelete(std::uint16_t index) {
    int changed = 0;
    if (VELK_RESULT r = pcdb::changeOne(
            "DELETE FROM pc_messages WHERE id = ?",
            [&](sqlite3_stmt* st) { return sqlite3_bind_int(st, 1, index) == SQLITE_OK; }, &changed))
        return r;
    if (changed == 0) return VELK_E_NO_ENTRY;
    pcCounted(-1);
    return VELK_OK;
}

// --- both kinds ---------------------------------------------------------------

int countOf(std::uint8_t storage) {
    return storage == 2 ? pcCount() : static_cast<int>(cardStore(storage).size());
}

bool hasRoom(std::uint8_t storage, int more) {
    return countOf(storage) + more <= static_cast<int>(card().fieldSizes(storage).messageCapacity);
}

// Stores a record under a fresh index (the lowest free slot of a card store).
VELK_RESULT insert(std::uint8_t storage, Record* r) {
    if (!hasRoom(storage, 1)) return VELK_E_FULL;
    r->storage = storage;
    r->cbSize = sizeof *r;
    if (storage == 2) return pcInsert(r);
    Store& s = cardStore(storage);
    std::uint16_t index = 1;
    while (s.count(index)) ++index;
    r->index = index;
    s[index] = *r;
    if (persistCard(storage)) return VELK_OK;
    s.erase(index);
    return VELK_E_FAILED;
}

// The card's own alphabet (the standard default alphabet), for septet
// bodies the program stores: the card gives texts back on reading.
const char16_t kAlphabet[] =
    u"@\u00A3$\u00A5\u00E8\u00E9\u00F9\u00EC\u00F2\u00C7\n\u00D8\u00F8\r\u00C5\u00E5"
    u"\u0394_\u03A6\u0393\u039B\u03A9\u03A0\u03A8\u03A3\u0398\u039E\u00A0\u00C6\u00E6\u00DF\u00C9"
    u" !\"#\u00A4%&'()*+,-./0123456789:;<=>?"
    u"\u00A1ABCDEFGHIJKLMNOPQRSTUVWXYZ\u00C4\u00D6\u00D1\u00DC\u00A7"
    u"\u00BFabcdefghijklmnopqrstuvwxyz\u00E4\u00F6\u00F1\u00FC\u00E0";
static_assert(sizeof kAlphabet / sizeof kAlphabet[0] == 129);

char16_t extension(std::uint8_t c) {
    static const char16_t from[] = u"\x0A\x14\x28\x29\x2F\x3C\x3D\x3E\x40\x65";
    static const char16_t to[] = u"\x0C^{}\\[~]|\u20AC";
    for (int i = 0; i < 10; ++i)
        if (from[i] == c) return to[i];
    return u' ';
}

QByteArray septetsToText(const std::uint8_t* s, std::size_t n) {
    std::u16string u;
    for (std::size_t i = 0; i < n; ++i) {
        if (s[i] == 0x1B && i + 1 < n) u.push_back(extension(s[++i] & 0x7F));
        else if (s[i] != 0x1B) u.push_back(kAlphabet[s[i] & 0x7F]);
    }
    return codepage::Ucs2ToAnsi(reinterpret_cast<const char*>(u.data()), u.size() * 2);
}

// A stored record as a reader gets it: the body as NUL-terminated text.
Record present(const Record& stored) {
    Record r = stored;
    const char* body = reinterpret_cast<const char*>(stored.body);
    const QByteArray text =
        stored.coding == VELK_CODING_GSM && stored.storage != 2
            ? septetsToText(stored.body, std::min<std::size_t>(stored.bodyLength, sizeof stored.body))
            : QByteArray(body, static_cast<qsizetype>(codepage::FieldLength(body, sizeof stored.body)));
    std::memset(r.body, 0, sizeof r.body);
    r.bodyLength = static_cast<std::uint8_t>(
        codepage::CopyText(reinterpret_cast<char*>(r.body), std::min<std::size_t>(sizeof r.body, 256), text.constData(),
                           static_cast<std::size_t>(text.size())));
    r.coding = 0;
    return r;
}

VELK_RESULT find(std::uint8_t storage, std::uint16_t index, Record* out) {
    if (storage == 2) return pcGet(index, out);
    const Store& s = cardStore(storage);
    auto it = s.find(index);
    if (it == s.end()) return VELK_E_NO_ENTRY;
    *out = it->second;
    return VELK_OK;
}

VELK_RESULT snapshot(std::uint8_t storage) {
    CardStores& c = cs();
    c.walk[storage].clear();
    c.walkPos[storage] = 0;
    if (storage == 2) return pcAll(&c.walk[2]);
    for (const auto& [index, r] : cardStore(storage)) c.walk[storage].push_back(r);
    return VELK_OK;
}

VELK_RESULT nextInWalk(std::uint8_t storage, Record* out) {
    CardStores& c = cs();
    if (c.walkPos[storage] >= c.walk[storage].size()) return VELK_E_NO_ENTRY;
    *out = present(c.walk[storage][c.walkPos[storage]++]);
    return VELK_OK;
}

VELK_RESULT ready(const char* call, std::uint8_t storage) {
    if (VELK_RESULT f = injectedFailure(call)) return f;
    return card().requireStorage(storage);
}

// --- messages from the network ------------------------------------------------

Record fromIncoming(const velk_sim::IncomingSms& m) {
    Record r{};
    r.cbSize = sizeof r;
    r.replaceType = m.replaceType;
    r.concatenated = m.total > 0 ? 1 : 0;
    r.reference = m.reference;
    r.total = m.total;
    r.partNumber = m.part;
    r.status = m.status;
    const bool received = m.status == 1 || m.status == 2;
    copyText(received ? r.sender : r.recipient, sizeof r.sender, m.sender);
    copyText(r.serviceCentre, sizeof r.serviceCentre, m.serviceCentre);
    std::uint16_t* t = received ? r.receivedTime : r.sentTime;
    if (m.time[0] != 0) {
        std::copy(m.time.begin(), m.time.end(), t);
    } else {
        const std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        const std::uint16_t w[6] = {static_cast<std::uint16_t>(tm.tm_year + 1900), static_cast<std::uint16_t>(tm.tm_mon + 1),
                                    static_cast<std::uint16_t>(tm.tm_mday), static_cast<std::uint16_t>(tm.tm_hour),
                                    static_cast<std::uint16_t>(tm.tm_min), static_cast<std::uint16_t>(tm.tm_sec)};
        std::copy(w, w + 6, t);
    }
    r.bodyLength = static_cast<std::uint8_t>(
        codepage::CopyText(reinterpret_cast<char*>(r.body), 256, m.text.c_str(), m.text.size()));
    r.coding = VELK_CODING_UCS2;  // kept as text
    return r;
}

void reportArrival(std::uint8_t storage, std::uint16_t index) {
    events().post(kArrivalDelayMs, [storage, index] {
        if (auto cb = callbacks().smsArriveNew.load()) cb(storage, index);
    });
}

// The card's SMS settings, kept in its memory.
const QString kSettings = QStringLiteral("messages.settings");

}  // namespace
}  // namespace sim

using namespace sim;

VELK_API VELK_RESULT Velk_LoadMessages(std::uint8_t storage) {
    Guard g(card().lock());
    return ready("Velk_LoadMessages", storage);
}

VELK_API VELK_RESULT Velk_GetFirstMessage(std::uint32_t, _VELK_MESSAGE_RECORD* record) {
    if (!record) return VELK_E_BAD_ARGUMENT;
    Guard g(card().lock());
    const std::uint8_t storage = record->storage;
    if (VELK_RESULT r = ready("Velk_GetFirstMessage", storage)) return r;
    if (VELK_RESULT r = snapshot(storage)) return r;
    return nextInWalk(storage, record);
}

VELK_API VELK_RESULT Velk_GetNextMessage(_VELK_MESSAGE_RECORD* record) {
    if (!record) return VELK_E_BAD_ARGUMENT;
    Guard g(card().lock());
    const std::uint8_t storage = record->storage;
    if (VELK_RESULT r = ready("Velk_GetNextMessage", storage)) return r;
    return nextInWalk(storage, record);
}

VELK_API VELK_RESULT Velk_GetMessage(std::uint32_t index, _VELK_MESSAGE_RECORD* record) {
    if (!record) return VELK_E_BAD_ARGUMENT;
    Guard g(card().lock());
    const std::uint8_t storage = record->storage;
    if (VELK_RESULT r = ready("Velk_GetMessage", storage)) return r;
    if (index > 0xFFFF) return VELK_E_NO_ENTRY;
    Record stored;
    if (VELK_RESULT r = find(storage, static_cast<std::uint16_t>(index), &stored)) return r;
    *record = present(stored);
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_SaveMessage(_VELK_MESSAGE_RECORD* record) {
    if (!record || record->cbSize != sizeof(Record)) return VELK_E_BAD_ARGUMENT;
    Guard g(card().lock());
    const std::uint8_t storage = record->storage;
    if (VELK_RESULT r = ready("Velk_SaveMessage", storage)) return r;
    Record r = *record;
    if (VELK_RESULT res = insert(storage, &r)) return res;
    record->index = r.index;
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_DeleteMessage(std::uint16_t index, std::uint8_t storage) {
    Guard g(card().lock());
    if (VELK_RESULT r = ready("Velk_DeleteMessage", storage)) return r;
    if (storage == 2) return pcDelete(index);
    Store& s = cardStore(storage);
    auto it = s.find(index);
    if (it == s.end()) return VELK_E_NO_ENTRY;
    const Record kept = it->second;
    s.erase(it);
    if (persistCard(storage)) return VELK_OK;
    s[index] = kept;
    return VELK_E_FAILED;
}

VELK_API VELK_RESULT Velk_SetMessageStatus(std::uint16_t index, std::uint8_t read, std::uint8_t storage) {
    Guard g(card().lock());
    if (VELK_RESULT r = ready("Velk_SetMessageStatus", storage)) return r;
    Record r;
    if (VELK_RESULT res = find(storage, index, &r)) return res;
    if (r.status != 1 && r.status != 2) return VELK_E_NOT_ALLOWED;  // only received messages are read or unread
    const std::uint8_t before = r.status;
    r.status = read ? 1 : 2;
    if (storage == 2) return pcUpdate(r);
    cardStore(storage)[index] = r;
    if (persistCard(storage)) return VELK_OK;
    r.status = before;
    cardStore(storage)[index] = r;
    return VELK_E_FAILED;
}

VELK_API VELK_RESULT Velk_InitSmsSet() {
    Guard g(card().lock());
    if (VELK_RESULT f = injectedFailure("Velk_InitSmsSet")) return f;
    return card().require(Need::Sim);
}

VELK_API VELK_RESULT Velk_GetSmsCenter(char* number34) {
    if (!number34) return VELK_E_BAD_ARGUMENT;
    Guard g(card().lock());
    if (VELK_RESULT f = injectedFailure("Velk_GetSmsCenter")) return f;
    if (VELK_RESULT r = card().require(Need::Sim)) return r;
    const QJsonObject o = memory().section(kSettings).toObject();
    copyText(number34, 34, o.value(QStringLiteral("centre")).toString(QStringLiteral("+8613800100500")).toStdString());
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_SetSmsCenter(const char* number) {
    if (!number) return VELK_E_BAD_ARGUMENT;
    Guard g(card().lock());
    if (VELK_RESULT f = injectedFailure("Velk_SetSmsCenter")) return f;
    if (VELK_RESULT r = card().require(Need::Sim)) return r;
    const std::size_t n = std::strlen(number);
    if (n == 0 || n > 32 || std::strspn(number, "+0123456789") != n) return VELK_E_BAD_ARGUMENT;
    QJsonObject o = memory().section(kSettings).toObject();
    o.insert(QStringLiteral("centre"), QString::fromLatin1(number));
    return memory().setSection(kSettings, o) ? VELK_OK : VELK_E_FAILED;
}

VELK_API VELK_RESULT Velk_GetSmsSaveLocation(std::uint32_t* location) {
    if (!location) return VELK_E_BAD_ARGUMENT;
    Guard g(card().lock());
    if (VELK_RESULT f = injectedFailure("Velk_GetSmsSaveLocation")) return f;
    if (VELK_RESULT r = card().require(Need::Sim)) return r;
    *location = static_cast<std::uint32_t>(memory().section(kSettings).toObject().value(QStringLiteral("location")).toInt(0));
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_SetSmsSaveLocation(std::uint32_t location) {
    Guard g(card().lock());
    if (VELK_RESULT f = injectedFailure("Velk_SetSmsSaveLocation")) return f;
    if (VELK_RESULT r = card().require(Need::Sim)) return r;
    if (location != 1 && location != 2) return VELK_E_BAD_ARGUMENT;
    QJsonObject o = memory().section(kSettings).toObject();
    o.insert(QStringLiteral("location"), static_cast<int>(location));
    return memory().setSection(kSettings, o) ? VELK_OK : VELK_E_FAILED;
}

// --- control ------------------------------------------------------------------

namespace velk_sim {

VELK_SIM_API int DeliverSms(std::uint8_t storage, const IncomingSms& sms) {
    Record r = fromIncoming(sms);
    {
        Guard g(card().lock());
        if (card().requireStorage(storage) != VELK_OK || insert(storage, &r) != VELK_OK) return -1;
    }
    reportArrival(storage, r.index);
    return r.index;
}

VELK_SIM_API std::vector<int> DeliverConcatenated(std::uint8_t storage, const std::string& sender,
                                                  std::uint16_t reference, const std::vector<std::string>& texts,
                                                  const std::vector<int>& order) {
    std::vector<int> indexes;
    for (int part : order) {
        if (part < 1 || part > static_cast<int>(texts.size())) {
            indexes.push_back(-1);
            continue;
        }
        IncomingSms m;
        m.sender = sender;
        m.text = texts[static_cast<std::size_t>(part - 1)];
        m.reference = reference;
        m.total = static_cast<std::uint8_t>(texts.size());
        m.part = static_cast<std::uint8_t>(part);
        indexes.push_back(DeliverSms(storage, m));
    }
    return indexes;
}

VELK_SIM_API void DeliverClass0(const std::string& sender, const std::string& text) {
    events().post(kArrivalDelayMs, [sender, text] {
        if (auto cb = callbacks().smsArriveClass0.load()) cb(sender.c_str(), text.c_str());
    });
}

VELK_SIM_API int StoreSms(std::uint8_t storage, const std::vector<IncomingSms>& messages) {
    Guard g(card().lock());
    if (card().requireStorage(storage) != VELK_OK) return 0;
    int stored = 0;
    if (storage == 2) {
        pcdb::Change change;
        if (!change.ok()) return 0;
        const int capacity = static_cast<int>(card().fieldSizes(2).messageCapacity);
        int count = pcCount();
        for (const IncomingSms& m : messages) {
            if (count >= capacity) break;
            Record r = fromIncoming(m);
            if (pcInsert(&r) != VELK_OK) break;
            ++stored;
            ++count;
        }
        if (change.keep() != VELK_OK) {
            cs().pcCount = -1;
            return 0;
        }
        return stored;
    }
    Store& s = cardStore(storage);
    const Store before = s;
    const std::size_t capacity = card().fieldSizes(storage).messageCapacity;
    for (const IncomingSms& m : messages) {
        if (s.size() >= capacity) break;
        Record r = fromIncoming(m);
        std::uint16_t index = 1;
        while (s.count(index)) ++index;
        r.index = index;
        r.storage = storage;
        s[index] = r;
        ++stored;
    }
    if (persistCard(storage)) return stored;
    s = before;
    return 0;
}

VELK_SIM_API std::vector<_VELK_MESSAGE_RECORD> StoredMessages(std::uint8_t storage) {
    Guard g(card().lock());
    std::vector<Record> out;
    if (storage > 2) return out;
    if (storage == 2) {
        pcAll(&out);
        return out;
    }
    for (const auto& [index, r] : cardStore(storage)) out.push_back(r);
    return out;
}

VELK_SIM_API std::string SmsCenter() {
    Guard g(card().lock());
    return memory().section(kSettings).toObject().value(QStringLiteral("centre")).toString().toStdString();
}

}  // namespace velk_sim
