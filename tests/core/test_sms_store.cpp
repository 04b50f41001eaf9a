// The SMS store on the running core and the simulated card: loading and
// joining, counts and capacities, saving (single, in parts, to recipients),
// deleting, marking read, and the arrival of new messages.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/allsettings.h"
#include "core/base.h"
#include "core/messages.h"
#include "core/settings_store.h"
#include "platform/codepage.h"
#include "phonebook/domain/bl_pb.h"
#include "platform/files.h"
#include "sms/domain/bl_sms.h"
#include "sms/domain/sms_limits.h"
#include "sms/domain/tbl_sms.h"
#include "tests/fixture/core_fixture.h"
#include "velkdev/sim/control_sms.h"

namespace {

// The registered window: keeps each new-message record and counts 1530.
class MainWindow : public MessageTarget {
public:
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM) override {
        if (msg == UM_SMS_NEW) arrived.emplace_back(reinterpret_cast<SmsRecord*>(w));
        if (msg == UM_SMS_COUNTS) ++countsPosted;
        return 0;
    }
    std::vector<std::unique_ptr<SmsRecord>> arrived;
    int countsPosted = 0;
};

velk_sim::IncomingSms part(const std::string& sender, std::uint16_t ref, std::uint8_t total, std::uint8_t no,
                           const std::string& text) {
    velk_sim::IncomingSms m;
    m.sender = sender;
    m.reference = ref;
    m.total = total;
    m.part = no;
    m.text = text;
    return m;
}

velk_sim::IncomingSms plain(const std::string& text, const std::string& sender = "+8613900000001") {
    velk_sim::IncomingSms m;
    m.sender = sender;
    m.text = text;
    return m;
}

class SmsStore : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        velk_sim::ResetScenario();
        velk_sim::SetInstantTiming(true);
        velk_sim::ClearFailures();
    }
    void TearDown() override {
        if (coreStarted_) StopCore();
        velk_sim::ResetScenario();
        CoreFixture::TearDown();
    }
    // Starts the core with the card's stores ready and the window registered.
    void Start() {
        StartCore();
        BL_RegisterWindow(window_.Handle(), 0);
        Settle();
        // The card is ready now: the limits are read again, as at device state 12.
        ASSERT_EQ(BL_base()->set->RefreshCapacities(), 0);
    }
    void Settle() {
        velk_sim::Flush();
        QCoreApplication::processEvents();
        velk_sim::Flush();
        QCoreApplication::processEvents();
    }
    // Every record of a folder (0 all) of a store, as the windows enumerate.
    std::vector<SmsRecord> Enumerate(std::uint8_t storage, std::uint8_t folder = FOLDER_ALL) {
        std::vector<SmsRecord> out;
        SmsRecord r{};
        r.storage = storage;
        r.folder = folder;
        for (std::uint16_t res = BL_GetFirstSms(&r); res == 0; res = BL_GetNextSms(&r)) out.push_back(r);
        return out;
    }
    // Changes what the running card reports and lets the settings store reread it.
    static void SetMessageCapacity(std::uint8_t storage, std::uint32_t capacity) {
        _VELK_FIELD_SIZES f{};
        f.cbSize = sizeof f;
        f.storage = storage;
        ASSERT_EQ(Velk_GetFieldSizes(&f), 0);
        f.messageCapacity = capacity;
        SetFieldSizes(storage, f);
    }
    static void SetFieldSizes(std::uint8_t storage, const _VELK_FIELD_SIZES& f) {
        velk_sim::SetFieldSizes(storage, f);
        BL_base()->set->RefreshCapacities();
    }
    SmsRecord Draft(std::uint8_t storage, const std::string& body) {
        SmsRecord r{};
        r.storage = storage;
        r.status = SMS_UNSENT;
        r.folder = FOLDER_DRAFTS;
        std::strncpy(r.body, body.c_str(), sizeof r.body - 1);
        return r;
    }
    TBL_sms& Store() { return *BL_base()->sms; }

    MainWindow window_;
};

// ---- loading and joining --------------------------------------------------

