// The phonebook store on the running core and the simulated card: capacity
// refusals, fitting on add, change and delete through the library first,
// the number search, groups, and the exchange files.
#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <cstring>
#include <string>
#include <vector>

#include "core/bl.h"
#include "phonebook/domain/pb_exchange.h"
#include "phonebook/domain/pb_files.h"
#include "phonebook/domain/tbl_pb.h"
#include "platform/codepage.h"
#include "tests/fixture/core_fixture.h"
#include "velkdev/sim/control.h"

namespace {

_VELK_CONTACT_RECORD contact(std::uint8_t storage, const std::string& name, const std::string& mobile,
                             std::uint32_t group = 0) {
    _VELK_CONTACT_RECORD r{};
    r.storage = storage;
    r.groupId = group;
    std::strncpy(r.name, name.c_str(), sizeof r.name - 1);
    std::strncpy(r.numbers[SLOT_MOBILE].number, mobile.c_str(), sizeof r.numbers[0].number - 1);
    return r;
}

std::uint32_t libraryCount(std::uint8_t storage) {
    std::uint32_t n = 0;
    EXPECT_EQ(Velk_GetContactCount(storage, &n), 0);
    return n;
}

std::uint32_t storeCount(std::uint8_t storage) {
    std::uint32_t n = 0;
    EXPECT_EQ(BL_GetContactCount(&n, storage), 0);
    return n;
}

std::vector<std::string> names(std::uint8_t storage) {
    std::vector<std::string> out;
    const _VELK_CONTACT_RECORD* r = nullptr;
    for (auto code = BL_GetFirstContactRef(&r, storage); code == 0; code = BL_GetNextContactRef(&r, storage))
        out.emplace_back(r->name);
    return out;
}

class PhonebookStore : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        codepage::SetName("CP936");
        velk_sim::ResetScenario();
        velk_sim::SetInstantTiming(true);
        velk_sim::ClearFailures();
        StartCore();
        velk_sim::Flush();
        // As the phonebook window does once the card is ready: the SIM's
        // limits are known from here on.
        ASSERT_EQ(BL_LoadSIMPhonebook(), 0);
    }
    void TearDown() override {
        CoreFixture::TearDown();
        velk_sim::ResetScenario();
    }
    // Changes one storage's field sizes and lets the store see them.
    void ChangeSizes(std::uint8_t storage, void (*change)(_VELK_FIELD_SIZES&)) {
        _VELK_FIELD_SIZES f{};
        f.cbSize = sizeof f;
        f.storage = storage;
        ASSERT_EQ(Velk_GetFieldSizes(&f), 0);
        change(f);
        velk_sim::SetFieldSizes(storage, f);
        ASSERT_EQ(BL_LoadSIMPhonebook(), 0);
    }
    void Restart() {
        StopCore();
        StartCore();
        velk_sim::Flush();
    }
};

TEST_F(PhonebookStore, FullStorageIsRefusedWithoutTouchingTheLibrary) {
    const struct {
        std::uint8_t storage;
        std::uint16_t code;
    } cases[] = {{STORAGE_PC, 4400}, {STORAGE_ME, 4401}, {STORAGE_SIM, 4402}};
    for (const auto& c : cases) {
        ChangeSizes(c.storage, [](_VELK_FIELD_SIZES& f) { f.contactCapacity = 2; });
        for (int i = 0; i < 2; ++i) {
            _VELK_CONTACT_RECORD r = contact(c.storage, "N" + std::to_string(i), "100" + std::to_string(i));
            const _VELK_CONTACT_RECORD* stored = nullptr;
            ASSERT_EQ(BL_AddContact(&r, &stored), 0) << int(c.storage);
            ASSERT_NE(stored, nullptr);
            EXPECT_EQ(+stored->index, +r.index);
        }
        _VELK_CONTACT_RECORD third = contact(c.storage, "third", "2000");
        const _VELK_CONTACT_RECORD* stored = &third;
        velk_sim::FailNext("Velk_NewContact", 99);  // would show if the library were called
        EXPECT_EQ(BL_AddContact(&third, &stored), c.code);
        EXPECT_EQ(stored, nullptr);
        EXPECT_EQ(libraryCount(c.storage), 2u);
        EXPECT_EQ(storeCount(c.storage), 2u);
        velk_sim::ClearFailures();
    }
}

