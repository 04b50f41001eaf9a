// Call entries in the computer store: one table of 174-byte records keyed by
// an id that only grows, so deleted ids are never given out again and a
// reading position stays meaningful while entries are added or deleted.
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <mutex>

#include "velkdev/pcdb.h"
#include "velkdev/sim/card.h"
#include "velkdev/velkdev.h"

namespace {

pcdb::Schema callTable("pc_callentries",
                       "CREATE TABLE IF NOT EXISTS pc_callentries("
                       "id INTEGER PRIMARY KEY AUTOINCREMENT, kind INTEGER NOT NULL, record BLOB NOT NULL)");
pcdb::Schema callIndex("pc_callentries_kind",
                       "CREATE INDEX IF NOT EXISTS pc_callentries_kind ON pc_callentries(kind, id)");

// The reading position of GetFirst/GetNext: the list and the last id given.
struct Cursor {
    bool valid = false;
    std::uint8_t kind = 0;
    sqlite3_int64 lastId = 0;
};
Cursor g_cursor;

bool knownKind(std::uint8_t kind) { return kind >= VELK_CALLS_MISSED && kind <= VELK_CALLS_DATA_LOG; }

// Entries of each list, counted once and then kept up to date: counting at
// every save would make storing a long connection log quadratic. -1: not known.
std::int64_t g_counts[VELK_CALLS_DATA_LOG + 1] = {-1, -1, -1, -1, -1};
void forgetCounts() { std::fill(std::begin(g_counts), std::end(g_counts), -1); }

pcdb::RestoreListener forgetCursor([] {
    g_cursor = Cursor{};
    forgetCounts();
});
sim::CardListener forgetOnStart([](sim::CardEvent e) {
    if (e == sim::CardEvent::Started) forgetCounts();
});

// Checks what every call needs: a started library with the store open.
VELK_RESULT precheck(const char* call, std::uint8_t storage) {
    if (VELK_RESULT f = sim::injectedFailure(call)) return f;
    if (VELK_RESULT r = sim::card().requireStorage(storage)) return r;
    if (storage != 2) return VELK_E_BAD_ARGUMENT;   // call entries live on the computer only
    return VELK_OK;
}

// Reads the entry after `afterId` of `kind` into entry; moves the cursor.
VELK_RESULT readAfter(std::uint8_t kind, sqlite3_int64 afterId, _VELK_CALL_ENTRY* entry) {
    pcdb::Statement s("SELECT id, record FROM pc_callentries WHERE kind=?1 AND id>?2 ORDER BY id LIMIT 1");
    if (!s.ok()) return VELK_E_NOT_STARTED;
    sqlite3_bind_int(s.get(), 1, kind);
    sqlite3_bind_int64(s.get(), 2, afterId);
    const int rc = sqlite3_step(s.get());
    if (rc == SQLITE_DONE) {
        g_cursor.valid = false;
        return VELK_E_NO_ENTRY;
    }
    if (rc != SQLITE_ROW) return VELK_E_DATABASE;
    const sqlite3_int64 id = sqlite3_column_int64(s.get(), 0);
    // A damaged row still yields a well-formed (empty) record.
    pcdb::readRecord(s.get(), 1, entry, sizeof *entry);
    entry->number[sizeof entry->number - 1] = 0;
    entry->index = static_cast<std::uint32_t>(id);
    entry->listKind = kind;
    entry->storage = 2;
    g_cursor = Cursor{true, kind, id};
    return VELK_OK;
}

VELK_RESULT countOf(std::uint8_t kind, std::uint32_t* count) {
    std::int64_t& known = g_counts[kind];
    if (known < 0) {
        pcdb::Statement s("SELECT COUNT(*) FROM pc_callentries WHERE kind=?1");
        if (!s.ok()) return VELK_E_NOT_STARTED;
        sqlite3_bind_int(s.get(), 1, kind);
        if (sqlite3_step(s.get()) != SQLITE_ROW) return VELK_E_DATABASE;
        known = sqlite3_column_int64(s.get(), 0);
    }
    *count = static_cast<std::uint32_t>(known);
    return VELK_OK;
}

// The list an entry belongs to, 0 when there is no such entry.
std::uint8_t kindOf(std::uint32_t index) {
    pcdb::Statement s("SELECT kind FROM pc_callentries WHERE id=?1");
    if (!s.ok()) return 0;
    sqlite3_bind_int64(s.get(), 1, index);
    return sqlite3_step(s.get()) == SQLITE_ROW ? static_cast<std::uint8_t>(sqlite3_column_int(s.get(), 0)) : 0;
}

}  // namespace

VELK_API VELK_RESULT Velk_GetFirstCallEntry(std::uint8_t listKind, _VELK_CALL_ENTRY* entry) {
    std::lock_guard g(sim::card().lock());
    if (!entry) return VELK_E_BAD_ARGUMENT;
    if (VELK_RESULT r = precheck("Velk_GetFirstCallEntry", 2)) return r;
    if (!knownKind(listKind)) return VELK_E_BAD_ARGUMENT;
    return readAfter(listKind, 0, entry);
}

