// The computer store's own mechanics: records kept packed (and the plain
// records of older stores still read), changes that are undone unless kept,
// and grouped commits that reach the file at flush, backup, shutdown or by
// themselves a moment later.
#include <sqlite3.h>

#include <QThread>
#include <chrono>
#include <cstring>
#include <random>
#include <string>

#include "tests/core/test_velkdev_env.h"
#include "velkdev/pcdb.h"
#include "velkdev/velkdev_pb.h"

namespace {

std::string Bytes(std::initializer_list<int> v) {
    std::string s;
    for (int b : v) s.push_back(static_cast<char>(b));
    return s;
}

TEST(PcRecords, PackRoundTripsEveryShapeOfRecord) {
    struct Case {
        const char* what;
        std::string record;
    };
    std::string sparse(3494, '\0');
    std::memcpy(&sparse[12], "Contact 1", 9);
    std::memcpy(&sparse[2212], "13800138000", 11);
    sparse[3492] = 2;
    std::string shortGaps(64, '\0');
    for (int i : {0, 2, 5, 9, 14, 20, 40}) shortGaps[static_cast<std::size_t>(i)] = 'x';  // gaps of 1 to 19
    const Case cases[] = {
        {"all zero", std::string(64, '\0')},
        {"no zero at all", std::string(64, '\xFF')},
        {"last byte only", std::string(63, '\0') + "z"},
        {"first byte only", "a" + std::string(63, '\0')},
        {"short and long gaps", shortGaps},
        {"a contact", sparse},
    };
    for (const Case& c : cases) {
        const std::string packed = pcdb::pack(c.record.data(), c.record.size());
        EXPECT_LE(packed.size(), c.record.size()) << c.what;
        std::string back(c.record.size(), '\x55');
        ASSERT_TRUE(pcdb::unpack(packed.data(), packed.size(), back.data(), back.size())) << c.what;
        EXPECT_EQ(back, c.record) << c.what;
    }
    EXPECT_TRUE(pcdb::pack(cases[0].record.data(), 64).empty());
    EXPECT_EQ(pcdb::pack(cases[1].record.data(), 64), cases[1].record) << "kept plain when packing does not pay";
    EXPECT_LT(pcdb::pack(sparse.data(), sparse.size()).size(), 60u);

    // Random sparse records of every density.
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        std::string r(200, '\0');
        const int density = round % 10;
        for (char& b : r)
            if (static_cast<int>(rng() % 10) < density) b = static_cast<char>(1 + rng() % 255);
        const std::string packed = pcdb::pack(r.data(), r.size());
        ASSERT_LE(packed.size(), r.size());
        std::string back(r.size(), '\0');
        ASSERT_TRUE(pcdb::unpack(packed.data(), packed.size(), back.data(), back.size()));
        ASSERT_EQ(back, r) << round;
    }
}

TEST(PcRecords, DamagedPackedValuesGiveAZeroedRecord) {
    struct Case {
        const char* what;
        std::string stored;
    };
    const Case cases[] = {
        {"cut inside a run header", Bytes({0, 0, 2})},
        {"literals beyond the value", Bytes({0, 0, 5, 0, 'a', 'b'})},
        {"zeros beyond the record", Bytes({20, 0, 1, 0, 'a'})},
        {"literals beyond the record", Bytes({10, 0, 8, 0, 1, 2, 3, 4, 5, 6, 7, 8})},
        {"longer than a plain record", std::string(17, 'a')},
    };
    for (const Case& c : cases) {
        std::string out(16, '\x55');
        EXPECT_FALSE(pcdb::unpack(c.stored.data(), c.stored.size(), out.data(), out.size())) << c.what;
        EXPECT_EQ(out, std::string(16, '\0')) << c.what;
    }
    // A value exactly as long as the record is a plain record.
    const std::string plain(16, 'p');
    std::string out(16, '\0');
    EXPECT_TRUE(pcdb::unpack(plain.data(), plain.size(), out.data(), out.size()));
    EXPECT_EQ(out, plain);
}