TEST_F(PhonebookStore, AddFitsTheRecordAndTheContactSurvivesARestart) {
    ChangeSizes(STORAGE_PC, [](_VELK_FIELD_SIZES& f) {
        f.nameSize = 140;  // 20 characters of 7 bits
        f.nameMask = 1;
    });
    _VELK_CONTACT_RECORD r = contact(STORAGE_PC, std::string(200, 'A'), "13800138000");
    const _VELK_CONTACT_RECORD* stored = nullptr;
    ASSERT_EQ(BL_AddContact(&r, &stored), 0);
    EXPECT_EQ(std::string(r.name), std::string(20, 'A'));  // the caller's record is fitted too
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(std::string(stored->name), std::string(20, 'A'));

    // A Chinese name on the SIM: 14 7-bit or 6 UCS-2 characters.
    const std::string han = codepage::FromQString(QString::fromUtf8("张三李四王五赵六钱七")).toStdString();
    _VELK_CONTACT_RECORD s = contact(STORAGE_SIM, han, "10086");
    ASSERT_EQ(BL_AddContact(&s, &stored), 0);
    EXPECT_EQ(codepage::ToQString(stored->name), QString::fromUtf8("张三李四王五"));

    Restart();
    EXPECT_EQ(names(STORAGE_PC), std::vector<std::string>{std::string(20, 'A')});
    EXPECT_EQ(storeCount(STORAGE_PC), 1u);
    EXPECT_TRUE(names(STORAGE_SIM).empty());  // not loaded until asked
    ASSERT_EQ(BL_LoadSIMPhonebook(), 0);
    ASSERT_EQ(names(STORAGE_SIM).size(), 1u);
    EXPECT_EQ(codepage::ToQString(names(STORAGE_SIM)[0].c_str()), QString::fromUtf8("张三李四王五"));
}

TEST_F(PhonebookStore, ChangeAndDeleteReachTheCacheOnlyWhenTheLibraryAccepts) {
    _VELK_CONTACT_RECORD a = contact(STORAGE_PC, "Anna", "111");
    _VELK_CONTACT_RECORD b = contact(STORAGE_PC, "Bert", "222");
    const _VELK_CONTACT_RECORD* stored = nullptr;
    ASSERT_EQ(BL_AddContact(&a, &stored), 0);
    ASSERT_EQ(BL_AddContact(&b, &stored), 0);

    _VELK_CONTACT_RECORD changed = a;
    std::strcpy(changed.name, "Anne");
    velk_sim::FailNext("Velk_SetContact", 1);
    EXPECT_EQ(BL_ChangeContact(&changed), 1);
    EXPECT_EQ(names(STORAGE_PC), (std::vector<std::string>{"Anna", "Bert"}));
    ASSERT_EQ(BL_ChangeContact(&changed), 0);
    EXPECT_EQ(names(STORAGE_PC), (std::vector<std::string>{"Anne", "Bert"}));

    // Delete through the stored copy itself, as the list rows do.
    const _VELK_CONTACT_RECORD* first = nullptr;
    ASSERT_EQ(BL_GetFirstContactRef(&first, STORAGE_PC), 0);
    velk_sim::FailNext("Velk_DeleteContact", 1);
    EXPECT_EQ(BL_DeleteContact(first), 1);
    EXPECT_EQ(storeCount(STORAGE_PC), 2u);
    ASSERT_EQ(BL_DeleteContact(first), 0);
    EXPECT_EQ(names(STORAGE_PC), std::vector<std::string>{"Bert"});
    EXPECT_EQ(storeCount(STORAGE_PC), 1u);
    EXPECT_EQ(libraryCount(STORAGE_PC), 1u);
    Restart();
    EXPECT_EQ(names(STORAGE_PC), std::vector<std::string>{"Bert"});
}

TEST_F(PhonebookStore, NumberSearchFindsAStoredNumberInsideTheText) {
    const _VELK_CONTACT_RECORD* stored = nullptr;
    _VELK_CONTACT_RECORD empty = contact(STORAGE_PC, "Nobody", "");
    _VELK_CONTACT_RECORD li = contact(STORAGE_PC, "Li", "13800138000");
    ASSERT_EQ(BL_AddContact(&empty, &stored), 0);
    ASSERT_EQ(BL_AddContact(&li, &stored), 0);
    struct Case {
        const char* text;
        std::uint8_t storage;
        std::uint16_t code;
    } cases[] = {
        {"+8613800138000", STORAGE_PC, 0}, {"13800138000", STORAGE_PC, 0}, {"138001", STORAGE_PC, 5},
        {"", STORAGE_PC, 5},               {"+8613800138000", STORAGE_SIM, 5}, {"+8613800138000", 9, 5},
    };
    for (const Case& c : cases) {
        _VELK_CONTACT_RECORD buf{};
        buf.storage = c.storage;
        EXPECT_EQ(BL_FindContactByNumber(c.text, &buf), c.code) << c.text;
        if (c.code == 0) {
            EXPECT_STREQ(buf.name, "Li");
        }
    }
    _VELK_CONTACT_RECORD buf{};
    EXPECT_EQ(BL_FindContactByNumber(nullptr, &buf), 5);
    EXPECT_EQ(BL_FindContactByNumber("138", nullptr), 5);
}