VELK_API VELK_RESULT Velk_GetNextCallEntry(_VELK_CALL_ENTRY* entry) {
    std::lock_guard g(sim::card().lock());
    if (!entry) return VELK_E_BAD_ARGUMENT;
    if (VELK_RESULT r = precheck("Velk_GetNextCallEntry", 2)) return r;
    if (!pcdb::isOpen()) return VELK_E_NOT_STARTED;
    if (!g_cursor.valid) return VELK_E_NO_ENTRY;
    return readAfter(g_cursor.kind, g_cursor.lastId, entry);
}

VELK_API VELK_RESULT Velk_SaveCallEntry(_VELK_CALL_ENTRY* entry) {
    std::lock_guard g(sim::card().lock());
    if (!entry) return VELK_E_BAD_ARGUMENT;
    if (VELK_RESULT r = precheck("Velk_SaveCallEntry", entry->storage)) return r;
    if (!knownKind(entry->listKind)) return VELK_E_BAD_ARGUMENT;
    pcdb::Change change;
    if (!change.ok()) return pcdb::db() ? VELK_E_DATABASE : VELK_E_NOT_STARTED;
    const std::uint8_t kind = entry->listKind;
    std::uint32_t count = 0;
    if (VELK_RESULT r = countOf(kind, &count)) return r;
    if (kind == VELK_CALLS_DATA_LOG && count >= VELK_DATA_LOG_CAPACITY) return VELK_E_FULL;

    _VELK_CALL_ENTRY copy = *entry;
    copy.number[sizeof copy.number - 1] = 0;
    copy.index = 0;
    bool ok = false;
    {
        pcdb::Statement s("INSERT INTO pc_callentries(kind, record) VALUES(?1, ?2)");
        ok = s.ok() && sqlite3_bind_int(s.get(), 1, kind) == SQLITE_OK &&
             pcdb::bindRecord(s.get(), 2, &copy, sizeof copy) && sqlite3_step(s.get()) == SQLITE_DONE;
    }
    const sqlite3_int64 id = sqlite3_last_insert_rowid(pcdb::db());
    std::uint32_t after = count + 1;
    // A call list keeps its newest entries only.
    if (ok && kind != VELK_CALLS_DATA_LOG && count + 1 > VELK_CALL_LIST_CAPACITY) {
        pcdb::Statement s(
            "DELETE FROM pc_callentries WHERE kind=?1 AND id IN "
            "(SELECT id FROM pc_callentries WHERE kind=?1 ORDER BY id LIMIT ?2)");
        ok = s.ok() && sqlite3_bind_int(s.get(), 1, kind) == SQLITE_OK &&
             sqlite3_bind_int64(s.get(), 2, count + 1 - VELK_CALL_LIST_CAPACITY) == SQLITE_OK &&
             sqlite3_step(s.get()) == SQLITE_DONE;
        after = VELK_CALL_LIST_CAPACITY;
    }
    if (!ok || change.keep() != VELK_OK) return VELK_E_DATABASE;
    g_counts[kind] = after;
    entry->index = static_cast<std::uint32_t>(id);
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_DeleteCallEntry(std::uint32_t index, std::uint8_t storage) {
    std::lock_guard g(sim::card().lock());
    if (VELK_RESULT r = precheck("Velk_DeleteCallEntry", storage)) return r;
    std::lock_guard d(pcdb::lock());
    const std::uint8_t kind = kindOf(index);
    int changed = 0;
    if (VELK_RESULT r = pcdb::changeOne(
            "DELETE FROM pc_callentries WHERE id=?1",
            [&](sqlite3_stmt* st) { return sqlite3_bind_int64(st, 1, index) == SQLITE_OK; }, &changed))
        return r;
    if (changed == 0) return VELK_E_NO_ENTRY;
    if (knownKind(kind) && g_counts[kind] > 0) --g_counts[kind];
    else forgetCounts();
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_ClearCallEntries(std::uint8_t listKind, std::uint8_t storage) {
    std::lock_guard g(sim::card().lock());
    if (VELK_RESULT r = precheck("Velk_ClearCallEntries", storage)) return r;
    if (!knownKind(listKind)) return VELK_E_BAD_ARGUMENT;
    if (VELK_RESULT r = pcdb::changeOne("DELETE FROM pc_callentries WHERE kind=?1",
                                        [&](sqlite3_stmt* st) { return sqlite3_bind_int(st, 1, listKind) == SQLITE_OK; }))
        return r;
    g_counts[listKind] = 0;
    if (g_cursor.kind == listKind) g_cursor.valid = false;
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_GetCallEntryCount(std::uint8_t listKind, std::uint8_t storage, std::uint32_t* count) {
    std::lock_guard g(sim::card().lock());
    if (!count) return VELK_E_BAD_ARGUMENT;
    if (VELK_RESULT r = precheck("Velk_GetCallEntryCount", storage)) return r;
    if (!knownKind(listKind)) return VELK_E_BAD_ARGUMENT;
    return countOf(listKind, count);
}
