// The computer store (storage code 2): an SQLite database "db.dat" in the
// program folder, opened by Velk_Startup and closed by Velk_Shutdown.
//
// A family declares its tables at namespace scope in its own file:
//
//   static pcdb::Schema smsTable("pc_messages",
//       "CREATE TABLE IF NOT EXISTS pc_messages(id INTEGER PRIMARY KEY, record BLOB NOT NULL)");
//
// The statements run, in declaration order, whenever the store is opened and
// after every restore, so they must be idempotent (IF NOT EXISTS).
// Use the connection only while holding lock():
//
//   std::lock_guard g(pcdb::lock());
//   sqlite3* db = pcdb::db();
//   if (!db) return VELK_E_NOT_STARTED;
//
// Changing statements run inside a Change (see below), reading ones through
// Statement, which keeps each prepared statement for the life of the store.
// Lock order: sim::card().lock() before pcdb::lock(), never the reverse.
// A file that is not a Linkora database (wrong application id, damaged) is
// refused with VELK_E_NOT_DATABASE and left exactly as it is.
#pragma once

#include <QString>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>

#include "velkdev/velkdev.h"

struct sqlite3;
struct sqlite3_stmt;

namespace pcdb {

struct Schema {
    Schema(const char* name, const char* sql);
};

// Runs after a restore has replaced the contents (under lock()), so a family
// can drop anything it cached. It must not take the card lock (lock order).
struct RestoreListener {
    explicit RestoreListener(std::function<void()> listener);
};

std::recursive_mutex& lock();
sqlite3* db();                      // null while closed
// Runs statements without results; VELK_E_DATABASE on error, VELK_E_NOT_STARTED when closed.
VELK_RESULT exec(const char* sql);
// The first column of the first row of a query ("SELECT COUNT(*) FROM t");
// VELK_E_NO_ENTRY when it yields no row.
VELK_RESULT queryInt(const char* sql, long long* value);

// A prepared statement of this connection, made once per SQL text (pass a
// string literal: the cache is keyed by its address) and reset after use.
// Holds lock() while it lives; ok() is false while the store is closed.
class Statement {
public:
    explicit Statement(const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    bool ok() const { return st_ != nullptr; }
    sqlite3_stmt* get() const { return st_; }

private:
    std::unique_lock<std::recursive_mutex> guard_;
    sqlite3_stmt* st_ = nullptr;
    bool owned_ = false;
};

// One change of the store: its statements take effect together or not at
// all. Build it, run the statements while it lives, then call keep(); a
// Change left without keep() undoes its statements. Holds lock().
//
// Changes are committed in groups: the first change after a commit opens a
// transaction that is committed kCommitDelayMs later, or at once by flush(),
// a backup, a restore or closing. A burst of changes (an import, a folder of
// messages) is then a handful of disk writes instead of one per record. What
// is committed is never damaged; a program killed outright loses at most the
// changes of its last moment.
class Change {
public:
    static constexpr int kCommitDelayMs = 20;
    Change();
    ~Change();
    Change(const Change&) = delete;
    Change& operator=(const Change&) = delete;
    // False while the store is closed or when the change could not begin.
    bool ok() const { return open_; }
    VELK_RESULT keep();   // VELK_E_DATABASE when the statements cannot be kept

private:
    std::unique_lock<std::recursive_mutex> guard_;
    bool open_ = false;
};
// Commits the pending group of changes now.
void flush();
// Runs one changing statement as a change of its own: bind fills in its
// parameters, *changed gets the rows it touched.
VELK_RESULT changeOne(const char* sql, const std::function<bool(sqlite3_stmt*)>& bind, int* changed = nullptr);

// Records are stored packed (most of a fixed record is zero bytes). bindRecord
// binds the packed form; readRecord fills size bytes from a column, reading
// the plain copies older stores hold as well. A damaged value gives a zeroed
// record and false.
bool bindRecord(sqlite3_stmt* st, int parameter, const void* record, std::size_t size);
bool readRecord(sqlite3_stmt* st, int column, void* record, std::size_t size);
// The packing itself; a packed form is always shorter than size.
std::string pack(const void* record, std::size_t size);
bool unpack(const void* bytes, std::size_t length, void* record, std::size_t size);

// Used by the front.
VELK_RESULT open(const QString& path);       // creates a new store; refuses a foreign file
void close();
bool isOpen();
VELK_RESULT backupTo(const QString& path);   // a whole copy, written atomically
VELK_RESULT restoreFrom(const QString& path);
// True when path is a readable, intact Linkora database.
bool isLinkoraDatabase(const QString& path);

}  // namespace pcdb
