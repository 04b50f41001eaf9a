// The profile store: record layout on disk, scrambling, the shipped profiles
// and every store operation on good, missing and damaged files.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <cstring>

#include "connect/domain/profile.h"
#include "platform/files.h"
#include "tests/fixture/core_fixture.h"

namespace {

ProfileRecord makeProfile(const std::string& name, const std::string& apn = {}) {
    ProfileRecord r{};
    profiles::SetField(r.name, name);
    profiles::SetField(r.number, "*99#");
    profiles::SetField(r.apnMode, apn.empty() ? "1" : "0");
    profiles::SetField(r.apn, apn);
    profiles::SetField(r.dnsMode, "1");
    profiles::SetField(r.pdpMode, "1");
    profiles::SetField(r.pdpType, "IP");
    profiles::SetField(r.auth, "PAP");
    profiles::SetField(r.askFlag, "0");
    profiles::SetField(r.saveFlag, "0");
    return r;
}

class Profiles : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        profiles::LoadDefault();
        profiles::LoadFactory();
    }
    QByteArray config() const { return files::ReadAll(profiles::ConfigPath()).value_or(QByteArray()); }
    std::vector<std::string> names() const {
        std::vector<ProfileRecord> rs;
        profiles::ReadAll(&rs);
        std::vector<std::string> n;
        for (const auto& r : rs) n.push_back(profiles::Field(r.name));
        return n;
    }
    void writeConfig(const std::vector<ProfileRecord>& rs) {
        ASSERT_TRUE(files::WriteAtomic(profiles::ConfigPath(), rs.data(), rs.size() * sizeof(ProfileRecord), true));
    }
    static int mode(const QString& path) {
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) != 0) return -1;
        return st.st_mode & 0777;
    }
    void damageConfig() {
        QByteArray d = config();
        d.append("xyz", 3);   // a cut or extended file: not a multiple of 457
        ASSERT_TRUE(files::WriteAtomic(profiles::ConfigPath(), d, true));
    }
};

TEST(ProfileScramble, LimitsAndRoundTrips) {
    struct Case {
        std::string plain;
        bool accepted;
    } cases[] = {
        {"", true},
        {"user@operator", true},
        {std::string(103, 'a'), true},    // 103 bytes and the NUL fill the field
        {std::string(104, 'a'), false},   // would leave no room for the NUL
        {std::string(200, 'b'), false},
    };
    for (const auto& c : cases) {
        char field[104];
        std::memset(field, 0x55, sizeof field);
        EXPECT_EQ(profiles::Scramble(c.plain, field), c.accepted) << c.plain.size();
        if (c.accepted) {
            EXPECT_EQ(profiles::Unscramble(field), c.plain);
            for (std::size_t i = 0; i < c.plain.size(); ++i)
                ASSERT_EQ(static_cast<unsigned char>(field[i]), static_cast<unsigned char>(~c.plain[i] & 0xff));
            EXPECT_EQ(field[c.plain.size()], 0);
        } else {
            EXPECT_EQ(profiles::Unscramble(field), "");
        }
    }
}

TEST(ProfileScramble, ByteFFCutsTheTextAndFieldsAreReadWithinTheirWidth) {
    char field[104];
    ASSERT_TRUE(profiles::Scramble(std::string("ab\xff" "cd"), field));
    EXPECT_EQ(profiles::Unscramble(field), "ab");
    // A field without any NUL is read to its width, never beyond.
    std::memset(field, 0x9e, sizeof field);
    EXPECT_EQ(profiles::Unscramble(field), std::string(104, 'a'));
    ProfileRecord r;
    std::memset(&r, 'x', sizeof r);
    EXPECT_EQ(profiles::Field(r.name), std::string(20, 'x'));
    EXPECT_EQ(profiles::Field(r.pdpType), std::string(5, 'x'));
}

