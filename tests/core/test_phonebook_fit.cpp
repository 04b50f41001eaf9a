// Fitting contacts to a storage's limits: 7-bit text by bytes, other text by
// its UCS-2 size, cut on character boundaries and always terminated.
#include <gtest/gtest.h>

#include <QString>
#include <cstring>
#include <string>

#include "phonebook/domain/pb_fit.h"
#include "platform/codepage.h"

namespace {

std::string cp936(const char* utf8) { return codepage::FromQString(QString::fromUtf8(utf8)).toStdString(); }
std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}
QString shown(const char* field, std::size_t width) { return codepage::ToQString(field, width); }

class PhonebookFit : public ::testing::Test {
protected:
    void SetUp() override { codepage::SetName("CP936"); }
};

struct FitCase {
    const char* what;
    std::string input;
    std::int32_t l8, l16;
    std::size_t width;
    std::size_t keptBytes;
};

TEST_F(PhonebookFit, FieldLengthsByCodingAndBoundary) {
    const std::string han = cp936("张");  // two bytes in CP936
    ASSERT_EQ(han.size(), 2u);
    const FitCase cases[] = {
        {"200 7-bit characters to 20", std::string(200, 'A'), 20, 128, 128, 20},
        {"7-bit text shorter than the limit", "Anna", 20, 10, 128, 4},
        {"7-bit text never fills the field", std::string(200, 'b'), 500, 500, 128, 127},
        {"e-mail keeps at most 129", std::string(300, 'e'), 500, 500, 130, 129},
        {"Chinese to 6 UCS-2 units", repeat(han, 10), 14, 6, 128, 12},
        {"Chinese on the PC: 63 of 64 units, room for the terminator", repeat(han, 100), 200, 128, 128, 126},
        {"Chinese e-mail: 64 characters fit 130 bytes less one", repeat(han, 80), 500, 500, 130, 128},
        {"odd budget never splits a character", repeat(han, 10), 14, 5, 128, 10},
        {"mixed text cut to 7-bit keeps the 7-bit length", "Johnathan Smith " + han, 14, 6, 128, 14},
        {"Latin then Chinese keeps whole characters", "ab" + repeat(han, 10), 20, 5, 128, 2 + 3 * 2},
        {"no length means nothing kept", "x" + han, 0, 10, 128, 0},
        {"7-bit Greek is double-byte here: cut between characters", repeat(cp936("Δ"), 4), 3, 10, 128, 2},
        {"a trailing half character is dropped", "ab" + han.substr(0, 1), 20, 10, 128, 2},
    };
    for (const FitCase& c : cases) {
        EXPECT_EQ(pbfit::FitLength(c.input.data(), c.input.size(), c.l8, c.l16, c.width), c.keptBytes) << c.what;
    }
}

TEST_F(PhonebookFit, FittedFieldIsTerminatedAndZeroFilled) {
    char field[128];
    std::memset(field, 'x', sizeof field);  // a field with no terminator at all
    pbfit::FitField(field, sizeof field, 500, 500);
    EXPECT_EQ(strnlen(field, sizeof field), 127u);
    EXPECT_EQ(field[127], 0);

    const std::string name = repeat(cp936("王"), 70);
    std::memcpy(field, name.data(), sizeof field);  // 128 bytes of double-byte text, unterminated
    pbfit::FitField(field, sizeof field, 200, 128);
    EXPECT_EQ(strnlen(field, sizeof field), 126u);
    EXPECT_EQ(shown(field, sizeof field), QString(63, QChar(0x738B)));
}

_VELK_CONTACT_RECORD contact(std::uint8_t storage) {
    _VELK_CONTACT_RECORD r{};
    r.storage = storage;
    std::strcpy(r.name, "Anna");
    std::strcpy(r.email, "anna@example.org");
    std::strcpy(r.note, "a note");
    std::strcpy(r.url, "http://example.org");
    std::strcpy(r.text2, "second");
    std::strcpy(r.text3, "third");
    for (int i = 0; i < VELK_NUMBER_SLOTS; ++i) {
        r.numbers[i].number[0] = static_cast<char>('1' + i);
        r.numbers[i].rest[0] = 7;
    }
    std::memset(r.reserved782, 0x5A, sizeof r.reserved782);
    return r;
}