_VELK_GROUP_RECORD group(std::uint8_t storage, const char* name, std::int32_t id = 0) {
    _VELK_GROUP_RECORD g{};
    g.cbSize = sizeof g;
    g.id = id;
    g.storage = storage;
    std::strncpy(g.name, name, sizeof g.name - 1);
    return g;
}

TEST_F(PhonebookStore, GroupIdsStartAt2009FollowTheHighestAndStopAt20) {
    _VELK_GROUP_RECORD g = group(STORAGE_PC, "my group");
    ASSERT_EQ(BL_AddGroup(&g), 0);
    EXPECT_EQ(+g.id, 2009);
    // A group the library already holds with a higher id.
    _VELK_GROUP_RECORD outside = group(STORAGE_PC, "imported", 2015);
    ASSERT_EQ(Velk_SaveGroup(&outside), 0);
    Restart();
    _VELK_GROUP_RECORD next = group(STORAGE_PC, "my group 0");
    ASSERT_EQ(BL_AddGroup(&next), 0);
    EXPECT_EQ(+next.id, 2016);
    for (int i = 3; i < 20; ++i) {
        _VELK_GROUP_RECORD more = group(STORAGE_PC, ("g" + std::to_string(i)).c_str());
        ASSERT_EQ(BL_AddGroup(&more), 0) << i;
    }
    _VELK_GROUP_RECORD last = group(STORAGE_PC, "one too many");
    EXPECT_EQ(BL_AddGroup(&last), 17);
    const _VELK_GROUP_RECORD* table = nullptr;
    std::uint32_t count = 0;
    ASSERT_EQ(BL_GetGroups(&table, STORAGE_PC, &count), 0);
    EXPECT_EQ(count, 20u);
    EXPECT_STREQ(table[1].name, "imported");

    _VELK_GROUP_RECORD sim = group(STORAGE_SIM, "sim");
    EXPECT_EQ(BL_AddGroup(&sim), 5003);
    EXPECT_EQ(BL_DeleteGroup(PB_SIM_GROUP_ID, STORAGE_SIM), 5003);
    EXPECT_EQ(BL_RenameGroup(&sim), 5003);  // the library refuses it
    ASSERT_EQ(BL_GetGroups(&table, STORAGE_SIM, &count), 0);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(+table[0].id, PB_SIM_GROUP_ID);
}

TEST_F(PhonebookStore, RenameAndDeleteGroupWithItsMembers) {
    _VELK_GROUP_RECORD friends = group(STORAGE_PC, "friends");
    _VELK_GROUP_RECORD work = group(STORAGE_PC, "work");
    ASSERT_EQ(BL_AddGroup(&friends), 0);
    ASSERT_EQ(BL_AddGroup(&work), 0);
    EXPECT_EQ(BL_DeleteGroupContacts(friends.id, STORAGE_PC), 17);  // no PC contacts at all
    const _VELK_CONTACT_RECORD* stored = nullptr;
    for (auto [name, id] : {std::pair{"A", friends.id}, {"B", work.id}, {"C", friends.id}}) {
        _VELK_CONTACT_RECORD r = contact(STORAGE_PC, name, "1", static_cast<std::uint32_t>(id));
        ASSERT_EQ(BL_AddContact(&r, &stored), 0);
    }
    _VELK_GROUP_RECORD renamed = friends;
    std::strcpy(renamed.name, "old friends");
    ASSERT_EQ(BL_RenameGroup(&renamed), 0);
    _VELK_GROUP_RECORD name{};
    name.storage = STORAGE_PC;
    ASSERT_EQ(BL_GetGroupName(friends.id, &name), 0);
    EXPECT_STREQ(name.name, "old friends");
    name.storage = STORAGE_SIM;
    EXPECT_EQ(BL_GetGroupName(friends.id, &name), 13);

    ASSERT_EQ(BL_DeleteGroup(friends.id, STORAGE_PC), 0);
    ASSERT_EQ(BL_DeleteGroupContacts(friends.id, STORAGE_PC), 0);
    EXPECT_EQ(names(STORAGE_PC), std::vector<std::string>{"B"});
    EXPECT_EQ(BL_DeleteGroupContacts(friends.id, STORAGE_PC), 13);  // no members left
    const _VELK_GROUP_RECORD* table = nullptr;
    std::uint32_t count = 0;
    ASSERT_EQ(BL_GetGroups(&table, STORAGE_PC, &count), 0);
    ASSERT_EQ(count, 1u);
    EXPECT_STREQ(table[0].name, "work");
    EXPECT_EQ(+table[1].id, 0);  // the freed slot is cleared
    Restart();
    ASSERT_EQ(BL_GetGroups(&table, STORAGE_PC, &count), 0);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(libraryCount(STORAGE_PC), 1u);
}