TEST_F(Profiles, ShippedFilesHoldThreeBuiltInProfilesReadableByTheOwnerOnly) {
    EXPECT_EQ(names().size(), 3u);
    const ProfileRecord& factory = profiles::FactoryProfile();
    EXPECT_EQ(profiles::Field(factory.number), "*99#");
    EXPECT_EQ(profiles::Field(factory.apnMode), "1");
    EXPECT_EQ(std::memcmp(&factory, &profiles::CurrentProfile(), sizeof factory), 0);
    EXPECT_EQ(mode(profiles::ConfigPath()), 0600);
    EXPECT_EQ(mode(profiles::DefaultPath()), 0600);
}

TEST_F(Profiles, FindFailsWhenNoNameMatchesAndLeavesTheResultAlone) {
    writeConfig({makeProfile("one"), makeProfile(" padded ")});
    ProfileRecord out = makeProfile("untouched");
    EXPECT_FALSE(profiles::Find("padded", &out));   // the trimmed name of a stored " padded "
    EXPECT_EQ(profiles::Field(out.name), "untouched");
    EXPECT_TRUE(profiles::Find(" padded ", &out));
    EXPECT_EQ(profiles::Field(out.name), " padded ");
    QFile::remove(profiles::ConfigPath());
    EXPECT_FALSE(profiles::Find("one", &out));
}

TEST_F(Profiles, DamagedConfigIsNeitherListedPastTheDamageNorChanged) {
    damageConfig();
    const QByteArray before = config();
    std::vector<ProfileRecord> rs;
    EXPECT_EQ(profiles::ReadAll(&rs), profiles::ListResult::Damaged);
    EXPECT_EQ(rs.size(), 3u);   // only the whole records
    EXPECT_FALSE(profiles::Append(makeProfile("new")));
    EXPECT_FALSE(profiles::Replace(makeProfile("Internet APN"), makeProfile("x")));
    EXPECT_FALSE(profiles::SetDefault("Internet APN"));
    EXPECT_FALSE(profiles::Delete("Internet APN"));
    EXPECT_FALSE(profiles::StoreCurrent());
    EXPECT_EQ(config(), before);
}

TEST_F(Profiles, AppendCreatesAMissingFileOwnerOnly) {
    QFile::remove(profiles::ConfigPath());
    ASSERT_TRUE(profiles::Append(makeProfile("first")));
    EXPECT_EQ(names(), std::vector<std::string>{"first"});
    EXPECT_EQ(mode(profiles::ConfigPath()), 0600);
    ASSERT_TRUE(profiles::Append(makeProfile("second")));
    EXPECT_EQ(config().size(), 2 * 457);
}

TEST_F(Profiles, DeleteRemovesTheLastMatchAndNeverLeavesTheTempFile) {
    const ProfileRecord current = profiles::CurrentProfile();
    writeConfig({current, makeProfile("b"), makeProfile("c"), makeProfile("dup", "first"), makeProfile("dup", "second")});
    ASSERT_TRUE(profiles::Delete("dup"));
    ProfileRecord r;
    ASSERT_TRUE(profiles::Find("dup", &r));
    EXPECT_EQ(profiles::Field(r.apn), "first");
    EXPECT_FALSE(QFile::exists(profiles::TempPath()));
    EXPECT_EQ(mode(profiles::ConfigPath()), 0600);
    ASSERT_TRUE(profiles::Delete("dup"));   // the last non-built-in one
    EXPECT_EQ(names().size(), 3u);
    EXPECT_FALSE(profiles::Delete("nobody"));
    EXPECT_FALSE(profiles::Delete(profiles::Field(current.name)));   // the default stays
    EXPECT_EQ(names().size(), 3u);
    EXPECT_FALSE(QFile::exists(profiles::TempPath()));
}