class PcStore : public VelkdevEnv {
protected:
    // Rows of a table as another program reading db.dat (or a copy) sees them.
    int RowsOnDisk(const char* file, const char* table) const {
        sqlite3* db = nullptr;
        int n = -1;
        if (sqlite3_open_v2(FilePath(file).toLocal8Bit().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt* st = nullptr;
            const std::string sql = std::string("SELECT COUNT(*) FROM ") + table;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
                n = sqlite3_column_int(st, 0);
            sqlite3_finalize(st);
        }
        sqlite3_close_v2(db);
        return n;
    }
    static int Rows(const char* table) {
        long long n = -1;
        const std::string sql = std::string("SELECT COUNT(*) FROM ") + table;
        return pcdb::queryInt(sql.c_str(), &n) == 0 ? static_cast<int>(n) : -1;
    }
    static std::uint32_t AddContact(const char* name) {
        _VELK_CONTACT_RECORD r{};
        r.storage = 2;
        std::strcpy(r.name, name);
        std::strcpy(r.numbers[SLOT_MOBILE].number, "13800138000");
        EXPECT_EQ(Velk_NewContact(&r), 0);
        return r.index;
    }
};

TEST_F(PcStore, AChangeNotKeptIsUndoneWithAllItsStatements) {
    ASSERT_EQ(pcdb::exec("CREATE TABLE IF NOT EXISTS t_probe(x)"), 0);
    {
        pcdb::Change kept;
        ASSERT_TRUE(kept.ok());
        ASSERT_EQ(pcdb::exec("INSERT INTO t_probe VALUES(1)"), 0);
        EXPECT_EQ(kept.keep(), 0);
    }
    {
        pcdb::Change dropped;
        ASSERT_TRUE(dropped.ok());
        ASSERT_EQ(pcdb::exec("INSERT INTO t_probe VALUES(2); INSERT INTO t_probe VALUES(3)"), 0);
        {
            pcdb::Change inner;  // kept, but inside a change that is not
            ASSERT_EQ(pcdb::exec("INSERT INTO t_probe VALUES(4)"), 0);
            EXPECT_EQ(inner.keep(), 0);
        }
        EXPECT_EQ(Rows("t_probe"), 4);
    }
    EXPECT_EQ(Rows("t_probe"), 1);
    Restart();
    EXPECT_EQ(Rows("t_probe"), 1);
}

TEST_F(PcStore, PendingChangesReachTheFileAtBackupFlushAndShutdown) {
    AddContact("Backed up");
    ASSERT_EQ(Velk_BackUpDBToFile(FilePath("copy.dat").toLocal8Bit().constData()), 0);
    EXPECT_EQ(RowsOnDisk("copy.dat", "pc_contacts"), 1);

    AddContact("Flushed");
    pcdb::flush();
    EXPECT_EQ(RowsOnDisk("db.dat", "pc_contacts"), 2);

    AddContact("At shutdown");
    ASSERT_EQ(Velk_Shutdown(), 0);
    EXPECT_EQ(RowsOnDisk("db.dat", "pc_contacts"), 3);
    Start();

    // Left alone, a change is committed a moment later by itself.
    AddContact("By itself");
    int seen = 0;
    for (int i = 0; i < 500 && seen != 4; ++i) {
        QThread::msleep(10);
        seen = RowsOnDisk("db.dat", "pc_contacts");
    }
    EXPECT_EQ(seen, 4);
}

TEST_F(PcStore, RestoreTakesTheCopyEvenWithChangesPending) {
    AddContact("In the copy");
    ASSERT_EQ(Velk_BackUpDBToFile(FilePath("copy.dat").toLocal8Bit().constData()), 0);
    AddContact("Only live");
    ASSERT_EQ(Velk_LoadDBFromFile(FilePath("copy.dat").toLocal8Bit().constData()), 0);
    std::uint32_t count = 0;
    ASSERT_EQ(Velk_GetContactCount(2, &count), 0);
    EXPECT_EQ(count, 1u);
    Restart();
    ASSERT_EQ(Velk_GetContactCount(2, &count), 0);
    EXPECT_EQ(count, 1u);
}

TEST_F(PcStore, PlainRecordsOfAnOlderStoreAreStillRead) {
    _VELK_CONTACT_RECORD old{};
    std::strcpy(old.name, "Kept whole");
    std::strcpy(old.numbers[SLOT_HOME].number, "01012345678");
    old.reserved782[100] = 0x7E;  // bytes the program carries but does not read
    {
        pcdb::Change change;
        pcdb::Statement insert("INSERT INTO pc_contacts(record) VALUES(?1)");
        ASSERT_TRUE(insert.ok());
        ASSERT_EQ(sqlite3_bind_blob(insert.get(), 1, &old, sizeof old, SQLITE_TRANSIENT), SQLITE_OK);
        ASSERT_EQ(sqlite3_step(insert.get()), SQLITE_DONE);
        ASSERT_EQ(change.keep(), 0);
    }
    const std::uint32_t added = AddContact("Packed");
    Restart();
    _VELK_CONTACT_RECORD r{};
    r.storage = 2;
    ASSERT_EQ(Velk_GetFirstContact(&r), 0);
    EXPECT_STREQ(r.name, "Kept whole");
    EXPECT_STREQ(r.numbers[SLOT_HOME].number, "01012345678");
    EXPECT_EQ(r.reserved782[100], 0x7E);
    ASSERT_EQ(Velk_GetNextContact(&r), 0);
    EXPECT_STREQ(r.name, "Packed");
    EXPECT_EQ(r.index, added);
    EXPECT_EQ(Velk_GetNextContact(&r), VELK_E_NO_ENTRY);
}

// The counts are kept in memory between saves; every kind of change must
// move them as the table does.
TEST_F(PcStore, CallListCountsFollowEveryChange) {
    auto save = [](std::uint8_t kind) {
        _VELK_CALL_ENTRY e{};
        e.listKind = kind;
        e.storage = 2;
        std::strcpy(e.number, "10086");
        EXPECT_EQ(Velk_SaveCallEntry(&e), 0);
        return e.index;
    };
    auto count = [](std::uint8_t kind) {
        std::uint32_t n = 0xFFFF;
        EXPECT_EQ(Velk_GetCallEntryCount(kind, 2, &n), 0);
        return n;
    };
    const std::uint32_t missed = save(VELK_CALLS_MISSED);
    save(VELK_CALLS_MISSED);
    save(VELK_CALLS_MISSED);
    save(VELK_CALLS_DATA_LOG);
    save(VELK_CALLS_DATA_LOG);
    ASSERT_EQ(Velk_DeleteCallEntry(missed, 2), 0);
    EXPECT_EQ(Velk_DeleteCallEntry(missed, 2), VELK_E_NO_ENTRY);
    EXPECT_EQ(count(VELK_CALLS_MISSED), 2u);
    EXPECT_EQ(count(VELK_CALLS_DATA_LOG), 2u);
    ASSERT_EQ(Velk_ClearCallEntries(VELK_CALLS_DATA_LOG, 2), 0);
    EXPECT_EQ(count(VELK_CALLS_DATA_LOG), 0u);
    for (int i = 0; i < 52; ++i) save(VELK_CALLS_RECEIVED);
    EXPECT_EQ(count(VELK_CALLS_RECEIVED), 50u);

    ASSERT_EQ(Velk_BackUpDBToFile(FilePath("copy.dat").toLocal8Bit().constData()), 0);
    save(VELK_CALLS_MISSED);
    EXPECT_EQ(count(VELK_CALLS_MISSED), 3u);
    ASSERT_EQ(Velk_LoadDBFromFile(FilePath("copy.dat").toLocal8Bit().constData()), 0);
    EXPECT_EQ(count(VELK_CALLS_MISSED), 2u) << "the copy's own count";
    save(VELK_CALLS_DATA_LOG);
    Restart();
    EXPECT_EQ(count(VELK_CALLS_MISSED), 2u);
    EXPECT_EQ(count(VELK_CALLS_RECEIVED), 50u);
    EXPECT_EQ(count(VELK_CALLS_DATA_LOG), 1u);
}

}  // namespace
