#include "velkdev/pcdb.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
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
// Prepared statements of g_db by SQL text address.
std::unordered_map<const char*, sqlite3_stmt*> g_statements;

void dropStatements() {
    for (auto& [sql, st] : g_statements) sqlite3_finalize(st);
    g_statements.clear();
}

// Commits the pending group of changes a moment after its first change.
// Lock order: lock() before Committer::m; the thread releases m before it
// takes lock().
struct Committer {
    std::mutex m;
    std::condition_variable cv;
    bool due = false;
    bool stop = false;
    std::chrono::steady_clock::time_point at;
    std::thread thread;
    Committer();
    ~Committer();  // a program leaving without closing the store still keeps its changes
};
Committer g_committer;

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

void forgetCaches() {
    for (const auto& l : declared().restoreListeners) l();
}

void armCommit() {
    std::lock_guard<std::mutex> g(g_committer.m);
    if (g_committer.due) return;
    g_committer.due = true;
    g_committer.at = std::chrono::steady_clock::now() + std::chrono::milliseconds(Change::kCommitDelayMs);
    g_committer.cv.notify_one();
}

// Under lock(). A commit that fails while the transaction is still open is
// tried again later; one that SQLite had to roll back lost the group, so the
// families drop what they cached of it.
void commitGroup() {
    {
        std::lock_guard<std::mutex> g(g_committer.m);
        g_committer.due = false;
    }
    if (!g_db || sqlite3_get_autocommit(g_db)) return;
    if (execOn(g_db, "COMMIT")) return;
    if (!sqlite3_get_autocommit(g_db)) {
        armCommit();
        return;
    }
    std::fprintf(stderr, "db.dat: the last changes could not be kept: %s\n", sqlite3_errmsg(g_db));
    forgetCaches();
}

void committerLoop() {
    std::unique_lock<std::mutex> lk(g_committer.m);
    for (;;) {
        g_committer.cv.wait(lk, [] { return g_committer.stop || g_committer.due; });
        if (g_committer.stop) return;
        if (g_committer.cv.wait_until(lk, g_committer.at, [] { return g_committer.stop; })) return;
        lk.unlock();
        {
            std::lock_guard<std::recursive_mutex> g(lock());
            commitGroup();
        }
        lk.lock();
    }
}

void startCommitter() {
    g_committer.stop = false;
    g_committer.due = false;
    g_committer.thread = std::thread(committerLoop);
}

void stopCommitter() {
    if (!g_committer.thread.joinable()) return;
    {
        std::lock_guard<std::mutex> g(g_committer.m);
        g_committer.stop = true;
        g_committer.cv.notify_one();
    }
    g_committer.thread.join();
}

// Under lock(), when the store is closing: the pending group is committed,
// or undone when that fails.
void commitFinally() {
    if (!g_db || sqlite3_get_autocommit(g_db) || execOn(g_db, "COMMIT")) return;
    std::fprintf(stderr, "db.dat: the last changes could not be kept: %s\n", sqlite3_errmsg(g_db));
    execOn(g_db, "ROLLBACK");
}

// The store's mutex is made first, so it outlives the committer at exit.
Committer::Committer() { lock(); }
Committer::~Committer() {
    stopCommitter();
    std::lock_guard<std::recursive_mutex> g(lock());
    commitFinally();
}

// Copies the whole main database of src over that of dest.
bool copyDatabase(sqlite3* dest, sqlite3* src) {
    sqlite3_backup* b = sqlite3_backup_init(dest, "main", src, "main");
    if (!b) return false;
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    return rc == SQLITE_DONE;
}

// Records: runs of [u16 zero bytes][u16 literal bytes][the literals], little
// endian; the zero bytes after the last run are not stored. A zero run too
// short to pay for a run header stays among the literals.
constexpr std::size_t kMinZeroRun = 5;

void putU16(std::string& out, std::size_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

// Zero bytes from p[i] on, at most up to size; a word at a time where it can.
std::size_t zerosAt(const unsigned char* p, std::size_t i, std::size_t size) {
    const std::size_t from = i;
    std::uint64_t w;
    while (i + sizeof w <= size && (std::memcpy(&w, p + i, sizeof w), w == 0)) i += sizeof w;
    while (i < size && p[i] == 0) ++i;
    return i - from;
}
}  // namespace

std::string pack(const void* record, std::size_t size) {
    const auto* p = static_cast<const unsigned char*>(record);
    if (size > 0xFFFF) return std::string(static_cast<const char*>(record), size);
    std::string out;
    std::size_t i = 0;
    while (i < size) {
        const std::size_t zeros = zerosAt(p, i, size);
        if (i + zeros == size) break;  // only zeros are left
        const std::size_t start = i + zeros;
        std::size_t end = start;
        for (;;) {
            const void* z = std::memchr(p + end, 0, size - end);
            if (!z) {
                end = size;
                break;
            }
            end = static_cast<std::size_t>(static_cast<const unsigned char*>(z) - p);
            const std::size_t run = zerosAt(p, end, size);
            if (run >= kMinZeroRun || end + run == size) break;
            end += run;
        }
        putU16(out, zeros);
        putU16(out, end - start);
        out.append(reinterpret_cast<const char*>(p + start), end - start);
        if (out.size() >= size) return std::string(static_cast<const char*>(record), size);
        i = end;
    }
    return out;
}

