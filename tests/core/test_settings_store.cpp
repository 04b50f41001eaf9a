// Limits built from the card's field sizes, and the settings-record copy.
#include <cstring>

#include "core/settings_store.h"
#include "tests/fixture/core_fixture.h"

namespace {
_VELK_FIELD_SIZES smsField(std::uint32_t bits, std::uint8_t mask) {
    _VELK_FIELD_SIZES f{};
    f.cbSize = sizeof f;
    f.smsSize = bits;
    f.smsMask = mask;
    return f;
}
}  // namespace

TEST(SettingsStore, SmsLimitsByKindAndAlphabet) {
    struct Case {
        std::uint32_t bits;
        std::uint8_t mask;
        std::uint8_t kind;
        int length, part;
    };
    const Case cases[] = {
        {1120, 1 | 4, KIND_TEXT, 160, 153},  // 7-bit field
        {1120, 1 | 4, KIND_UCS2, 70, 67},
        {1120, 2, KIND_TEXT, 140, 134},      // 8-bit only: less 6
        {1120, 4, KIND_TEXT, 70, 0},         // UCS-2 only: kind 2 equals kind 4, no part length
        {1120, 4, KIND_UCS2, 70, 67},
        {0, 0, KIND_TEXT, 0, 0},             // no field sizes: no room at all
        {0, 0, KIND_UCS2, 0, 0},             // 0 - 3 is clamped, never negative
        {32, 4, KIND_UCS2, 2, 0},
    };
    for (const Case& c : cases) {
        const SettingRecord r = TBLSet::Build(smsField(c.bits, c.mask), c.kind, STORAGE_SIM);
        EXPECT_EQ(r.smsLength, c.length) << c.bits << "/" << int(c.mask) << " kind " << int(c.kind);
        EXPECT_EQ(r.smsPartLength, c.part) << c.bits << "/" << int(c.mask) << " kind " << int(c.kind);
        EXPECT_EQ(r.kind, c.kind);
    }
}

TEST(SettingsStore, ContactFieldsFollowTheirMasks) {
    _VELK_FIELD_SIZES f{};
    f.nameSize = 14 * 8;     f.nameMask = 2 | 4;   // 8-bit first: 14 characters
    f.numberSize = 40 * 7;   f.numberMask = 1;
    f.emailSize = 160;       f.emailMask = 4;
    f.urlSize = 160;         f.urlMask = 1;
    f.noteSize = 320;        f.noteMask = 8;       // unknown alphabet: 0 in kind 2
    f.contactCapacity = 250; f.passThrough = 77;   f.numberSlots = 3; f.messageCapacity = 40;
    const SettingRecord t = TBLSet::Build(f, KIND_TEXT, STORAGE_ME);
    const SettingRecord u = TBLSet::Build(f, KIND_UCS2, STORAGE_ME);
    EXPECT_EQ(t.nameLength, 14);
    EXPECT_EQ(u.nameLength, 7);
    EXPECT_EQ(t.numberLength, 40);
    EXPECT_EQ(u.numberLength, 40);     // the number is the same in both kinds
    EXPECT_EQ(t.emailLength, 10);
    EXPECT_EQ(u.emailLength, 10);
    EXPECT_EQ(t.urlLength, 22);
    EXPECT_EQ(u.urlLength, 0);         // no URL in UCS-2
    EXPECT_EQ(t.noteLength, 0);
    EXPECT_EQ(u.noteLength, 20);
    for (const SettingRecord* r : {&t, &u}) {
        EXPECT_EQ(r->contactCapacity, 250);
        EXPECT_EQ(r->passThrough, 77);
        EXPECT_EQ(r->numberSlots, 3);
        EXPECT_EQ(r->messageCapacity, 40);
        EXPECT_EQ(r->storage, STORAGE_ME);
    }
}

TEST(SettingsStore, GetSettingCopiesOnlyKnownStoragesAndKinds) {
    TBLSet set;  // no card read yet: every record holds zero limits
    SettingRecord dest;
    std::memset(&dest, 0x5A, sizeof dest);
    const SettingRecord before = dest;
    set.GetSetting(&dest, STORAGE_SIM, 3);
    EXPECT_EQ(std::memcmp(&dest, &before, sizeof dest), 0) << "kind 3 must leave the destination untouched";
    set.GetSetting(&dest, 5, KIND_TEXT);
    EXPECT_EQ(std::memcmp(&dest, &before, sizeof dest), 0) << "storage 5 must leave the destination untouched";

    set.GetSetting(&dest, STORAGE_PC, KIND_UCS2);
    EXPECT_EQ(dest.kind, KIND_UCS2);
    EXPECT_EQ(dest.storage, STORAGE_PC);

    std::memset(&dest, 0x5A, sizeof dest);
    set.GetSetting(&dest, STORAGE_ME, KIND_7BIT);
    const SettingRecord zero{};
    EXPECT_EQ(std::memcmp(&dest, &zero, sizeof dest), 0) << "kind 1 is all zeros";
}