TEST_F(Profiles, AnInterruptedDeleteKeepsTheWholeConfig) {
    writeConfig({makeProfile("a"), makeProfile("b"), makeProfile("c"), makeProfile("d")});
    const QByteArray before = config();
    // The temporary file cannot be written: the delete fails before touching config.ran.
    ASSERT_TRUE(QDir().mkpath(profiles::TempPath() + QStringLiteral(".tmp")));
    EXPECT_FALSE(profiles::Delete("d"));
    EXPECT_EQ(config(), before);
    EXPECT_FALSE(QFile::exists(profiles::TempPath()));
    QDir(profiles::TempPath() + QStringLiteral(".tmp")).removeRecursively();
}

TEST_F(Profiles, ReplaceRewritesTheDefaultOnlyForTheCurrentProfile) {
    const ProfileRecord current = profiles::CurrentProfile();
    const std::string currentName = profiles::Field(current.name);
    writeConfig({current, makeProfile("other"), makeProfile("other")});
    ASSERT_TRUE(profiles::Replace(makeProfile("other"), makeProfile("renamed", "apn.a")));
    EXPECT_EQ(names(), (std::vector<std::string>{currentName, "renamed", "renamed"}));
    ProfileRecord def{};
    ASSERT_TRUE(profiles::ReadDefaultFile(&def));
    EXPECT_EQ(profiles::Field(def.name), currentName);

    ASSERT_TRUE(profiles::Replace(current, makeProfile("mine", "apn.b")));
    ASSERT_TRUE(profiles::ReadDefaultFile(&def));
    EXPECT_EQ(profiles::Field(def.apn), "apn.b");
    EXPECT_EQ(profiles::Field(profiles::CurrentProfile().name), "mine");
}

TEST_F(Profiles, SetDefaultOfAMissingNameSucceedsAndChangesNothing) {
    const QByteArray before = files::ReadAll(profiles::DefaultPath()).value();
    EXPECT_TRUE(profiles::SetDefault("no such profile"));
    EXPECT_EQ(files::ReadAll(profiles::DefaultPath()).value(), before);
    ASSERT_TRUE(profiles::SetDefault("Internet APN"));
    EXPECT_EQ(profiles::Field(profiles::CurrentProfile().name), "Internet APN");
    profiles::ModemParameters m;
    ASSERT_TRUE(profiles::DefaultModemParameters(&m));
    EXPECT_EQ(m.apn, "internet");
    EXPECT_EQ(m.pdpType, "IP");
    EXPECT_EQ(m.pdpAddress, "");
}

TEST_F(Profiles, StoreCurrentNeedsTheDefaultFileThenReplacesOrAppends) {
    ProfileRecord& cur = profiles::CurrentProfile();
    profiles::SetField(cur.saveFlag, "1");
    ASSERT_TRUE(profiles::Scramble("alice", cur.userName));
    ASSERT_TRUE(profiles::StoreCurrent());
    ProfileRecord r;
    ASSERT_TRUE(profiles::Find(profiles::Field(cur.name), &r));
    EXPECT_EQ(profiles::Unscramble(r.userName), "alice");
    EXPECT_EQ(names().size(), 3u);

    cur = makeProfile("brand new");
    ASSERT_TRUE(profiles::StoreCurrent());
    EXPECT_EQ(names().back(), "brand new");

    QFile::remove(profiles::DefaultPath());
    const QByteArray before = config();
    EXPECT_FALSE(profiles::StoreCurrent());
    EXPECT_EQ(config(), before);
    EXPECT_FALSE(QFile::exists(profiles::DefaultPath()));
}

TEST_F(Profiles, MissingOrShortDefaultLeavesAnEmptyCurrentProfile) {
    ASSERT_TRUE(files::WriteAtomic(profiles::DefaultPath(), QByteArray(100, 'x'), true));
    EXPECT_FALSE(profiles::LoadDefault());
    EXPECT_EQ(profiles::Field(profiles::CurrentProfile().name), "");
    profiles::ModemParameters m;
    EXPECT_FALSE(profiles::DefaultModemParameters(&m));
}

}  // namespace