TEST_F(PhonebookStore, ImportTakesWholeRecordsAndSkipsForeignStorage) {
    const _VELK_CONTACT_RECORD* stored = nullptr;
    _VELK_CONTACT_RECORD a = contact(STORAGE_PC, "Anna", "111");
    _VELK_CONTACT_RECORD b = contact(STORAGE_SIM, "Bert", "222");
    ASSERT_EQ(BL_AddContact(&a, &stored), 0);
    ASSERT_EQ(BL_AddContact(&b, &stored), 0);
    const QString path = FilePath(pbfile::kRecordFileName);
    ASSERT_TRUE(pbfile::WriteRecords(path, {&a, &b}));

    // A record naming storage 7 and an unterminated name, then a fragment.
    _VELK_CONTACT_RECORD bad = contact(STORAGE_PC, "bad", "333");
    bad.storage = 7;
    QByteArray image = pbfile::RecordImage({&a, &b, &bad});
    _VELK_CONTACT_RECORD loose = contact(STORAGE_PC, "", "444");
    std::memset(loose.name, 'L', sizeof loose.name);
    image += pbfile::RecordImage({&loose});
    image += QByteArray(100, 'x');
    const QString damaged = FilePath(QStringLiteral("damaged.dat"));
    QFile f(damaged);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(image);
    f.close();

    const pbfile::ImportOutcome out = pbfile::Import(damaged);
    EXPECT_TRUE(out.opened);
    EXPECT_EQ(out.added, 3);
    EXPECT_EQ(out.skipped, 1u);
    EXPECT_EQ(out.fragmentBytes, 100u);
    EXPECT_EQ(storeCount(STORAGE_PC), 3u);
    EXPECT_EQ(storeCount(STORAGE_SIM), 2u);
    // The unterminated name came in cut inside its field.
    const std::vector<std::string> pc = names(STORAGE_PC);
    ASSERT_EQ(pc.size(), 3u);
    EXPECT_LE(pc[2].size(), 127u);
    EXPECT_EQ(pc[2].find_first_not_of('L'), std::string::npos);

    EXPECT_FALSE(pbfile::Import(FilePath(QStringLiteral("missing.dat"))).opened);
}

TEST_F(PhonebookStore, ExportImportRoundTripAndTextLines) {
    _VELK_GROUP_RECORD g = group(STORAGE_PC, "family");
    ASSERT_EQ(BL_AddGroup(&g), 0);
    const _VELK_CONTACT_RECORD* stored = nullptr;
    _VELK_CONTACT_RECORD a = contact(STORAGE_PC, "Anna", "111", static_cast<std::uint32_t>(g.id));
    std::strcpy(a.numbers[SLOT_HOME].number, "222");
    std::strcpy(a.numbers[SLOT_PHONE1].number, "333");
    std::strcpy(a.email, "anna@example.org");
    ASSERT_EQ(BL_AddContact(&a, &stored), 0);
    const QString dat = FilePath(pbfile::kRecordFileName);
    ASSERT_TRUE(pbfile::WriteRecords(dat, {stored}));
    pbfile::ReadResult read;
    ASSERT_TRUE(pbfile::ReadRecords(dat, &read));
    ASSERT_EQ(read.records.size(), 1u);
    EXPECT_EQ(std::memcmp(&read.records[0], stored, sizeof *stored), 0);

    ASSERT_EQ(pbfile::Import(dat).added, 1);
    const std::vector<std::string> pc = names(STORAGE_PC);
    EXPECT_EQ(pc, (std::vector<std::string>{"Anna", "Anna"}));
    _VELK_CONTACT_RECORD found{};
    found.storage = STORAGE_PC;
    ASSERT_EQ(BL_FindContactByNumber("333", &found), 0);
    EXPECT_STREQ(found.email, "anna@example.org");

    _VELK_CONTACT_RECORD loner = contact(STORAGE_PC, "Bo", "9", 4242);  // a group that does not exist
    const QString txt = FilePath(pbfile::kTextFileName);
    ASSERT_TRUE(pbfile::WriteText(txt, {stored, &loner}));
    QFile f(txt);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("Anna\t111\t222\t333\tfamily\r\nBo\t9\t\t\t\r\n"));
}