bool unpack(const void* bytes, std::size_t length, void* record, std::size_t size) {
    auto* out = static_cast<unsigned char*>(record);
    std::memset(out, 0, size);
    if (length == size) {
        std::memcpy(out, bytes, size);
        return true;
    }
    if (length > size) return false;
    const auto* p = static_cast<const unsigned char*>(bytes);
    std::size_t at = 0, pos = 0;
    while (pos < length) {
        if (length - pos < 4) break;
        const std::size_t zeros = p[pos] | p[pos + 1] << 8;
        const std::size_t lits = p[pos + 2] | p[pos + 3] << 8;
        pos += 4;
        if (lits > length - pos || zeros > size - at || lits > size - at - zeros) break;
        at += zeros;
        std::memcpy(out + at, p + pos, lits);
        at += lits;
        pos += lits;
    }
    if (pos == length) return true;
    std::memset(out, 0, size);
    return false;
}

bool bindRecord(sqlite3_stmt* st, int parameter, const void* record, std::size_t size) {
    const std::string packed = pack(record, size);
    // A zero-length blob, not NULL, for an all-zero record.
    return sqlite3_bind_blob(st, parameter, packed.empty() ? "" : packed.data(), static_cast<int>(packed.size()),
                             SQLITE_TRANSIENT) == SQLITE_OK;
}

bool readRecord(sqlite3_stmt* st, int column, void* record, std::size_t size) {
    const void* blob = sqlite3_column_blob(st, column);
    const int bytes = sqlite3_column_bytes(st, column);
    if (!blob || bytes <= 0) {
        std::memset(record, 0, size);
        return sqlite3_column_type(st, column) == SQLITE_BLOB;
    }
    return unpack(blob, static_cast<std::size_t>(bytes), record, size);
}

Statement::Statement(const char* sql) : guard_(lock()) {
    if (!g_db || !sql) return;
    auto it = g_statements.find(sql);
    if (it != g_statements.end() && !sqlite3_stmt_busy(it->second)) {
        st_ = it->second;
        return;
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v3(g_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &st, nullptr) != SQLITE_OK) {
        sqlite3_finalize(st);
        return;
    }
    // The same text still running further up the stack gets a statement of its own.
    if (it == g_statements.end()) g_statements.emplace(sql, st);
    else owned_ = true;
    st_ = st;
}

Statement::~Statement() {
    if (!st_) return;
    if (owned_) {
        sqlite3_finalize(st_);
        return;
    }
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
}

Change::Change() : guard_(lock()) {
    if (!g_db) return;
    if (sqlite3_get_autocommit(g_db)) {
        if (!execOn(g_db, "BEGIN")) return;
        armCommit();
    }
    open_ = execOn(g_db, "SAVEPOINT change");
}

Change::~Change() {
    if (!open_ || !g_db) return;
    execOn(g_db, "ROLLBACK TO change");
    execOn(g_db, "RELEASE change");
}

VELK_RESULT Change::keep() {
    if (!g_db) return VELK_E_NOT_STARTED;
    if (!open_) return VELK_E_DATABASE;
    open_ = false;
    if (execOn(g_db, "RELEASE change")) return VELK_OK;
    // An error that ended the whole transaction took the group with it.
    if (sqlite3_get_autocommit(g_db)) forgetCaches();
    return VELK_E_DATABASE;
}

void flush() {
    std::lock_guard<std::recursive_mutex> g(lock());
    commitGroup();
}

VELK_RESULT changeOne(const char* sql, const std::function<bool(sqlite3_stmt*)>& bind, int* changed) {
    Change change;
    if (!change.ok()) return g_db ? VELK_E_DATABASE : VELK_E_NOT_STARTED;
    Statement q(sql);
    if (!q.ok() || (bind && !bind(q.get())) || sqlite3_step(q.get()) != SQLITE_DONE) return VELK_E_DATABASE;
    if (changed) *changed = sqlite3_changes(g_db);
    return change.keep();
}

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
    startCommitter();
    return VELK_OK;
}

void close() {
    stopCommitter();
    std::lock_guard<std::recursive_mutex> g(lock());
    commitFinally();
    dropStatements();
    closeDb(g_db);
}

VELK_RESULT backupTo(const QString& path) {
    std::lock_guard<std::recursive_mutex> g(lock());
    if (!g_db) return VELK_E_NOT_STARTED;
    if (path.isEmpty()) return VELK_E_BAD_ARGUMENT;
    commitGroup();
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
    const bool copied = copyDatabase(dest, g_db);
    closeDb(dest);
    if (!copied) {
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
    commitGroup();
    if (!isLinkoraDatabase(path)) return VELK_E_NOT_DATABASE;
    sqlite3* src = nullptr;
    if (sqlite3_open_v2(local(path).constData(), &src, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        closeDb(src);
        return VELK_E_FAILED;
    }
    // The backup replaces the live contents in one transaction: on failure
    // the current store stays as it was. Statements are made again on use.
    dropStatements();
    const bool copied = copyDatabase(g_db, src);
    closeDb(src);
    if (!copied) return VELK_E_DATABASE;
    // A backup from an older program may lack newer tables.
    if (!applySchemas(g_db)) return VELK_E_DATABASE;
    forgetCaches();
    return VELK_OK;
}

}  // namespace pcdb
