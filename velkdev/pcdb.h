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
// Lock order: sim::card().lock() before pcdb::lock(), never the reverse.
// A file that is not a Linkora database (wrong application id, damaged) is
// refused with VELK_E_NOT_DATABASE and left exactly as it is.
#pragma once

#include <QString>
#include <functional>
#include <mutex>

#include "velkdev/velkdev.h"

struct sqlite3;

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

// Used by the front.
VELK_RESULT open(const QString& path);       // creates a new store; refuses a foreign file
void close();
bool isOpen();
VELK_RESULT backupTo(const QString& path);   // a whole copy, written atomically
VELK_RESULT restoreFrom(const QString& path);
// True when path is a readable, intact Linkora database.
bool isLinkoraDatabase(const QString& path);

}  // namespace pcdb
