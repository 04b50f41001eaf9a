// Call entries in the computer store: one table of 174-byte records keyed by
// an id that only grows, so deleted ids are never given out again and a
// reading position stays meaningful while entries are added or deleted.
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
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
pcdb::RestoreListener forgetCursor([] { g_cursor = Cursor{}; });

bool knownKind(std::uint8_t kind) { return kind >= VELK_CALLS_MISSED && kind <= VELK_CALLS_DATA_LOG; }

// Prepared statement that finalizes itself.
struct Stmt {
    sqlite3_stmt* st = nullptr;
    bool owned = true;
    Stmt(sqlite3* db, const char* sql) {
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) st = nullptr;
    }
    // A cached statement: reset after use, kept.
    explicit Stmt(sqlite3_stmt* cached) : st(cached), owned(false) {}
    ~Stmt() {
        if (owned) sqlite3_finalize(st);
        else sqlite3_reset(st);
    }
    explicit operator bool() const { return st != nullptr; }
};

// Checks what every call needs: a started library with the store open.
VELK_RESULT precheck(const char* call, std::uint8_t storage) {
    if (VELK_RESULT f = sim::injectedFailure(call)) return f;
    if (VELK_RESULT r = sim::card().requireStorage(storage)) return r;
    if (storage != 2) return VELK_E_BAD_ARGUMENT;   // call entries live on the computer only
    return VELK_OK;
}

// The reading statement, prepared once per connection: a list is read one
// entry per call, thousands of times for a long connection log. (A closed
// connection stays alive until its statements are finalized, so the pointer
// cannot be reused while we hold one.)
struct ReadStatement {
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    sqlite3_stmt* get(sqlite3* forDb) {
        if (forDb != db) {
            sqlite3_finalize(st);
            st = nullptr;
            db = forDb;
            if (sqlite3_prepare_v2(db, "SELECT id, record FROM pc_callentries WHERE kind=?1 AND id>?2 ORDER BY id LIMIT 1",
                                   -1, &st, nullptr) != SQLITE_OK)
                st = nullptr;
        }
        if (st) {
            sqlite3_reset(st);
            sqlite3_clear_bindings(st);
        }
        return st;
    }
    void drop() {
        sqlite3_finalize(st);
        st = nullptr;
        db = nullptr;
    }
};
ReadStatement g_read;
pcdb::RestoreListener dropRead([] { g_read.drop(); });
// Released before the store closes at shutdown.
sim::CardListener dropReadOnStop([](sim::CardEvent e) {
    if (e != sim::CardEvent::Stopping) return;
    std::lock_guard d(pcdb::lock());
    g_read.drop();
});

// Reads the entry after `afterId` of `kind` into entry; moves the cursor.
VELK_RESULT readAfter(sqlite3* db, std::uint8_t kind, sqlite3_int64 afterId, _VELK_CALL_ENTRY* entry) {
    sqlite3_stmt* st = g_read.get(db);
    if (!st) return VELK_E_DATABASE;
    Stmt s{st};
    sqlite3_bind_int(s.st, 1, kind);
    sqlite3_bind_int64(s.st, 2, afterId);
    const int rc = sqlite3_step(s.st);
    if (rc == SQLITE_DONE) {
        g_cursor.valid = false;
        return VELK_E_NO_ENTRY;
    }
    if (rc != SQLITE_ROW) return VELK_E_DATABASE;
    const sqlite3_int64 id = sqlite3_column_int64(s.st, 0);
    const void* blob = sqlite3_column_blob(s.st, 1);
    const int bytes = sqlite3_column_bytes(s.st, 1);
    std::memset(entry, 0, sizeof *entry);
    // A damaged row (wrong size) still yields a well-formed record.
    if (blob && bytes > 0) std::memcpy(entry, blob, std::min<std::size_t>(sizeof *entry, static_cast<std::size_t>(bytes)));
    entry->number[sizeof entry->number - 1] = 0;
    entry->index = static_cast<std::uint32_t>(id);
    entry->listKind = kind;
    entry->storage = 2;
    g_cursor = Cursor{true, kind, id};
    return VELK_OK;
}

VELK_RESULT countOf(sqlite3* db, std::uint8_t kind, std::uint32_t* count) {
    Stmt s(db, "SELECT COUNT(*) FROM pc_callentries WHERE kind=?1");
    if (!s) return VELK_E_DATABASE;
    sqlite3_bind_int(s.st, 1, kind);
    if (sqlite3_step(s.st) != SQLITE_ROW) return VELK_E_DATABASE;
    *count = static_cast<std::uint32_t>(sqlite3_column_int64(s.st, 0));
    return VELK_OK;
}

}  // namespace

VELK_API VELK_RESULT Velk_GetFirstCallEntry(std::uint8_t listKind, _VELK_CALL_ENTRY* entry) {
    std::lock_guard g(sim::card().lock());
    if (!entry) return VELK_E_BAD_ARGUMENT;
    if (VELK_RESULT r = precheck("Velk_GetFirstCallEntry", 2)) return r;
    if (!knownKind(listKind)) return VELK_E_BAD_ARGUMENT;
    std::lock_guard d(pcdb::lock());
    sqlite3* db = pcdb::db();
    if (!db) return VELK_E_NOT_STARTED;
    return readAfter(db, listKind, 0, entry);
}