SettingRecord limits(std::int32_t all, std::int32_t numberCount) {
    SettingRecord s{};
    s.contactCapacity = 100;
    s.nameLength = s.numberLength = s.text2Length = s.urlLength = s.text3Length = s.emailLength = s.noteLength = all;
    s.numberSlots = numberCount;
    return s;
}

TEST_F(PhonebookFit, NumberSlotsFollowTheCount) {
    for (std::int32_t count = 0; count <= 5; ++count) {
        _VELK_CONTACT_RECORD r = contact(STORAGE_ME);
        pbfit::FitContact(r, limits(40, count), limits(20, count));
        for (int i = 0; i < VELK_NUMBER_SLOTS; ++i) {
            const bool kept = i < count;
            EXPECT_EQ(r.numbers[i].number[0] != 0, kept) << "count " << count << " slot " << i;
            EXPECT_EQ(r.numbers[i].rest[0] != 0, kept) << "count " << count << " slot " << i;
        }
    }
}

TEST_F(PhonebookFit, UnsupportedFieldsAreClearedOthersKept) {
    struct Case {
        std::int32_t SettingRecord::*limit;
        std::size_t offset;
    };
    const Case cases[] = {
        {&SettingRecord::nameLength, offsetof(_VELK_CONTACT_RECORD, name)},
        {&SettingRecord::text2Length, offsetof(_VELK_CONTACT_RECORD, text2)},
        {&SettingRecord::text3Length, offsetof(_VELK_CONTACT_RECORD, text3)},
        {&SettingRecord::emailLength, offsetof(_VELK_CONTACT_RECORD, email)},
        {&SettingRecord::noteLength, offsetof(_VELK_CONTACT_RECORD, note)},
        {&SettingRecord::urlLength, offsetof(_VELK_CONTACT_RECORD, url)},
    };
    for (const Case& c : cases) {
        _VELK_CONTACT_RECORD r = contact(STORAGE_ME);
        SettingRecord text = limits(40, 5), ucs2 = limits(20, 5);
        text.*c.limit = 0;
        pbfit::FitContact(r, text, ucs2);
        const char* base = reinterpret_cast<const char*>(&r);
        EXPECT_EQ(base[c.offset], 0) << c.offset;
        // Everything else survives, the uninterpreted bytes included.
        int supported = 0;
        for (const Case& other : cases)
            if (other.offset != c.offset) supported += base[other.offset] != 0;
        EXPECT_EQ(supported, 5) << c.offset;
        EXPECT_EQ(r.reserved782[649], 0x5A);
    }
}

TEST_F(PhonebookFit, PcNameTakesAFullFieldInUcs2AndNoteIsNotCut) {
    _VELK_CONTACT_RECORD r = contact(STORAGE_PC);
    const std::string name = repeat(cp936("李"), 100);
    std::memcpy(r.name, name.data(), 127);  // 63.5 characters: the last one is half
    r.name[127] = 0;
    std::memset(r.note, 'n', 127);
    SettingRecord text = limits(20, 5), ucs2 = limits(5, 5);  // the card's kind 4 name length is ignored
    pbfit::FitContact(r, text, ucs2);
    EXPECT_EQ(shown(r.name, sizeof r.name), QString(63, QChar(0x674E)));
    EXPECT_EQ(strnlen(r.note, sizeof r.note), 127u);

    _VELK_CONTACT_RECORD sim = contact(STORAGE_SIM);
    std::memcpy(sim.name, name.data(), 40);
    pbfit::FitContact(sim, text, ucs2);
    EXPECT_EQ(shown(sim.name, sizeof sim.name), QString(5, QChar(0x674E)));
}

}  // namespace
