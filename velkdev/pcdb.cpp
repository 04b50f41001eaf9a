#include "velkdev/pcdb.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace pcdb {
namespace {

// "LKDB": marks a database as Linkora's computer store.
constexpr int kApplicationId = 0x4C4B4442;
constexpr int kSchemaVersion = 1;

struct Declared {
    std::vector<std::pair<std::string, std::string>> schemas;
    std::vector<std::function<void()>> restoreListeners;
};
Declared& declared() {
    static Declared d;
    return d;
}

sqlite3* g_db = nullptr;

QByteArray local(const QString& path) { return QFile::encodeName(path); }

bool execOn(sqlite3* db, const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK; }

// The single integer a pragma answers, or nothing.
std::optional<long long> pragmaInt(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return std::nullopt;
    std::optional<long long> v;
    if (sqlite3_step(st) == SQLITE_ROW) v = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return v;
}

bool quickCheckOk(sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &st, nullptr) != SQLITE_OK) return false;
    bool ok = false;
    if (sqlite3_step(st) == SQLITE_ROW) {
        const unsigned char* t = sqlite3_column_text(st, 0);
        ok = t && std::string(reinterpret_cast<const char*>(t)) == "ok";
    }
    sqlite3_finalize(st);
    return ok;
}

// The declared tables in one transaction; a new store gets its mark in the same one.
bool applySchemas(sqlite3* db, bool stamp = false) {
    if (!execOn(db, "BEGIN")) return false;
    if (stamp) {
        const std::string sql = "PRAGMA application_id=" + std::to_string(kApplicationId) +
                                "; PRAGMA user_version=" + std::to_string(kSchemaVersion) + ";";
        if (!execOn(db, sql.c_str())) {
            execOn(db, "ROLLBACK");
            return false;
        }
    }
    for (const auto& s : declared().schemas) {
        if (!execOn(db, s.second.c_str())) {
            execOn(db, "ROLLBACK");
            return false;
        }
    }
    return execOn(db, "COMMIT");
}

void closeDb(sqlite3*& db) {
    if (db) sqlite3_close_v2(db);
    db = nullptr;
}

}  // namespace

Schema::Schema(const char* name, const char* sql) { declared().schemas.emplace_back(name, sql); }

RestoreListener::RestoreListener(std::function<void()> listener) {
    declared().restoreListeners.push_back(std::move(listener));
}

std::recursive_mutex& lock() {
    static std::recursive_mutex m;
    return m;
}

sqlite3* db() { return g_db; }

bool isOpen() {
    std::lock_guard<std::recursive_mutex> g(lock());
    return g_db != nullptr;
}

VELK_RESULT exec(const char* sql) {
    std::lock_guard<std::recursive_mutex> g(lock());
    if (!g_db) return VELK_E_NOT_STARTED;
    return execOn(g_db, sql) ? VELK_OK : VELK_E_DATABASE;
}

VELK_RESULT queryInt(const char* sql, long long* value) {
    std::lock_guard<std::recursive_mutex> g(lock());
    if (!g_db) return VELK_E_NOT_STARTED;
    if (!sql || !value) return VELK_E_BAD_ARGUMENT;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(g_db, sql, -1, &st, nullptr) != SQLITE_OK) return VELK_E_DATABASE;
    const int rc = sqlite3_step(st);
    VELK_RESULT r = VELK_E_DATABASE;
    if (rc == SQLITE_ROW) {
        *value = sqlite3_column_int64(st, 0);
        r = VELK_OK;
    } else if (rc == SQLITE_DONE) {
        r = VELK_E_NO_ENTRY;
    }
    sqlite3_finalize(st);
    return r;
}

bool isLinkoraDatabase(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray header = f.read(16);
    f.close();
    if (header != QByteArray("SQLite format 3\0", 16)) return false;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(local(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        closeDb(db);
        return false;
    }
    const auto id = pragmaInt(db, "PRAGMA application_id");
    const bool ok = id && *id == kApplicationId && quickCheckOk(db);
    closeDb(db);
    return ok;
}

VELK_RESULT open(const QString& path) {
    std::lock_guard<std::recursive_mutex> g(lock());
    if (g_db) return VELK_OK;
    const QFileInfo fi(path);
    // An empty file holds nothing to lose; anything else must be ours.
    const bool fresh = !fi.exists() || fi.size() == 0;
    if (!fresh && !isLinkoraDatabase(path)) return VELK_E_NOT_DATABASE;
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (fresh ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(local(path).constData(), &db, flags, nullptr) != SQLITE_OK) {
        closeDb(db);
        return VELK_E_DATABASE;
    }
    sqlite3_busy_timeout(db, 2000);
    // Write-ahead logging: a commit appends to the log and needs no sync of
    // its own, so a phonebook import or a burst of messages is not one disk
    // sync per record. The log is checkpointed and synced as it grows and
    // when the store closes; an interrupted program loses nothing committed.
    execOn(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    if (!applySchemas(db, fresh)) {
        closeDb(db);
        return VELK_E_DATABASE;
    }
    g_db = db;
    return VELK_OK;
}

void close() {
    std::lock_guard<std::recursive_mutex> g(lock());
    closeDb(g_db);
}

VELK_RESULT backupTo(const QString& path) {
    std::lock_guard<std::recursive_mutex> g(lock());
    if (!g_db) return VELK_E_NOT_STARTED;
    if (path.isEmpty()) return VELK_E_BAD_ARGUMENT;
    // Copy into a side file first, so an interrupted backup never leaves a
    // half-written file under the chosen name.
    const QString tmp = path + QStringLiteral(".tmp");
    QFile::remove(tmp);
    sqlite3* dest = nullptr;
    if (sqlite3_open_v2(local(tmp).constData(), &dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        closeDb(dest);
        QFile::remove(tmp);
        return VELK_E_FAILED;
    }
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", g_db, "main");
    int rc = SQLITE_ERROR;
    if (b) {
        rc = sqlite3_backup_step(b, -1);
        sqlite3_backup_finish(b);
    }
    closeDb(dest);
    if (rc != SQLITE_DONE) {
        QFile::remove(tmp);
        return VELK_E_FAILED;
    }
    if (std::rename(local(tmp).constData(), local(path).constData()) != 0) {
        QFile::remove(tmp);
        return VELK_E_FAILED;
    }
    return VELK_OK;
}

VELK_RESULT restoreFrom(const QString& path) {
    std::lock_guard<std::recursive_mutex> g(lock());
    if (!g_db) return VELK_E_NOT_STARTED;
    if (!QFileInfo::exists(path)) return VELK_E_FAILED;
    if (!isLinkoraDatabase(path)) return VELK_E_NOT_DATABASE;
    sqlite3* src = nullptr;
    if (sqlite3_open_v2(local(path).constData(), &src, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        closeDb(src);
        return VELK_E_FAILED;
    }
    // The backup replaces the live contents in one transaction: on failure
    // the current store stays as it was.
    sqlite3_backup* b = sqlite3_backup_init(g_db, "main", src, "main");
    int rc = SQLITE_ERROR;
    if (b) {
        rc = sqlite3_backup_step(b, -1);
        sqlite3_backup_finish(b);
    }
    closeDb(src);
    if (rc != SQLITE_DONE) return VELK_E_DATABASE;
    // A backup from an older program may lack newer tables.
    if (!applySchemas(g_db)) return VELK_E_DATABASE;
    for (const auto& l : declared().restoreListeners) l();
    return VELK_OK;
}

}  // namespace pcdb