VELK_API VELK_RESULT Velk_GetNextCallEntry(_VELK_CALL_ENTRY* entry) {
    std::lock_guard g(sim::card().lock());
    if (!entry) return VELK_E_BAD_ARGUMENT;
    if (VELK_RESULT r = precheck("Velk_GetNextCallEntry", 2)) return r;
    std::lock_guard d(pcdb::lock());
    sqlite3* db = pcdb::db();
    if (!db) return VELK_E_NOT_STARTED;
    if (!g_cursor.valid) return VELK_E_NO_ENTRY;
    return readAfter(db, g_cursor.kind, g_cursor.lastId, entry);
}

VELK_API VELK_RESULT Velk_SaveCallEntry(_VELK_CALL_ENTRY* entry) {
    std::lock_guard g(sim::card().lock());
    if (!entry) return VELK_E_BAD_ARGUMENT;
    if (VELK_RESULT r = precheck("Velk_SaveCallEntry", entry->storage)) return r;
    if (!knownKind(entry->listKind)) return VELK_E_BAD_ARGUMENT;
    std::lock_guard d(pcdb::lock());
    sqlite3* db = pcdb::db();
    if (!db) return VELK_E_NOT_STARTED;
    const std::uint8_t kind = entry->listKind;
    std::uint32_t count = 0;
    if (VELK_RESULT r = countOf(db, kind, &count)) return r;
    if (kind == VELK_CALLS_DATA_LOG && count >= VELK_DATA_LOG_CAPACITY) return VELK_E_FULL;

    _VELK_CALL_ENTRY copy = *entry;
    copy.number[sizeof copy.number - 1] = 0;
    copy.index = 0;
    if (pcdb::exec("BEGIN") != VELK_OK) return VELK_E_DATABASE;
    bool ok = true;
    {
        Stmt s(db, "INSERT INTO pc_callentries(kind, record) VALUES(?1, ?2)");
        ok = s && sqlite3_bind_int(s.st, 1, kind) == SQLITE_OK &&
             sqlite3_bind_blob(s.st, 2, &copy, sizeof copy, SQLITE_TRANSIENT) == SQLITE_OK &&
             sqlite3_step(s.st) == SQLITE_DONE;
    }
    const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
    // A call list keeps its newest entries only.
    if (ok && kind != VELK_CALLS_DATA_LOG && count + 1 > VELK_CALL_LIST_CAPACITY) {
        Stmt s(db,
               "DELETE FROM pc_callentries WHERE kind=?1 AND id IN "
               "(SELECT id FROM pc_callentries WHERE kind=?1 ORDER BY id LIMIT ?2)");
        ok = s && sqlite3_bind_int(s.st, 1, kind) == SQLITE_OK &&
             sqlite3_bind_int64(s.st, 2, count + 1 - VELK_CALL_LIST_CAPACITY) == SQLITE_OK &&
             sqlite3_step(s.st) == SQLITE_DONE;
    }
    if (!ok || pcdb::exec("COMMIT") != VELK_OK) {
        pcdb::exec("ROLLBACK");
        return VELK_E_DATABASE;
    }
    entry->index = static_cast<std::uint32_t>(id);
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_DeleteCallEntry(std::uint32_t index, std::uint8_t storage) {
    std::lock_guard g(sim::card().lock());
    if (VELK_RESULT r = precheck("Velk_DeleteCallEntry", storage)) return r;
    std::lock_guard d(pcdb::lock());
    sqlite3* db = pcdb::db();
    if (!db) return VELK_E_NOT_STARTED;
    Stmt s(db, "DELETE FROM pc_callentries WHERE id=?1");
    if (!s) return VELK_E_DATABASE;
    sqlite3_bind_int64(s.st, 1, index);
    if (sqlite3_step(s.st) != SQLITE_DONE) return VELK_E_DATABASE;
    return sqlite3_changes(db) > 0 ? VELK_OK : VELK_E_NO_ENTRY;
}

VELK_API VELK_RESULT Velk_ClearCallEntries(std::uint8_t listKind, std::uint8_t storage) {
    std::lock_guard g(sim::card().lock());
    if (VELK_RESULT r = precheck("Velk_ClearCallEntries", storage)) return r;
    if (!knownKind(listKind)) return VELK_E_BAD_ARGUMENT;
    std::lock_guard d(pcdb::lock());
    sqlite3* db = pcdb::db();
    if (!db) return VELK_E_NOT_STARTED;
    Stmt s(db, "DELETE FROM pc_callentries WHERE kind=?1");
    if (!s) return VELK_E_DATABASE;
    sqlite3_bind_int(s.st, 1, listKind);
    if (sqlite3_step(s.st) != SQLITE_DONE) return VELK_E_DATABASE;
    if (g_cursor.kind == listKind) g_cursor.valid = false;
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_GetCallEntryCount(std::uint8_t listKind, std::uint8_t storage, std::uint32_t* count) {
    std::lock_guard g(sim::card().lock());
    if (!count) return VELK_E_BAD_ARGUMENT;
    if (VELK_RESULT r = precheck("Velk_GetCallEntryCount", storage)) return r;
    if (!knownKind(listKind)) return VELK_E_BAD_ARGUMENT;
    std::lock_guard d(pcdb::lock());
    sqlite3* db = pcdb::db();
    if (!db) return VELK_E_NOT_STARTED;
    return countOf(db, listKind, count);
}