TEST_F(PhonebookStore, CardMemoryLoadsContactsAndAnEmptyGroupTable) {
    _VELK_CONTACT_RECORD r = contact(STORAGE_ME, "Card", "555");
    const _VELK_CONTACT_RECORD* stored = nullptr;
    ASSERT_EQ(BL_AddContact(&r, &stored), 0);
    Restart();
    EXPECT_EQ(BL_LoadMEPhonebook(), 0);
    EXPECT_EQ(names(STORAGE_ME), std::vector<std::string>{"Card"});
    const _VELK_GROUP_RECORD* table = nullptr;
    std::uint32_t count = 9;
    ASSERT_EQ(BL_GetGroups(&table, STORAGE_ME, &count), 0);
    EXPECT_EQ(count, 0u);

    velk_sim::FailNext("Velk_LoadContacts", 7302);
    EXPECT_EQ(BL_LoadMEPhonebook(), 7302);
}

TEST_F(PhonebookStore, AllowedNumberCharactersAreTerminatedInside32Bytes) {
    char chars[32];
    std::memset(chars, 'z', sizeof chars);
    ASSERT_EQ(BL_GetNumberChars(chars), 0);
    EXPECT_STREQ(chars, "0123456789+*#pPwW");
    ChangeSizes(STORAGE_PC, [](_VELK_FIELD_SIZES& f) { std::memset(f.numberChars, '7', sizeof f.numberChars); });
    ASSERT_EQ(BL_GetNumberChars(chars), 0);
    EXPECT_EQ(strnlen(chars, sizeof chars), 31u);
}

TEST_F(PhonebookStore, WithoutACoreEveryCallAnswers4001) {
    StopCore();
    _VELK_CONTACT_RECORD r = contact(STORAGE_PC, "x", "1");
    _VELK_GROUP_RECORD g = group(STORAGE_PC, "g");
    const _VELK_CONTACT_RECORD* ref = &r;
    const _VELK_GROUP_RECORD* table = &g;
    std::uint32_t count = 5;
    char chars[32] = "x";
    EXPECT_EQ(BL_LoadMEPhonebook(), 4001);
    EXPECT_EQ(BL_LoadSIMPhonebook(), 4001);
    EXPECT_EQ(BL_LoadPCPhonebook(), 4001);
    EXPECT_EQ(BL_GetGroups(&table, STORAGE_PC, &count), 4001);
    EXPECT_EQ(table, nullptr);
    EXPECT_EQ(count, 0u);
    count = 5;
    EXPECT_EQ(BL_GetContactCount(&count, STORAGE_PC), 4001);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(BL_GetFirstContactRef(&ref, STORAGE_PC), 4001);
    EXPECT_EQ(ref, nullptr);
    EXPECT_EQ(BL_GetNextContactRef(&ref, STORAGE_PC), 4001);
    EXPECT_EQ(BL_AddContact(&r, &ref), 4001);
    EXPECT_EQ(BL_ChangeContact(&r), 4001);
    EXPECT_EQ(BL_DeleteContact(&r), 4001);
    EXPECT_EQ(BL_FindContactByNumber("1", &r), 4001);
    EXPECT_EQ(BL_GetNumberChars(chars), 4001);
    EXPECT_EQ(chars[0], 0);
    EXPECT_EQ(BL_GetGroupName(1, &g), 4001);
    EXPECT_EQ(BL_RenameGroup(&g), 4001);
    EXPECT_EQ(BL_AddGroup(&g), 4001);
    EXPECT_EQ(BL_DeleteGroup(1, STORAGE_PC), 4001);
    EXPECT_EQ(BL_DeleteGroupContacts(1, STORAGE_PC), 4001);
}

}  // namespace