TEST_F(SmsStore, LoadingAnEmptyStoreGivesNothing) {
    Start();
    EXPECT_EQ(BL_LoadSms(STORAGE_PC), 0);
    EXPECT_TRUE(Enumerate(STORAGE_PC).empty());
    EXPECT_EQ(BL_GetSmsCount(0, STORAGE_PC), 0);
}

TEST_F(SmsStore, LoadingTheCardStoreRereadsTheComputerStore) {
    Start();
    velk_sim::StoreSms(STORAGE_ME, {plain("on the card")});
    velk_sim::StoreSms(STORAGE_PC, {plain("on the computer")});
    EXPECT_TRUE(Enumerate(STORAGE_PC).empty());  // loaded at start, before it was stored
    ASSERT_EQ(BL_LoadSms(STORAGE_ME), 0);
    EXPECT_EQ(Enumerate(STORAGE_ME).size(), 1u);
    EXPECT_EQ(Enumerate(STORAGE_PC).size(), 1u);
    EXPECT_EQ(Store().GrandTotal(), 2);
}

TEST_F(SmsStore, LoadFailuresArePassedOnAndNoEntryIsNone) {
    Start();
    velk_sim::FailNext("Velk_LoadMessages", 7302);
    EXPECT_EQ(BL_LoadSms(STORAGE_SIM), 7302);
    velk_sim::FailNext("Velk_LoadMessages", 13);
    EXPECT_EQ(BL_LoadSms(STORAGE_SIM), 0);
    velk_sim::StoreSms(STORAGE_SIM, {plain("a")});
    ASSERT_EQ(BL_LoadSms(STORAGE_SIM), 0);
    ASSERT_EQ(Enumerate(STORAGE_SIM).size(), 1u);
    velk_sim::FailNext("Velk_GetFirstMessage", 7309);
    EXPECT_EQ(BL_LoadSms(STORAGE_SIM), 7309);
    EXPECT_TRUE(Enumerate(STORAGE_SIM).empty());  // a failed load leaves the list empty
    EXPECT_EQ(BL_GetSmsCount(0, STORAGE_SIM), 0);
}

struct JoinCase {
    const char* what;
    std::vector<velk_sim::IncomingSms> stored;   // in the library's order
    std::vector<std::string> bodies;             // records after the load, in list order
    std::vector<int> partCounts;
};

class Joining : public SmsStore, public ::testing::WithParamInterface<JoinCase> {};

TEST_P(Joining, RecordsAfterLoad) {
    const JoinCase& c = GetParam();
    Start();
    ASSERT_EQ(velk_sim::StoreSms(STORAGE_PC, c.stored), static_cast<int>(c.stored.size()));
    ASSERT_EQ(BL_LoadSms(STORAGE_PC), 0);
    const std::vector<SmsRecord> got = Enumerate(STORAGE_PC);
    ASSERT_EQ(got.size(), c.bodies.size()) << c.what;
    int total = 0;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(std::string(got[i].body), c.bodies[i]) << c.what << " record " << i;
        EXPECT_EQ(SmsPartCount(got[i]), c.partCounts[i]) << c.what << " record " << i;
        total += c.partCounts[i];
    }
    EXPECT_EQ(BL_GetSmsCount(FOLDER_INBOX, STORAGE_PC), total) << c.what;
}

const std::string A = "+8613900000001";
const std::string B = "+8613900000002";

