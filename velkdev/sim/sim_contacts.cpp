// Contacts and groups of the simulated card.
//
// The SIM (0) and the card memory (1) keep their contacts in the card's own
// memory file, sections "contacts.sim" and "contacts.card", at location
// indexes 1..capacity as a real card does; the card memory keeps its groups
// in "groups.card". A card store keeps what a card keeps of a contact: its
// texts, numbers and group, not the bytes the program does not interpret.
// The computer store (2) keeps whole records and its groups in db.dat, keyed
// by ids that only grow.
#include <sqlite3.h>

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "velkdev/pcdb.h"
#include "velkdev/sim/card.h"
#include "velkdev/sim/memory.h"
#include "velkdev/velkdev.h"

namespace {

pcdb::Schema contactTable("pc_contacts",
                          "CREATE TABLE IF NOT EXISTS pc_contacts("
                          "id INTEGER PRIMARY KEY AUTOINCREMENT, record BLOB NOT NULL)");
pcdb::Schema groupTable("pc_groups", "CREATE TABLE IF NOT EXISTS pc_groups(id INTEGER PRIMARY KEY, record BLOB NOT NULL)");

// Reading positions of the walks, one per storage: the last index given.
struct Walk {
    bool valid = false;
    std::int64_t last = 0;
};
Walk g_contactWalk[3];
Walk g_groupWalk[3];

// The card stores, read from the memory file on first use after power-up.
struct CardStore {
    bool loaded = false;
    std::map<std::uint32_t, _VELK_CONTACT_RECORD> contacts;
};
CardStore g_cards[2];
bool g_cardGroupsLoaded = false;
std::map<std::int32_t, _VELK_GROUP_RECORD> g_cardGroups;

// How many contacts the computer store holds, counted once and then kept up
// to date (counting rows at every insert would make adding N contacts
// quadratic); -1 when not known.
std::int64_t g_pcContacts = -1;

void forgetCardStores() {
    for (CardStore& s : g_cards) s = CardStore{};
    g_cardGroupsLoaded = false;
    g_cardGroups.clear();
    for (int i = 0; i < 2; ++i) g_contactWalk[i] = g_groupWalk[i] = Walk{};
}
sim::CardListener forgetOnPower([](sim::CardEvent e) {
    if (e == sim::CardEvent::Started || e == sim::CardEvent::Stopping) forgetCardStores();
    if (e == sim::CardEvent::Started) {
        g_contactWalk[2] = g_groupWalk[2] = Walk{};
        g_pcContacts = -1;
    }
});
pcdb::RestoreListener forgetPcWalks([] {
    g_contactWalk[2] = g_groupWalk[2] = Walk{};
    g_pcContacts = -1;
});

const QString kSections[2] = {QStringLiteral("contacts.sim"), QStringLiteral("contacts.card")};
const QString kCardGroups = QStringLiteral("groups.card");

template <std::size_t N>
void terminate(char (&field)[N]) { field[N - 1] = 0; }

// Nothing stored is ever read past a field.
void terminateFields(_VELK_CONTACT_RECORD& r) {
    terminate(r.name);
    terminate(r.text2);
    terminate(r.text3);
    terminate(r.email);
    terminate(r.note);
    terminate(r.url);
    for (auto& slot : r.numbers) terminate(slot.number);
}

// The texts of a contact in the memory file, by name.
struct TextField {
    const char* key;
    std::size_t offset;
    std::size_t width;
};
const TextField kTexts[] = {
    {"name", offsetof(_VELK_CONTACT_RECORD, name), 128},   {"text2", offsetof(_VELK_CONTACT_RECORD, text2), 128},
    {"text3", offsetof(_VELK_CONTACT_RECORD, text3), 128}, {"email", offsetof(_VELK_CONTACT_RECORD, email), 130},
    {"note", offsetof(_VELK_CONTACT_RECORD, note), 128},   {"url", offsetof(_VELK_CONTACT_RECORD, url), 128},
};

QJsonObject toJson(const _VELK_CONTACT_RECORD& r) {
    QJsonObject o;
    o["index"] = static_cast<qint64>(r.index);
    o["group"] = static_cast<qint64>(r.groupId);
    const char* base = reinterpret_cast<const char*>(&r);
    for (const TextField& t : kTexts) o[t.key] = sim::Memory::encode(base + t.offset, strnlen(base + t.offset, t.width));
    QJsonArray numbers;
    for (const auto& slot : r.numbers) numbers.append(sim::Memory::encode(slot.number, strnlen(slot.number, sizeof slot.number)));
    o["numbers"] = numbers;
    return o;
}

bool fromJson(const QJsonValue& v, std::uint8_t storage, _VELK_CONTACT_RECORD* out) {
    if (!v.isObject()) return false;
    const QJsonObject o = v.toObject();
    const qint64 index = o["index"].toInteger(-1);
    if (index <= 0 || index > 0xFFFFFFFFLL) return false;
    _VELK_CONTACT_RECORD r{};
    r.index = static_cast<std::uint32_t>(index);
    r.groupId = static_cast<std::uint32_t>(o["group"].toInteger(0));
    char* base = reinterpret_cast<char*>(&r);
    for (const TextField& t : kTexts) {
        const QByteArray text = sim::Memory::decode(o[t.key]);
        std::memcpy(base + t.offset, text.constData(), std::min<std::size_t>(text.size(), t.width - 1));
    }
    const QJsonArray numbers = o["numbers"].toArray();
    for (int i = 0; i < VELK_NUMBER_SLOTS && i < numbers.size(); ++i) {
        const QByteArray n = sim::Memory::decode(numbers[i]);
        std::memcpy(r.numbers[i].number, n.constData(), std::min<std::size_t>(n.size(), sizeof r.numbers[i].number - 1));
    }
    r.storage = storage;
    *out = r;
    return true;
}

CardStore& cardStore(std::uint8_t storage) {
    CardStore& s = g_cards[storage];
    if (s.loaded) return s;
    s.loaded = true;
    const std::uint32_t capacity = sim::card().fieldSizes(storage).contactCapacity;
    for (const QJsonValue& v : sim::memory().section(kSections[storage]).toArray()) {
        _VELK_CONTACT_RECORD r;
        if (fromJson(v, storage, &r) && r.index <= capacity) s.contacts[r.index] = r;  // a damaged entry is dropped
    }
    return s;
}

// Writes a card store back; on failure the store is read again from the
// memory file, so it matches what is kept.
VELK_RESULT saveCardStore(std::uint8_t storage) {
    QJsonArray all;
    for (const auto& [index, r] : g_cards[storage].contacts) all.append(toJson(r));
    if (sim::memory().setSection(kSections[storage], all)) return VELK_OK;
    g_cards[storage] = CardStore{};
    return VELK_E_FAILED;
}

std::map<std::int32_t, _VELK_GROUP_RECORD>& cardGroups() {
    if (g_cardGroupsLoaded) return g_cardGroups;
    g_cardGroupsLoaded = true;
    for (const QJsonValue& v : sim::memory().section(kCardGroups).toArray()) {
        const QByteArray bytes = sim::Memory::decode(v);
        if (bytes.size() != sizeof(_VELK_GROUP_RECORD)) continue;
        _VELK_GROUP_RECORD g;
        std::memcpy(&g, bytes.constData(), sizeof g);
        g.name[sizeof g.name - 1] = 0;
        g.storage = 1;
        const std::int32_t id = g.id;  // packed fields are read by value
        g_cardGroups[id] = g;
    }
    return g_cardGroups;
}

VELK_RESULT saveCardGroups() {
    QJsonArray all;
    for (const auto& [id, g] : g_cardGroups) all.append(sim::Memory::encode(&g, sizeof g));
    if (sim::memory().setSection(kCardGroups, all)) return VELK_OK;
    g_cardGroupsLoaded = false;
    g_cardGroups.clear();
    return VELK_E_FAILED;
}

VELK_RESULT precheck(const char* call, std::uint8_t storage) {
    if (VELK_RESULT f = sim::injectedFailure(call)) return f;
    return sim::card().requireStorage(storage);
}

VELK_RESULT pcContactCount(std::uint32_t* count) {
    if (g_pcContacts < 0) {
        pcdb::Statement s("SELECT COUNT(*) FROM pc_contacts");
        if (!s.ok()) return VELK_E_NOT_STARTED;
        if (sqlite3_step(s.get()) != SQLITE_ROW) return VELK_E_DATABASE;
        g_pcContacts = sqlite3_column_int64(s.get(), 0);
    }
    *count = static_cast<std::uint32_t>(g_pcContacts);
    return VELK_OK;
}

// The PC row after `after` of a walk query ("SELECT id, record ... WHERE id>?1
// ORDER BY id LIMIT 1"): its record into out and its id; the walk ends when
// no row follows. A damaged row reads as an empty record.
template <class Record>
VELK_RESULT pcRowAfter(const char* sql, std::int64_t after, Record* out, Walk& walk, sqlite3_int64* id) {
    pcdb::Statement st(sql);
    if (!st.ok()) return VELK_E_NOT_STARTED;
    sqlite3_bind_int64(st.get(), 1, after);
    const int rc = sqlite3_step(st.get());
    if (rc == SQLITE_DONE) {
        walk = Walk{};
        return VELK_E_NO_ENTRY;
    }
    if (rc != SQLITE_ROW) return VELK_E_DATABASE;
    *id = sqlite3_column_int64(st.get(), 0);
    pcdb::readRecord(st.get(), 1, out, sizeof *out);
    return VELK_OK;
}

// The contact after `after` in storage s; moves the walk.
VELK_RESULT contactAfter(std::uint8_t s, std::int64_t after, _VELK_CONTACT_RECORD* out) {
    Walk& walk = g_contactWalk[s];
    if (s < 2) {
        CardStore& store = cardStore(s);
        auto it = store.contacts.upper_bound(static_cast<std::uint32_t>(std::max<std::int64_t>(after, 0)));
        if (it == store.contacts.end()) {
            walk = Walk{};
            return VELK_E_NO_ENTRY;
        }
        *out = it->second;
        walk = Walk{true, it->first};
        return VELK_OK;
    }
    sqlite3_int64 id = 0;
    if (VELK_RESULT r = pcRowAfter("SELECT id, record FROM pc_contacts WHERE id>?1 ORDER BY id LIMIT 1", after, out, walk, &id))
        return r;
    terminateFields(*out);
    out->index = static_cast<std::uint32_t>(id);
    out->storage = 2;
    walk = Walk{true, id};
    return VELK_OK;
}

VELK_RESULT groupAfter(std::uint8_t s, std::int64_t after, _VELK_GROUP_RECORD* out) {
    Walk& walk = g_groupWalk[s];
    if (s == 1) {
        auto& groups = cardGroups();
        auto it = groups.upper_bound(static_cast<std::int32_t>(std::clamp<std::int64_t>(after, INT32_MIN, INT32_MAX)));
        if (!walk.valid && after == INT64_MIN) it = groups.begin();
        if (it == groups.end()) {
            walk = Walk{};
            return VELK_E_NO_ENTRY;
        }
        *out = it->second;
        walk = Walk{true, it->first};
        return VELK_OK;
    }
    sqlite3_int64 id = 0;
    if (VELK_RESULT r = pcRowAfter("SELECT id, record FROM pc_groups WHERE id>?1 ORDER BY id LIMIT 1", after, out, walk, &id))
        return r;
    out->name[sizeof out->name - 1] = 0;
    out->id = static_cast<std::int32_t>(id);
    out->storage = 2;
    walk = Walk{true, id};
    return VELK_OK;
}

}  // namespace

