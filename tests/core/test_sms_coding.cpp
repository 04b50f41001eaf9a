// SMS text coding: the alphabet tables, the coding test, lengths, part
// counting and cutting, and the two general conversions.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "sms/domain/sms_coding.h"

namespace {

using Units = std::u16string;
using Bytes = std::vector<std::uint8_t>;

Bytes toGsm(const Units& u) {
    Bytes out(u.size() * 2 + 2);
    const int n = UnicodeToGsm(out.data(), static_cast<int>(out.size()), reinterpret_cast<const std::uint16_t*>(u.data()),
                               static_cast<int>(u.size()));
    out.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
    return out;
}
Units fromGsm(const Bytes& b) {
    std::vector<std::uint16_t> out(b.size() + 1);
    const int n = GsmToUnicode(out.data(), static_cast<int>(out.size()), b.data(), static_cast<int>(b.size()));
    Units u;
    for (int i = 0; i < n; ++i) u.push_back(static_cast<char16_t>(out[i]));
    return u;
}
int isGsm(const Units& u) {
    static const std::uint16_t none = 0;
    return IsGsmText(u.empty() ? &none : reinterpret_cast<const std::uint16_t*>(u.data()), static_cast<int>(u.size()));
}
// Code-page text of a UCS-2 string (the configured code page, CP936 here).
QByteArray text(const Units& u) { return codepage::FromQString(QString::fromUtf16(u.data(), static_cast<qsizetype>(u.size()))); }

struct CodingCase {
    const char* what;
    Units units;
    int gsm;          // IsGsmText
    Bytes septets;    // UnicodeToGsm
};

class Coding : public ::testing::TestWithParam<CodingCase> {};

TEST_P(Coding, TestAndSeptets) {
    const CodingCase& c = GetParam();
    EXPECT_EQ(isGsm(c.units), c.gsm) << c.what;
    EXPECT_EQ(toGsm(c.units), c.septets) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Alphabet, Coding,
    ::testing::Values(
        CodingCase{"braces count two", u"ab{}", 1, {0x61, 0x62, 0x1B, 0x28, 0x1B, 0x29}},
        CodingCase{"euro sign has no 7-bit form", u"a\u20ACb", 0, {0x61, 0x20, 0x62}},
        CodingCase{"currency sign goes through the escape", u"\u00A4", 1, {0x1B, 0x65}},
        CodingCase{"A with diaeresis is UCS-2", u"\u00C4", 0, {0x20}},
        CodingCase{"N with tilde is UCS-2", u"\u00D1", 0, {0x20}},
        CodingCase{"A with grave folds to A", u"\u00C0", 1, {0x41}},
        CodingCase{"e acute stays, e circumflex folds", u"\u00E9\u00EA", 1, {0x05, 0x65}},
        CodingCase{"capital theta is UCS-2", u"\u0398", 0, {0x20}},
        CodingCase{"small theta is 0x19", u"\u03B8", 1, {0x19}},
        CodingCase{"greek capitals", u"\u0394\u03A9\u039E", 1, {0x10, 0x15, 0x1A}},
        CodingCase{"at, dollar, underscore", u"@$_", 1, {0x00, 0x02, 0x11}},
        CodingCase{"backquote has no 7-bit form", u"`", 0, {0x20}},
        CodingCase{"line feed and return kept, tab has no form", u"\n\r\t", 0, {0x0A, 0x0D, 0x20}},
        CodingCase{"all ten escaped characters", u"\u000C[\\]^{|}~", 1,
                   {0x1B, 0x0A, 0x1B, 0x3C, 0x1B, 0x2F, 0x1B, 0x3E, 0x1B, 0x14, 0x1B, 0x28, 0x1B, 0x40, 0x1B, 0x29, 0x1B,
                    0x3D}},
        CodingCase{"space", u" ", 1, {0x20}},
        CodingCase{"empty text is 7-bit", u"", 1, {}},
        CodingCase{"ideographs", u"\u4E2D\u6587", 0, {0x20, 0x20}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

struct DecodeCase {
    const char* what;
    Bytes septets;
    Units units;
};

class Decode : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Decode, Units) { EXPECT_EQ(fromGsm(GetParam().septets), GetParam().units) << GetParam().what; }

INSTANTIATE_TEST_SUITE_P(
    Alphabet, Decode,
    ::testing::Values(DecodeCase{"lone escape at the end gives nothing", {0x41, 0x1B}, u"A"},
                      DecodeCase{"escape 0x65 is the euro sign", {0x1B, 0x65}, u"\u20AC"},
                      DecodeCase{"unknown extension code", {0x1B, 0x41}, u"\u001B"},
                      DecodeCase{"extension code of 0x80 or more", {0x1B, 0x90}, u" "},
                      DecodeCase{"plain byte of 0x80 or more", {0x90}, u" "},
                      DecodeCase{"the five deliberate entries", {0x17, 0x19, 0x5B, 0x5D}, u"\u03C8\u03B8[]"},
                      DecodeCase{"escape after an escape", {0x1B, 0x1B}, u"\u001B"},
                      DecodeCase{"extension table", {0x1B, 0x0A, 0x1B, 0x14, 0x1B, 0x2F, 0x1B, 0x40}, u"\u000C^\\|"},
                      DecodeCase{"accented and greek", {0x7F, 0x5C, 0x10, 0x24}, u"\u00E0\u00D6\u0394\u00A4"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(SmsCoding, CurrencySignComesBackAsEuro) {
    EXPECT_EQ(fromGsm(toGsm(u"\u00A4")), u"\u20AC");
}

TEST(SmsCoding, EveryTableCharacterRoundTrips) {
    // Every septet whose unit has a 7-bit form encodes back to itself.
    for (int b = 0; b < 0x80; ++b) {
        if (b == 0x1B) continue;
        const Units u = fromGsm(Bytes{static_cast<std::uint8_t>(b)});
        ASSERT_EQ(u.size(), 1u);
        // U+00A4 and the brackets of 0x5B and 0x5D go through the escape
        if (b == 0x24 || b == 0x5B || b == 0x5D) continue;
        EXPECT_EQ(toGsm(u), Bytes{static_cast<std::uint8_t>(b)}) << "septet " << b;
    }
}

// The Latin-1 half: accented letters fold to plain ones, the rest has no form.
TEST(SmsCoding, LatinUnitsFoldOrHaveNoForm) {
    struct Run {
        char16_t first, last;
        int septet;  // -1: no 7-bit form
    };
    const Run runs[] = {
        {0x00C0, 0x00C3, 0x41}, {0x00C8, 0x00C8, 0x45}, {0x00CA, 0x00CB, 0x45}, {0x00CC, 0x00CF, 0x49},
        {0x00D2, 0x00D5, 0x4F}, {0x00D9, 0x00DB, 0x55}, {0x00DD, 0x00DD, 0x59}, {0x00E1, 0x00E3, 0x61},
        {0x00E7, 0x00E7, 0x09}, {0x00EA, 0x00EB, 0x65}, {0x00ED, 0x00EF, 0x69}, {0x00F3, 0x00F5, 0x6F},
        {0x00FA, 0x00FB, 0x75}, {0x00FD, 0x00FD, 0x79}, {0x00FF, 0x00FF, 0x79}, {0x0001, 0x0009, -1},
        {0x000B, 0x000B, -1},   {0x000E, 0x001F, -1},   {0x007F, 0x00A0, -1},   {0x00A2, 0x00A2, -1},
        {0x00A6, 0x00A6, -1},   {0x00A8, 0x00BE, -1},   {0x00C4, 0x00C4, -1},   {0x00D0, 0x00D1, -1},
        {0x00D7, 0x00D7, -1},   {0x00DE, 0x00DE, -1},   {0x00F0, 0x00F0, -1},   {0x00F7, 0x00F7, -1},
        {0x00FE, 0x00FE, -1},   {0x0100, 0x0101, -1},
    };
    for (const Run& r : runs) {
        for (char16_t u = r.first; u <= r.last; ++u) {
            const Units one(1, u);
            EXPECT_EQ(isGsm(one), r.septet >= 0 ? 1 : 0) << "U+" << std::hex << int(u);
            EXPECT_EQ(toGsm(one), Bytes{static_cast<std::uint8_t>(r.septet >= 0 ? r.septet : 0x20)})
                << "U+" << std::hex << int(u);
        }
    }
}

TEST(SmsCoding, BufferChecks) {
    std::uint16_t in[3] = {0x41, 0x42, 0x43};
    std::uint8_t out[8] = {};
    EXPECT_EQ(UnicodeToGsm(out, 5, in, 3), -1);  // needs two bytes a unit
    EXPECT_EQ(UnicodeToGsm(out, 6, in, 3), 3);
    EXPECT_EQ(UnicodeToGsm(nullptr, 6, in, 3), -1);
    EXPECT_EQ(UnicodeToGsm(out, 0, in, 0), -1);
    std::uint16_t units[4] = {};
    EXPECT_EQ(GsmToUnicode(units, 2, out, 3), -1);
    EXPECT_EQ(GsmToUnicode(units, 3, out, 3), 3);
    EXPECT_EQ(GsmToUnicode(units, 3, nullptr, 3), -1);
    EXPECT_EQ(IsGsmText(nullptr, 0), -1);
    EXPECT_EQ(GetSmsCoding(nullptr), -1);
    EXPECT_EQ(GetSmsLength(nullptr).coding, -1);
}

struct LengthCase {
    const char* what;
    Units body;
    int coding;
    int length;
};

class Length : public ::testing::TestWithParam<LengthCase> {};

TEST_P(Length, OfCodePageText) {
    const LengthCase& c = GetParam();
    const QByteArray t = text(c.body);
    EXPECT_EQ(GetSmsCoding(t.constData()), c.coding) << c.what;
    const SmsLength l = GetSmsLength(t.constData());
    EXPECT_EQ(l.coding, c.coding) << c.what;
    EXPECT_EQ(l.length, c.length) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Text, Length,
    ::testing::Values(LengthCase{"11 characters and two braces", u"Hello 12345{}", SMS_CODING_GSM, 15},
                      LengthCase{"euro sign", u"price 5\u20AC", SMS_CODING_UCS2, 8},
                      LengthCase{"currency sign counts two", u"\u00A4", SMS_CODING_GSM, 2},
                      LengthCase{"chinese", u"\u4F60\u597D", SMS_CODING_UCS2, 2},
                      LengthCase{"empty", u"", SMS_CODING_GSM, 0}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

struct PartCountCase {
    int coding;
    int length;
    SmsLimits limits;
    int parts;
};

class PartCount : public ::testing::TestWithParam<PartCountCase> {};

TEST_P(PartCount, Messages) {
    const PartCountCase& c = GetParam();
    EXPECT_EQ(GetSmsPartCount(c.coding, c.length, c.limits), c.parts) << c.coding << "/" << c.length;
}

const SmsLimits kCard{160, 153, 70, 67};
const SmsLimits kNoRoom{};
const SmsLimits kNoParts{160, 0, 70, 0};

INSTANTIATE_TEST_SUITE_P(
    Limits, PartCount,
    ::testing::Values(PartCountCase{SMS_CODING_GSM, 160, kCard, 1}, PartCountCase{SMS_CODING_GSM, 161, kCard, 2},
                      PartCountCase{SMS_CODING_GSM, 306, kCard, 2}, PartCountCase{SMS_CODING_GSM, 307, kCard, 3},
                      PartCountCase{SMS_CODING_GSM, 0, kCard, 1}, PartCountCase{SMS_CODING_UCS2, 70, kCard, 1},
                      PartCountCase{SMS_CODING_UCS2, 71, kCard, 2}, PartCountCase{SMS_CODING_UCS2, 134, kCard, 2},
                      PartCountCase{SMS_CODING_UCS2, 135, kCard, 3},
                      // no card limits: nothing fits, and nothing divides by zero
                      PartCountCase{SMS_CODING_GSM, 10, kNoRoom, 0}, PartCountCase{SMS_CODING_UCS2, 0, kNoRoom, 0},
                      PartCountCase{SMS_CODING_GSM, 160, kNoParts, 1}, PartCountCase{SMS_CODING_GSM, 161, kNoParts, 0}));

TEST(SmsCoding, SevenBitPartsCutSeptetsEvenInsideAnEscape) {
    // 152 letters and a brace: the escape ends part 0, its code starts part 1.
    const std::string body = std::string(152, 'a') + "{b";
    const QByteArray p0 = GetSmsPart(body.c_str(), SMS_CODING_GSM, 0, kCard);
    const QByteArray p1 = GetSmsPart(body.c_str(), SMS_CODING_GSM, 1, kCard);
    ASSERT_EQ(p0.size(), 153);
    EXPECT_EQ(static_cast<std::uint8_t>(p0.back()), 0x1B);
    EXPECT_EQ(p1, QByteArray("\x28" "b"));
    EXPECT_TRUE(GetSmsPart(body.c_str(), SMS_CODING_GSM, 2, kCard).isEmpty());
    EXPECT_TRUE(GetSmsPart(body.c_str(), SMS_CODING_GSM, 0, kNoRoom).isEmpty());
}

TEST(SmsCoding, Ucs2PartsAreCodePageText) {
    Units body;
    for (int i = 0; i < 70; ++i) body.push_back(static_cast<char16_t>(0x4E00 + i));
    const QByteArray t = text(body);
    const QByteArray p0 = GetSmsPart(t.constData(), SMS_CODING_UCS2, 0, kCard);
    const QByteArray p1 = GetSmsPart(t.constData(), SMS_CODING_UCS2, 1, kCard);
    EXPECT_EQ(codepage::ToQString(p0), QString::fromUtf16(body.data(), 67));
    EXPECT_EQ(codepage::ToQString(p1), QString::fromUtf16(body.data() + 67, 3));
    EXPECT_EQ(p0.size(), 134);  // two bytes a character in CP936
}

struct HexCase {
    const char* hex;
    int size;
    int result;
    Bytes bytes;
};

class Hex : public ::testing::TestWithParam<HexCase> {};

TEST_P(Hex, Decodes) {
    const HexCase& c = GetParam();
    Bytes out(static_cast<std::size_t>(c.size) + 1, 0);
    EXPECT_EQ(HexToBytes(out.data(), c.size, c.hex, static_cast<int>(std::strlen(c.hex))), c.result) << c.hex;
    out.resize(c.bytes.size());
    EXPECT_EQ(out, c.bytes) << c.hex;
}

INSTANTIATE_TEST_SUITE_P(
    Digits, Hex,
    ::testing::Values(HexCase{"4A", 2, 0, {0x4A}}, HexCase{"4a", 2, 0, {0x4A}}, HexCase{"fF00", 3, 0, {0xFF, 0x00}},
                      HexCase{"4A5", 2, 0, {0x4A, 0x50}}, HexCase{"4G", 2, -1, {0x00}}, HexCase{"4 ", 2, -1, {0x00}},
                      HexCase{"4A4A", 2, -1, {0x00, 0x00}},  // room for digits/2 + 1 bytes is required
                      HexCase{"", 1, 0, {0x00}}));

TEST(SmsCoding, HexNeedsBuffers) {
    std::uint8_t out[4] = {};
    EXPECT_EQ(HexToBytes(nullptr, 4, "41", 2), -1);
    EXPECT_EQ(HexToBytes(out, 0, "", 0), -1);
    EXPECT_EQ(HexToBytes(out, 4, nullptr, 2), -1);
}

TEST(SmsCoding, UnicodeToAnsiTerminatesAndCutsOnCharacters) {
    const Units ni = u"\u4F60\u597D";
    char out[8];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(UnicodeToAnsi(out, 5, reinterpret_cast<const std::uint16_t*>(ni.data()), 2), 4);
    EXPECT_EQ(out[4], 0);
    EXPECT_EQ(codepage::ToQString(out), QString::fromUtf16(ni.data(), 2));
    EXPECT_EQ(UnicodeToAnsi(out, 3, reinterpret_cast<const std::uint16_t*>(ni.data()), 2), -1);

    // Exactly twice the units is enough room for CP936, but a code page of
    // three-byte characters must be cut on a character, still terminated.
    const std::string saved = codepage::Name();
    codepage::SetName("UTF-8");
    std::memset(out, 'x', sizeof out);
    const int n = UnicodeToAnsi(out, 4, reinterpret_cast<const std::uint16_t*>(ni.data()), 2);
    codepage::SetName(saved);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(QString::fromUtf8(out), QString::fromUtf16(ni.data(), 1));
}

TEST(SmsCoding, SeptetsBackToText) {
    const Bytes s = toGsm(u"Hi {you}");
    EXPECT_EQ(SeptetsToText(s.data(), static_cast<int>(s.size())), QByteArray("Hi {you}"));
    const Bytes many(300, 0x41);
    EXPECT_EQ(SeptetsToText(many.data(), 300).size(), 256);  // at most 256 units
}

}  // namespace