INSTANTIATE_TEST_SUITE_P(
    Parts, Joining,
    ::testing::Values(
        JoinCase{"parts met 2, 1, 3 join in that order",
                 {part(A, 7, 3, 2, "two-"), part(A, 7, 3, 1, "one-"), part(A, 7, 3, 3, "three")},
                 {"two-one-three"},
                 {3}},
        JoinCase{"six parts make five and one",
                 {part(A, 9, 6, 1, "1"), part(A, 9, 6, 2, "2"), part(A, 9, 6, 3, "3"), part(A, 9, 6, 4, "4"),
                  part(A, 9, 6, 5, "5"), part(A, 9, 6, 6, "6")},
                 {"12345", "6"},
                 {5, 1}},
        JoinCase{"two numbers stay apart",
                 {part(A, 7, 2, 1, "a1"), part(B, 7, 2, 1, "b1"), part(A, 7, 2, 2, "a2"), part(B, 7, 2, 2, "b2")},
                 {"a1a2", "b1b2"},
                 {2, 2}},
        JoinCase{"a repeated part number starts another message",
                 {part(A, 5, 2, 1, "x"), part(A, 5, 2, 1, "y"), part(A, 5, 2, 2, "z")},
                 {"xz", "y"},
                 {2, 1}},
        JoinCase{"plain messages keep their place before joined ones",
                 {plain("hello"), part(A, 3, 2, 2, "B"), plain("world"), part(A, 3, 2, 1, "A")},
                 {"hello", "world", "BA"},
                 {1, 1, 2}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(SmsStore, JoinedSlotsNameThePartsInMetOrder) {
    Start();
    velk_sim::StoreSms(STORAGE_PC, {part(A, 7, 3, 2, "b"), part(A, 7, 3, 1, "a"), part(A, 7, 3, 3, "c")});
    ASSERT_EQ(BL_LoadSms(STORAGE_PC), 0);
    const auto recs = Enumerate(STORAGE_PC);
    ASSERT_EQ(recs.size(), 1u);
    const auto stored = velk_sim::StoredMessages(STORAGE_PC);
    ASSERT_EQ(stored.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        // packed fields: read by value before comparing
        const std::uint32_t present = recs[0].partSlots[i].present;
        const std::uint16_t index = recs[0].partSlots[i].index, storedIndex = stored[i].index;
        EXPECT_EQ(present, 1u);
        EXPECT_EQ(index, storedIndex);
        EXPECT_EQ(recs[0].partSlots[i].partNumber, stored[i].partNumber);
    }
    const std::uint16_t index = recs[0].index, firstMet = stored[0].index;
    EXPECT_EQ(index, firstMet);  // the first part met
}

TEST_F(SmsStore, FiveDoubleByteBodiesStayWithinTheBodyField) {
    Start();
    // 5 parts of 100 two-byte characters: 1000 bytes would not fit the body.
    const QByteArray ideographs = codepage::FromQString(QString(100, QChar(0x4E2D)));
    std::vector<velk_sim::IncomingSms> parts;
    for (std::uint8_t k = 1; k <= 5; ++k) parts.push_back(part(A, 4, 5, k, ideographs.toStdString()));
    velk_sim::StoreSms(STORAGE_PC, parts);
    ASSERT_EQ(BL_LoadSms(STORAGE_PC), 0);
    const auto recs = Enumerate(STORAGE_PC);
    ASSERT_EQ(recs.size(), 1u);
    const std::size_t len = strnlen(recs[0].body, sizeof recs[0].body);
    EXPECT_EQ(len, 800u);
    EXPECT_EQ(codepage::ToQString(recs[0].body), QString(400, QChar(0x4E2D)));  // whole characters only
}

TEST_F(SmsStore, LongFieldsFromTheCardAreCutAndTerminated) {
    Start();
    velk_sim::IncomingSms m = plain("x", std::string(127, '1'));
    m.serviceCentre = std::string(127, '9');
    velk_sim::StoreSms(STORAGE_PC, {m});
    ASSERT_EQ(BL_LoadSms(STORAGE_PC), 0);
    const auto recs = Enumerate(STORAGE_PC);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(std::string(recs[0].number), std::string(120, '1'));
    EXPECT_EQ(std::string(recs[0].serviceCentre), std::string(123, '9'));
}

// ---- enumeration --------------------------------------------------------

TEST_F(SmsStore, FoldersAndTheEndOfTheWalk) {
    Start();
    velk_sim::IncomingSms sent = plain("sent", A);
    sent.status = SMS_SENT;
    velk_sim::IncomingSms other = plain("other", A);
    other.status = SMS_OTHER;
    velk_sim::StoreSms(STORAGE_PC, {plain("in1"), sent, plain("in2"), other});
    ASSERT_EQ(BL_LoadSms(STORAGE_PC), 0);
    EXPECT_EQ(Enumerate(STORAGE_PC, FOLDER_INBOX).size(), 2u);
    EXPECT_EQ(Enumerate(STORAGE_PC, FOLDER_SENT).size(), 1u);
    EXPECT_EQ(Enumerate(STORAGE_PC, FOLDER_OTHER).size(), 1u);
    EXPECT_EQ(BL_GetSmsCount(0, STORAGE_PC), 3);  // folder 4 is never counted
    EXPECT_EQ(BL_GetSmsCount(4, STORAGE_PC), 0);

    SmsRecord r{};
    r.storage = STORAGE_PC;
    r.folder = FOLDER_SENT;
    ASSERT_EQ(BL_GetFirstSms(&r), 0);
    EXPECT_STREQ(r.body, "sent");
    r.folder = 3;     // changed by the caller: the kept filter comes back
    r.storage = 7;
    EXPECT_EQ(BL_GetNextSms(&r), 13);
    EXPECT_STREQ(r.body, "sent");
    EXPECT_EQ(r.folder, FOLDER_SENT);
    EXPECT_EQ(r.storage, STORAGE_PC);

    SmsRecord bad{};
    bad.storage = 3;
    EXPECT_EQ(BL_GetFirstSms(&bad), 13);
}

TEST_F(SmsStore, EnumerationNamesTheSenderFromThePhonebook) {
    Start();
    _VELK_CONTACT_RECORD c{};
    c.storage = STORAGE_PC;
    std::strcpy(c.name, "Alice");
    std::strcpy(c.numbers[0].number, "13900000001");  // stored without the country prefix
    const _VELK_CONTACT_RECORD* stored = nullptr;
    ASSERT_EQ(BL_AddContact(&c, &stored), 0);
    velk_sim::StoreSms(STORAGE_PC, {plain("hi", "+8613900000001"), plain("who?", "+8613900000009")});
    ASSERT_EQ(BL_LoadSms(STORAGE_PC), 0);
    const auto recs = Enumerate(STORAGE_PC);
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_STREQ(recs[0].name, "Alice");
    EXPECT_STREQ(recs[1].name, "");
    // The list keeps no name: it is looked up on every walk.
    EXPECT_STREQ(Store().List(STORAGE_PC)[0]->name, "");
}

// ---- capacity -----------------------------------------------------------

struct CapacityCase {
    std::uint8_t storage;
    std::uint32_t capacity;
    int stored;
    int bodyChars;     // 161 letters make two parts
    std::uint16_t code;
};

class Capacity : public SmsStore, public ::testing::WithParamInterface<CapacityCase> {};

TEST_P(Capacity, RefusedWithTheStoresCode) {
    const CapacityCase& c = GetParam();
    Start();
    SetMessageCapacity(c.storage, c.capacity);
    std::vector<velk_sim::IncomingSms> fill(static_cast<std::size_t>(c.stored), plain("old"));
    ASSERT_EQ(velk_sim::StoreSms(c.storage, fill), c.stored);
    ASSERT_EQ(BL_LoadSms(c.storage), 0);
    const std::uint16_t before = BL_GetSmsCount(0, c.storage);
    EXPECT_EQ(BL_SaveSms(nullptr, ""), 1);
    SmsRecord r = Draft(c.storage, std::string(static_cast<std::size_t>(c.bodyChars), 'a'));
    EXPECT_EQ(BL_SaveSms(&r, "10086"), c.code);
    const std::size_t expectStored = c.code == 0 ? static_cast<std::size_t>(c.stored) + (c.bodyChars > 160 ? 2 : 1)
                                                 : static_cast<std::size_t>(c.stored);
    EXPECT_EQ(velk_sim::StoredMessages(c.storage).size(), expectStored);
    if (c.code != 0) EXPECT_EQ(BL_GetSmsCount(0, c.storage), before);
}

INSTANTIATE_TEST_SUITE_P(Stores, Capacity,
                         ::testing::Values(CapacityCase{STORAGE_PC, 100, 99, 161, 4204},
                                           CapacityCase{STORAGE_PC, 100, 98, 161, 0},
                                           CapacityCase{STORAGE_PC, 100, 99, 10, 0},
                                           CapacityCase{STORAGE_SIM, 5, 5, 10, 4205},
                                           CapacityCase{STORAGE_ME, 3, 2, 161, 4206}));

TEST_F(SmsStore, NoLimitsFromTheCardMeansNoRoom) {
    Start();
    SetFieldSizes(STORAGE_ME, _VELK_FIELD_SIZES{});  // the text limits are the card memory's
    SmsRecord r = Draft(STORAGE_PC, "hello");
    EXPECT_EQ(BL_SaveSms(&r, "10086"), 6);
    EXPECT_TRUE(velk_sim::StoredMessages(STORAGE_PC).empty());
}

// ---- saving -------------------------------------------------------------

TEST_F(SmsStore, SavedInPartsOnTheSimAndReadBack) {
    Start();
    AllSettingsRecord().smsReference = 254;
    const std::string body = std::string(150, 'x') + "{abc}" + std::string(40, 'y');  // 197 septets
    SmsRecord r = Draft(STORAGE_SIM, body);
    r.status = SMS_SENT;
    r.folder = FOLDER_SENT;
    std::strcpy(r.time, "2026-12-10  09:08:07");
    ASSERT_EQ(BL_SaveSms(&r, "10086"), 0);

    const auto stored = velk_sim::StoredMessages(STORAGE_SIM);
    ASSERT_EQ(stored.size(), 2u);
    for (const auto& d : stored) {
        EXPECT_EQ(d.reference, 255);  // (254 mod 255) + 1
        EXPECT_EQ(d.total, 2);
        EXPECT_EQ(d.coding, 1);
        EXPECT_STREQ(d.recipient, "10086");
        EXPECT_EQ(d.sentTime[0], 2026);
        EXPECT_EQ(d.sentTime[5], 7);
    }
    EXPECT_EQ(stored[0].bodyLength, 153);
    EXPECT_EQ(stored[1].bodyLength, 197 - 153);
    // The counter moved on and the file holds it.
    EXPECT_EQ(AllSettingsRecord().smsReference, 255u);
    EXPECT_EQ(NextSmsReference(), 1);
    const auto file = files::ReadAll(AllSettingsFile());
    ASSERT_TRUE(file && file->size() == 4056);
    std::uint32_t saved = 0;
    std::memcpy(&saved, file->constData() + 4048, 4);
    EXPECT_EQ(saved, 255u);

    // In the list at once as one message, and the same after a reload.
    for (int pass = 0; pass < 2; ++pass) {
        const auto recs = Enumerate(STORAGE_SIM, FOLDER_SENT);
        ASSERT_EQ(recs.size(), 1u) << pass;
        EXPECT_EQ(std::string(recs[0].body), body) << pass;
        EXPECT_EQ(SmsPartCount(recs[0]), 2) << pass;
        EXPECT_STREQ(recs[0].time, "2026-12-10  09:08:07");
        ASSERT_EQ(BL_LoadSms(STORAGE_SIM), 0);
    }
}

TEST_F(SmsStore, DraftInPartsUsesTheCounterItself) {
    Start();
    AllSettingsRecord().smsReference = 300;
    SmsRecord r = Draft(STORAGE_PC, std::string(200, 'd'));
    ASSERT_EQ(BL_SaveSms(&r, ""), 0);  // no recipient: the record's own (empty) number
    const auto stored = velk_sim::StoredMessages(STORAGE_PC);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].reference, 301);
    // The computer store takes 7-bit text as text, cut at the part limit.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored[0].body)), std::string(153, 'd'));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stored[1].body)), std::string(47, 'd'));
    const auto recs = Enumerate(STORAGE_PC, FOLDER_DRAFTS);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(std::string(recs[0].body), std::string(200, 'd'));
    EXPECT_EQ(recs[0].time[0] != 0, true);  // the time now was filled in
}

TEST_F(SmsStore, Ucs2BodyInParts) {
    Start();
    const QString text(100, QChar(0x6587));
    const QByteArray body = codepage::FromQString(text);
    SmsRecord r = Draft(STORAGE_ME, body.toStdString());
    ASSERT_EQ(BL_SaveSms(&r, "10086"), 0);
    const auto stored = velk_sim::StoredMessages(STORAGE_ME);
    ASSERT_EQ(stored.size(), 2u);  // 100 units: 67 + 33
    EXPECT_EQ(stored[0].coding, 4);
    EXPECT_EQ(codepage::ToQString(reinterpret_cast<const char*>(stored[0].body)), QString(67, QChar(0x6587)));
    const auto recs = Enumerate(STORAGE_ME);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(codepage::ToQString(recs[0].body), text);
}

struct RecipientCase {
    const char* what;
    std::string text;
    std::uint16_t code;
    std::size_t numbers;
};

class Recipients : public ::testing::TestWithParam<RecipientCase> {};

std::string numbersJoined(int n, const std::string& sep = ";") {
    std::string s;
    for (int i = 0; i < n; ++i) s += (i ? sep : "") + std::to_string(13900000000LL + i);
    return s;
}

TEST_P(Recipients, SplitAndChecked) {
    const RecipientCase& c = GetParam();
    std::vector<std::string> numbers;
    EXPECT_EQ(TBL_sms::SplitRecipients(c.text.c_str(), "0123456789+*#pPwW", &numbers), c.code) << c.what;
    if (c.code == 0) EXPECT_EQ(numbers.size(), c.numbers) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Recipients,
    ::testing::Values(RecipientCase{"one number", "10086", 0, 1},
                      RecipientCase{"a trailing separator adds nothing", "10086;10010;", 0, 2},
                      RecipientCase{"full-width semicolon", "10086\xA3\xBB" "10010", 0, 2},
                      RecipientCase{"two separators in a row", "10086;;10010", 4207, 0},
                      RecipientCase{"a leading separator", ";10086", 4207, 0},
                      RecipientCase{"a letter", "10086a", 4207, 0},
                      RecipientCase{"121 digits", std::string(121, '1'), 4207, 0},
                      RecipientCase{"120 digits", std::string(120, '1'), 0, 1},
                      RecipientCase{"200 numbers", numbersJoined(200), 0, 200},
                      RecipientCase{"200 numbers and a separator", numbersJoined(200) + ";", 0, 200},
                      RecipientCase{"201 numbers", numbersJoined(201), 4208, 0}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(SmsStore, OneCopyPerRecipientAndNothingOnABadNumber) {
    Start();
    SmsRecord r = Draft(STORAGE_PC, "hi");
    EXPECT_EQ(BL_SaveSms(&r, "10086;;10010"), 4207);
    EXPECT_EQ(BL_SaveSms(&r, numbersJoined(201).c_str()), 4208);
    EXPECT_TRUE(velk_sim::StoredMessages(STORAGE_PC).empty());
    ASSERT_EQ(BL_SaveSms(&r, "10086;10010\xA3\xBB" "10000"), 0);
    const auto recs = Enumerate(STORAGE_PC, FOLDER_DRAFTS);
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_STREQ(recs[0].number, "10086");
    EXPECT_STREQ(recs[2].number, "10000");
}

TEST_F(SmsStore, AFailedPartSaveKeepsThePartsBefore) {
    Start();
    AllSettingsRecord().smsReference = 10;
    velk_sim::FailNext("Velk_SaveMessage", 0);  // the first part goes
    velk_sim::FailNext("Velk_SaveMessage", 1);  // the second is refused
    SmsRecord r = Draft(STORAGE_PC, std::string(400, 'q'));  // three parts
    EXPECT_EQ(BL_SaveSms(&r, "10086"), 1);
    EXPECT_EQ(velk_sim::StoredMessages(STORAGE_PC).size(), 1u);
    const auto recs = Enumerate(STORAGE_PC);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(SmsPartCount(recs[0]), 1);
    EXPECT_EQ(BL_GetSmsCount(0, STORAGE_PC), 1);
    EXPECT_EQ(AllSettingsRecord().smsReference, 11u);  // the reference is used up all the same
}

// ---- delete and status --------------------------------------------------

TEST_F(SmsStore, DeletingAJoinedMessageDeletesEveryPart) {
    Start();
    velk_sim::StoreSms(STORAGE_PC, {plain("keep"), part(A, 7, 3, 1, "a"), part(A, 7, 3, 2, "b"), part(A, 7, 3, 3, "c")});
    ASSERT_EQ(BL_LoadSms(STORAGE_PC), 0);
    auto recs = Enumerate(STORAGE_PC);
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_EQ(BL_DeleteSms(0, &recs[1], 0), 0);
    ASSERT_EQ(velk_sim::StoredMessages(STORAGE_PC).size(), 1u);
    EXPECT_EQ(Enumerate(STORAGE_PC).size(), 1u);
    EXPECT_EQ(BL_GetSmsCount(FOLDER_INBOX, STORAGE_PC), 1);
    SmsRecord none{};
    none.storage = 3;
    EXPECT_EQ(BL_DeleteSms(&none), 6);
    EXPECT_EQ(BL_DeleteSms(nullptr), 1);
}

TEST_F(SmsStore, AFailedPartDeleteKeepsTheRestDeletable) {
    Start();
    velk_sim::StoreSms(STORAGE_PC, {part(A, 7, 3, 1, "a"), part(A, 7, 3, 2, "b"), part(A, 7, 3, 3, "c")});
    ASSERT_EQ(BL_LoadSms(STORAGE_PC), 0);
    auto recs = Enumerate(STORAGE_PC);
    ASSERT_EQ(recs.size(), 1u);
    velk_sim::FailNext("Velk_DeleteMessage", 0);  // the first part goes
    velk_sim::FailNext("Velk_DeleteMessage", 1);  // the second is refused
    EXPECT_EQ(BL_DeleteSms(&recs[0]), 1);
    EXPECT_EQ(velk_sim::StoredMessages(STORAGE_PC).size(), 2u);
    recs = Enumerate(STORAGE_PC);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(SmsPartCount(recs[0]), 2);
    EXPECT_EQ(BL_GetSmsCount(0, STORAGE_PC), 2);
    // What remains can be deleted.
    EXPECT_EQ(BL_DeleteSms(&recs[0]), 0);
    EXPECT_TRUE(velk_sim::StoredMessages(STORAGE_PC).empty());
    EXPECT_TRUE(Enumerate(STORAGE_PC).empty());
}

TEST_F(SmsStore, AFailedMarkReadLeavesTheMessageUnread) {
    Start();
    ASSERT_GE(velk_sim::DeliverSms(STORAGE_PC, plain("new one")), 1);
    Settle();
    auto recs = Enumerate(STORAGE_PC, FOLDER_INBOX);
    ASSERT_EQ(recs.size(), 1u);
    ASSERT_EQ(recs[0].status, SMS_UNREAD);
    velk_sim::FailNext("Velk_SetMessageStatus", 1);
    EXPECT_EQ(BL_SetSmsStatus(&recs[0], 1), 1);
    EXPECT_EQ(Enumerate(STORAGE_PC)[0].status, SMS_UNREAD);
    EXPECT_EQ(velk_sim::StoredMessages(STORAGE_PC)[0].status, SMS_UNREAD);
    EXPECT_EQ(BL_SetSmsStatus(&recs[0], 1), 0);
    EXPECT_EQ(Enumerate(STORAGE_PC)[0].status, SMS_READ);
    EXPECT_EQ(velk_sim::StoredMessages(STORAGE_PC)[0].status, SMS_READ);
    EXPECT_EQ(BL_SetSmsStatus(&recs[0], 0), 0);
    EXPECT_EQ(Enumerate(STORAGE_PC)[0].status, SMS_UNREAD);
}

// ---- arrival ------------------------------------------------------------

TEST_F(SmsStore, ANewMessageIsFiledCountedAndAnnounced) {
    Start();
    ASSERT_EQ(BL_LoadSms(STORAGE_SIM), 0);
    window_.arrived.clear();
    const int counts = window_.countsPosted;
    ASSERT_GE(velk_sim::DeliverSms(STORAGE_SIM, plain("hello", "+8613911112222")), 1);
    Settle();
    ASSERT_EQ(window_.arrived.size(), 1u);
    EXPECT_STREQ(window_.arrived[0]->body, "hello");
    EXPECT_STREQ(window_.arrived[0]->number, "+8613911112222");
    EXPECT_EQ(window_.arrived[0]->folder, FOLDER_INBOX);
    EXPECT_EQ(window_.arrived[0]->storage, STORAGE_SIM);
    EXPECT_GT(window_.countsPosted, counts);
    EXPECT_EQ(BL_GetSmsCount(FOLDER_INBOX, STORAGE_SIM), 1);
}

TEST_F(SmsStore, TheLastPartArrivingAnnouncesTheJoinedMessage) {
    Start();
    window_.arrived.clear();
    velk_sim::DeliverConcatenated(STORAGE_PC, A, 12, {"Hello, ", "dear ", "friend"}, {3, 1, 2});
    Settle();
    ASSERT_EQ(window_.arrived.size(), 3u);
    EXPECT_STREQ(window_.arrived[2]->body, "friendHello, dear ");
    EXPECT_EQ(SmsPartCount(*window_.arrived[2]), 3);
    EXPECT_EQ(Enumerate(STORAGE_PC).size(), 1u);
    EXPECT_EQ(BL_GetSmsCount(0, STORAGE_PC), 3);
}

TEST_F(SmsStore, AReplaceTypeMessageReplacesTheOldOne) {
    Start();
    velk_sim::IncomingSms m = plain("balance 10", A);
    m.replaceType = 0x41;
    const int first = velk_sim::DeliverSms(STORAGE_PC, m);
    Settle();
    m.text = "balance 20";
    velk_sim::DeliverSms(STORAGE_PC, plain("unrelated", A));
    const int second = velk_sim::DeliverSms(STORAGE_PC, m);
    Settle();
    ASSERT_NE(first, second);
    const auto recs = Enumerate(STORAGE_PC);
    ASSERT_EQ(recs.size(), 2u);
    EXPECT_STREQ(recs[0].body, "unrelated");
    EXPECT_STREQ(recs[1].body, "balance 20");
    EXPECT_EQ(velk_sim::StoredMessages(STORAGE_PC).size(), 2u);
}

TEST_F(SmsStore, AnArrivalTheCardCannotGiveIsDropped) {
    Start();
    window_.arrived.clear();
    velk_sim::FailNext("Velk_GetMessage", 1);
    velk_sim::DeliverSms(STORAGE_PC, plain("lost"));
    Settle();
    EXPECT_TRUE(window_.arrived.empty());
    EXPECT_TRUE(Enumerate(STORAGE_PC).empty());
}

TEST_F(SmsStore, AnArrivalBeforeTheWindowIsRegisteredIsFiledAndFreed) {
    StartCore();
    Settle();
    velk_sim::DeliverSms(STORAGE_PC, plain("early"));
    Settle();  // the copy for the window is refused and freed (the leak check sees it)
    EXPECT_EQ(Enumerate(STORAGE_PC).size(), 1u);
}

struct ReferenceCase {
    std::uint32_t counter;
    int next;
    std::uint16_t draft;
};

class References : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(References, FromTheCounter) {
    const std::uint32_t saved = AllSettingsRecord().smsReference;
    AllSettingsRecord().smsReference = GetParam().counter;
    EXPECT_EQ(NextSmsReference(), GetParam().next);
    EXPECT_EQ(static_cast<std::uint16_t>(NextDraftReference()), GetParam().draft);
    EXPECT_EQ(AllSettingsRecord().smsReference, GetParam().counter);  // reading does not count
    AllSettingsRecord().smsReference = saved;
}

INSTANTIATE_TEST_SUITE_P(Counter, References,
                         ::testing::Values(ReferenceCase{0, 1, 1}, ReferenceCase{254, 255, 255},
                                           ReferenceCase{255, 1, 256}, ReferenceCase{510, 1, 511},
                                           ReferenceCase{65535, 1, 0}, ReferenceCase{0xFFFFFFFFu, 1, 0}));

// ---- without a core -----------------------------------------------------

TEST(SmsFacade, WithoutACoreEveryCallAnswers4001) {
    ASSERT_EQ(BL_base(), nullptr);
    SmsRecord r{};
    EXPECT_EQ(BL_LoadSms(2), 4001);
    EXPECT_EQ(BL_GetSmsCount(0, 2), 0);
    EXPECT_EQ(BL_GetFirstSms(&r), 4001);
    EXPECT_EQ(BL_GetNextSms(&r), 4001);
    EXPECT_EQ(BL_SaveSms(&r, "1"), 4001);
    EXPECT_EQ(BL_DeleteSms(&r), 4001);
    EXPECT_EQ(BL_DeleteSms(0, &r, 0), 4001);
    EXPECT_EQ(BL_SetSmsStatus(&r, 1), 4001);
    EXPECT_EQ(BL_SaveSmsToOwnNumber(&r), 4001);
}

}  // namespace