VELK_API VELK_RESULT Velk_GetContactCount(std::uint8_t storage, std::uint32_t* count) {
    std::lock_guard g(sim::card().lock());
    if (!count) return VELK_E_BAD_ARGUMENT;
    *count = 0;
    if (VELK_RESULT r = precheck("Velk_GetContactCount", storage)) return r;
    if (storage < 2) {
        *count = static_cast<std::uint32_t>(cardStore(storage).contacts.size());
        return VELK_OK;
    }
    return pcContactCount(count);
}

VELK_API VELK_RESULT Velk_LoadContacts(std::uint8_t storage) {
    std::lock_guard g(sim::card().lock());
    if (VELK_RESULT r = precheck("Velk_LoadContacts", storage)) return r;
    if (storage < 2) {
        g_cards[storage] = CardStore{};
        cardStore(storage);
    }
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_GetFirstContact(_VELK_CONTACT_RECORD* record) {
    std::lock_guard g(sim::card().lock());
    if (!record) return VELK_E_BAD_ARGUMENT;
    const std::uint8_t s = record->storage;
    if (VELK_RESULT r = precheck("Velk_GetFirstContact", s)) return r;
    return contactAfter(s, 0, record);
}

VELK_API VELK_RESULT Velk_GetNextContact(_VELK_CONTACT_RECORD* record) {
    std::lock_guard g(sim::card().lock());
    if (!record) return VELK_E_BAD_ARGUMENT;
    const std::uint8_t s = record->storage;
    if (VELK_RESULT r = precheck("Velk_GetNextContact", s)) return r;
    if (!g_contactWalk[s].valid) return VELK_E_NO_ENTRY;
    return contactAfter(s, g_contactWalk[s].last, record);
}

VELK_API VELK_RESULT Velk_NewContact(_VELK_CONTACT_RECORD* record) {
    std::lock_guard g(sim::card().lock());
    if (!record) return VELK_E_BAD_ARGUMENT;
    const std::uint8_t s = record->storage;
    if (VELK_RESULT r = precheck("Velk_NewContact", s)) return r;
    const std::uint32_t capacity = sim::card().fieldSizes(s).contactCapacity;
    _VELK_CONTACT_RECORD copy = *record;
    terminateFields(copy);
    if (s < 2) {
        CardStore& store = cardStore(s);
        if (store.contacts.size() >= capacity) return VELK_E_FULL;
        std::uint32_t index = 1;  // the lowest free location
        for (const auto& [used, r] : store.contacts) {
            if (used != index) break;
            ++index;
        }
        copy.index = index;
        store.contacts[index] = copy;
        if (VELK_RESULT r = saveCardStore(s)) return r;
        record->index = index;
        return VELK_OK;
    }
    std::lock_guard d(pcdb::lock());
    std::uint32_t count = 0;
    if (VELK_RESULT r = pcContactCount(&count)) return r;
    if (count >= capacity) return VELK_E_FULL;
    copy.index = 0;
    if (VELK_RESULT r = pcdb::changeOne("INSERT INTO pc_contacts(record) VALUES(?1)",
                                 [&](sqlite3_stmt* st) { return pcdb::bindRecord(st, 1, &copy, sizeof copy); }))
        return r;
    record->index = static_cast<std::uint32_t>(sqlite3_last_insert_rowid(pcdb::db()));
    ++g_pcContacts;
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_SetContact(std::uint32_t index, const _VELK_CONTACT_RECORD* record) {
    std::lock_guard g(sim::card().lock());
    if (!record) return VELK_E_BAD_ARGUMENT;
    const std::uint8_t s = record->storage;
    if (VELK_RESULT r = precheck("Velk_SetContact", s)) return r;
    _VELK_CONTACT_RECORD copy = *record;
    terminateFields(copy);
    copy.index = index;
    if (s < 2) {
        CardStore& store = cardStore(s);
        auto it = store.contacts.find(index);
        if (it == store.contacts.end()) return VELK_E_NO_ENTRY;
        it->second = copy;
        return saveCardStore(s);
    }
    int changed = 0;
    if (VELK_RESULT r = pcdb::changeOne(
            "UPDATE pc_contacts SET record=?1 WHERE id=?2",
            [&](sqlite3_stmt* st) {
                return pcdb::bindRecord(st, 1, &copy, sizeof copy) && sqlite3_bind_int64(st, 2, index) == SQLITE_OK;
            },
            &changed))
        return r;
    return changed ? VELK_OK : VELK_E_NO_ENTRY;
}

VELK_API VELK_RESULT Velk_DeleteContact(std::uint32_t index, std::uint8_t storage) {
    std::lock_guard g(sim::card().lock());
    if (VELK_RESULT r = precheck("Velk_DeleteContact", storage)) return r;
    if (storage < 2) {
        CardStore& store = cardStore(storage);
        auto it = store.contacts.find(index);
        if (it == store.contacts.end()) return VELK_E_NO_ENTRY;
        store.contacts.erase(it);
        return saveCardStore(storage);
    }
    int changed = 0;
    if (VELK_RESULT r = pcdb::changeOne(
            "DELETE FROM pc_contacts WHERE id=?1",
            [&](sqlite3_stmt* st) { return sqlite3_bind_int64(st, 1, index) == SQLITE_OK; }, &changed))
        return r;
    if (changed && g_pcContacts > 0) --g_pcContacts;
    return changed ? VELK_OK : VELK_E_NO_ENTRY;
}

VELK_API VELK_RESULT Velk_LoadGroup(std::uint8_t storage) {
    std::lock_guard g(sim::card().lock());
    if (VELK_RESULT r = precheck("Velk_LoadGroup", storage)) return r;
    if (storage == 0) return VELK_E_NO_GROUPS;
    if (storage == 1) {
        g_cardGroupsLoaded = false;
        cardGroups();
    }
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_GetFirstGroup(_VELK_GROUP_RECORD* record) {
    std::lock_guard g(sim::card().lock());
    if (!record) return VELK_E_BAD_ARGUMENT;
    const std::uint8_t s = record->storage;
    if (VELK_RESULT r = precheck("Velk_GetFirstGroup", s)) return r;
    if (s == 0) return VELK_E_NO_ENTRY;
    g_groupWalk[s] = Walk{};
    return groupAfter(s, s == 1 ? INT64_MIN : 0, record);
}

VELK_API VELK_RESULT Velk_GetNextGroup(_VELK_GROUP_RECORD* record) {
    std::lock_guard g(sim::card().lock());
    if (!record) return VELK_E_BAD_ARGUMENT;
    const std::uint8_t s = record->storage;
    if (VELK_RESULT r = precheck("Velk_GetNextGroup", s)) return r;
    if (s == 0 || !g_groupWalk[s].valid) return VELK_E_NO_ENTRY;
    return groupAfter(s, g_groupWalk[s].last, record);
}

VELK_API VELK_RESULT Velk_SaveGroup(const _VELK_GROUP_RECORD* record) {
    std::lock_guard g(sim::card().lock());
    if (!record) return VELK_E_BAD_ARGUMENT;
    const std::uint8_t s = record->storage;
    if (VELK_RESULT r = precheck("Velk_SaveGroup", s)) return r;
    if (s == 0) return VELK_E_NO_GROUPS;
    _VELK_GROUP_RECORD copy = *record;
    copy.name[sizeof copy.name - 1] = 0;
    const std::int32_t id = copy.id;
    if (s == 1) {
        auto& groups = cardGroups();
        if (groups.count(id)) return VELK_E_NOT_ALLOWED;
        if (groups.size() >= sim::card().fieldSizes(1).passThrough) return VELK_E_FULL;
        groups[id] = copy;
        return saveCardGroups();
    }
    {
        pcdb::Statement st("SELECT 1 FROM pc_groups WHERE id=?1");
        if (!st.ok()) return VELK_E_NOT_STARTED;
        sqlite3_bind_int64(st.get(), 1, copy.id);
        if (sqlite3_step(st.get()) == SQLITE_ROW) return VELK_E_NOT_ALLOWED;  // ids are unique
    }
    return pcdb::changeOne("INSERT INTO pc_groups(id, record) VALUES(?1, ?2)", [&](sqlite3_stmt* st) {
        return sqlite3_bind_int64(st, 1, copy.id) == SQLITE_OK && pcdb::bindRecord(st, 2, &copy, sizeof copy);
    });
}

VELK_API VELK_RESULT Velk_SetGroup(const _VELK_GROUP_RECORD* record) {
    std::lock_guard g(sim::card().lock());
    if (!record) return VELK_E_BAD_ARGUMENT;
    const std::uint8_t s = record->storage;
    if (VELK_RESULT r = precheck("Velk_SetGroup", s)) return r;
    if (s == 0) return VELK_E_NO_GROUPS;
    _VELK_GROUP_RECORD copy = *record;
    copy.name[sizeof copy.name - 1] = 0;
    const std::int32_t id = copy.id;
    if (s == 1) {
        auto& groups = cardGroups();
        auto it = groups.find(id);
        if (it == groups.end()) return VELK_E_NO_ENTRY;
        it->second = copy;
        return saveCardGroups();
    }
    int changed = 0;
    if (VELK_RESULT r = pcdb::changeOne(
            "UPDATE pc_groups SET record=?1 WHERE id=?2",
            [&](sqlite3_stmt* st) {
                return pcdb::bindRecord(st, 1, &copy, sizeof copy) && sqlite3_bind_int64(st, 2, copy.id) == SQLITE_OK;
            },
            &changed))
        return r;
    return changed ? VELK_OK : VELK_E_NO_ENTRY;
}

VELK_API VELK_RESULT Velk_DeleteGroup(std::int32_t id, std::uint8_t storage) {
    std::lock_guard g(sim::card().lock());
    if (VELK_RESULT r = precheck("Velk_DeleteGroup", storage)) return r;
    if (storage == 0) return VELK_E_NO_GROUPS;
    if (storage == 1) {
        auto& groups = cardGroups();
        if (!groups.erase(id)) return VELK_E_NO_ENTRY;
        return saveCardGroups();
    }
    int changed = 0;
    if (VELK_RESULT r = pcdb::changeOne(
            "DELETE FROM pc_groups WHERE id=?1", [&](sqlite3_stmt* st) { return sqlite3_bind_int64(st, 1, id) == SQLITE_OK; },
            &changed))
        return r;
    return changed ? VELK_OK : VELK_E_NO_ENTRY;
}
