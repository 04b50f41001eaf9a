// The library's life cycle and its files: the backend choice, the computer
// store db.dat with backup and restore, and the card's memory simcard.dat.
#include <QFile>

#include "platform/files.h"
#include "velkdev/pcdb.h"
#include "velkdev/sim/card.h"
#include "velkdev/sim/memory.h"
#include "tests/core/test_velkdev_env.h"

namespace {

class VelkdevStore : public VelkdevEnv {
protected:
    VelkdevStore() { autoStart_ = false; }
    void TearDown() override {
        qunsetenv("LINKORA_DEVICE");
        VelkdevEnv::TearDown();
    }
    static void WriteFile(const QString& path, const QByteArray& bytes) {
        ASSERT_TRUE(files::WriteAtomic(path, bytes));
    }
    static QByteArray ReadFile(const QString& path) { return files::ReadAll(path).value_or(QByteArray("<missing>")); }
    // A sound SQLite database of someone else: a backup of ours with the
    // application id in the file header (offset 68) cleared.
    static void MakeForeignDatabase(const QString& path) {
        ASSERT_TRUE(pcdb::isOpen());
        ASSERT_EQ(pcdb::backupTo(path), 0);
        QByteArray bytes = ReadFile(path);
        ASSERT_GT(bytes.size(), 100);
        bytes.replace(68, 4, QByteArray(4, '\0'));
        WriteFile(path, bytes);
        ASSERT_FALSE(pcdb::isLinkoraDatabase(path));
    }
    static int Count(const char* table) {
        long long n = -1;
        const std::string sql = std::string("SELECT COUNT(*) FROM ") + table;
        return pcdb::queryInt(sql.c_str(), &n) == 0 ? static_cast<int>(n) : -1;
    }
};

TEST_F(VelkdevStore, LifeCycleRunsTwiceAndCallsFailWhileStopped) {
    EXPECT_EQ(Velk_Echo(), VELK_E_NOT_STARTED);
    EXPECT_EQ(Velk_Shutdown(), 0);  // nothing to stop
    for (int round = 0; round < 2; ++round) {
        Start();
        EXPECT_EQ(Velk_Startup(0, 400, 0), 0) << "a second start changes nothing";
        EXPECT_EQ(Velk_Echo(), 0);
        EXPECT_TRUE(pcdb::isOpen());
        EXPECT_TRUE(QFile::exists(FilePath("db.dat")));
        EXPECT_TRUE(QFile::exists(FilePath("simcard.dat")));
        ASSERT_EQ(Velk_Shutdown(), 0);
        EXPECT_FALSE(pcdb::isOpen());
        std::uint8_t s = 0;
        EXPECT_EQ(Velk_GetPinState(&s), VELK_E_NOT_STARTED);
        EXPECT_EQ(Velk_BackUpDBToFile("x.dat"), VELK_E_NOT_STARTED);
        std::lock_guard<std::recursive_mutex> g(sim::card().lock());
        EXPECT_EQ(sim::card().requireStorage(1), VELK_E_NOT_STARTED);
    }
}

TEST_F(VelkdevStore, UnknownBackendMakesStartupFail) {
    struct Case {
        const char* env;
        const char* conf;
        VELK_RESULT want;
    };
    const Case cases[] = {
        {"bogus", nullptr, VELK_E_UNSUPPORTED},
        {nullptr, "# card\nat:/dev/ttyUSB0\n", VELK_E_UNSUPPORTED},
        {nullptr, "\n  sim  \n", VELK_OK},
        {"sim", "nonsense", VELK_OK},  // the environment wins
    };
    for (const Case& c : cases) {
        if (c.env)
            qputenv("LINKORA_DEVICE", c.env);
        else
            qunsetenv("LINKORA_DEVICE");
        QFile::remove(FilePath("device.conf"));
        if (c.conf) WriteFile(FilePath("device.conf"), c.conf);
        EXPECT_EQ(Velk_Startup(0, 400, 0), c.want) << (c.env ? c.env : "") << "|" << (c.conf ? c.conf : "");
        if (c.want != VELK_OK) {
            EXPECT_EQ(Velk_Echo(), VELK_E_NOT_STARTED);
            EXPECT_FALSE(pcdb::isOpen());
        }
        EXPECT_EQ(Velk_Shutdown(), 0);
    }
}

TEST_F(VelkdevStore, ForeignOrDamagedDbFileIsRefusedAndLeftAlone) {
    const QByteArray garbage = QByteArray("SQLite format 3\0", 16) + QByteArray(300, '\x5a');
    for (int variant = 0; variant < 3; ++variant) {
        QFile::remove(FilePath("db.dat"));
        if (variant == 0) WriteFile(FilePath("db.dat"), "this is not a database at all");
        if (variant == 1) WriteFile(FilePath("db.dat"), garbage);
        if (variant == 2) {
            Start();
            MakeForeignDatabase(FilePath("foreign.dat"));
            ASSERT_EQ(Velk_Shutdown(), 0);
            QFile::remove(FilePath("db.dat"));
            ASSERT_TRUE(QFile::copy(FilePath("foreign.dat"), FilePath("db.dat")));
        }
        const QByteArray before = ReadFile(FilePath("db.dat"));
        EXPECT_EQ(Velk_Startup(0, 400, 0), VELK_E_NOT_DATABASE) << variant;
        EXPECT_EQ(Velk_Echo(), VELK_E_NOT_STARTED);
        EXPECT_EQ(ReadFile(FilePath("db.dat")), before) << variant;
    }
}

TEST_F(VelkdevStore, BackupAndRestoreRoundTrip) {
    Start();
    ASSERT_EQ(pcdb::exec("CREATE TABLE IF NOT EXISTS t_probe(x); INSERT INTO t_probe VALUES(1);"), 0);
    ASSERT_EQ(Velk_BackUpDBToFile(FilePath("saved.dat").toLocal8Bit().constData()), 0);
    EXPECT_TRUE(pcdb::isLinkoraDatabase(FilePath("saved.dat")));
    EXPECT_FALSE(QFile::exists(FilePath("saved.dat.tmp")));
    ASSERT_EQ(pcdb::exec("INSERT INTO t_probe VALUES(2); INSERT INTO t_probe VALUES(3);"), 0);
    ASSERT_EQ(Count("t_probe"), 3);
    // Backslash paths, as the program stores them, work as well.
    ASSERT_EQ(Velk_LoadDBFromFile(".\\saved.dat"), 0);
    EXPECT_EQ(Count("t_probe"), 1);
    // The live store is still usable and survives a restart.
    ASSERT_EQ(pcdb::exec("INSERT INTO t_probe VALUES(4);"), 0);
    Restart();
    EXPECT_EQ(Count("t_probe"), 2);
    // Naming the store itself copies nothing and destroys nothing.
    EXPECT_EQ(Velk_BackUpDBToFile(FilePath("db.dat").toLocal8Bit().constData()), 0);
    EXPECT_EQ(Velk_LoadDBFromFile(FilePath("db.dat").toLocal8Bit().constData()), 0);
    EXPECT_EQ(Count("t_probe"), 2);
}

TEST_F(VelkdevStore, RestoreRefusesAnythingButALinkoraDatabase) {
    Start();
    ASSERT_EQ(pcdb::exec("CREATE TABLE IF NOT EXISTS t_probe(x); INSERT INTO t_probe VALUES(7);"), 0);
    WriteFile(FilePath("text.dat"), "hello");
    MakeForeignDatabase(FilePath("foreign.dat"));
    const QByteArray text = ReadFile(FilePath("text.dat"));
    EXPECT_EQ(Velk_LoadDBFromFile(FilePath("text.dat").toLocal8Bit().constData()), VELK_E_NOT_DATABASE);
    EXPECT_EQ(Velk_LoadDBFromFile(FilePath("foreign.dat").toLocal8Bit().constData()), VELK_E_NOT_DATABASE);
    EXPECT_EQ(Velk_LoadDBFromFile(FilePath("missing.dat").toLocal8Bit().constData()), VELK_E_FAILED);
    EXPECT_EQ(Velk_LoadDBFromFile(nullptr), VELK_E_BAD_ARGUMENT);
    EXPECT_EQ(Count("t_probe"), 1);
    EXPECT_EQ(ReadFile(FilePath("text.dat")), text);
}

TEST_F(VelkdevStore, DamagedCardMemoryIsSetAsideAndTheCardStartsFresh) {
    const QByteArray damaged = "{\"format\":\"linkora-simcard\",\"version\":1,\"sections\":{\"sim\":";
    WriteFile(FilePath("simcard.dat"), damaged);
    Start();
    EXPECT_EQ(ReadFile(FilePath("simcard.dat.damaged")), damaged);
    std::uint8_t state = 0xEE;
    ASSERT_EQ(Velk_GetPinState(&state), 0);
    EXPECT_EQ(state, VELK_PIN_READY);
    // The fresh memory is written out and read back at the next start.
    ASSERT_EQ(Velk_SetPinEnable(1, "1234"), 0);
    Restart();
    ASSERT_EQ(Velk_GetPinState(&state), 0);
    EXPECT_EQ(state, VELK_PIN_REQUIRED);
}

TEST_F(VelkdevStore, FamiliesKeepTheirOwnSectionsAcrossRestarts) {
    Start();
    const char record[] = {1, 0, 2, 3};
    {
        std::lock_guard<std::recursive_mutex> g(sim::card().lock());
        ASSERT_TRUE(sim::memory().setSection("probe.sim", sim::Memory::encode(record, sizeof record)));
    }
    Restart();
    std::lock_guard<std::recursive_mutex> g(sim::card().lock());
    EXPECT_EQ(sim::Memory::decode(sim::memory().section("probe.sim")), QByteArray(record, sizeof record));
    EXPECT_TRUE(sim::memory().section("absent").isUndefined());
    EXPECT_TRUE(sim::Memory::decode(QJsonValue(QStringLiteral("***"))).isEmpty());
}

void ShutdownFromCallback(std::uint8_t) {
    std::lock_guard<std::mutex> g(recorded().m);
    recorded().cardEvents.push_back(Velk_Shutdown());
}

TEST_F(VelkdevStore, ShutdownFromACallbackIsRefused) {
    Start();
    Velk_SetCallBackMeStateChanged(ShutdownFromCallback, 0);
    velk_sim::RemoveCard();
    velk_sim::Flush();
    EXPECT_EQ(recorded().copy(recorded().cardEvents), std::vector<int>{VELK_E_BUSY});
}

}  // namespace
