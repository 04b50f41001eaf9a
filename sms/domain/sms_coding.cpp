#include "sms/domain/sms_coding.h"

#include <array>
#include <cstring>

#include "platform/codepage.h"

namespace {

constexpr std::uint8_t ESC = 0x1B;
constexpr std::uint8_t NO_FORM = 0x20;  // table-3 entry of a unit without a 7-bit form

// Septet -> UCS-2, the default alphabet. It differs from the standard one in
// five places on purpose: 0x17 small psi, 0x19 small theta, 0x1B space (the
// escape is handled before the table), 0x5B "[" and 0x5D "]".
constexpr std::array<std::uint16_t, 128> kGsmToUcs2 = {
    0x0040, 0x00A3, 0x0024, 0x00A5, 0x00E8, 0x00E9, 0x00F9, 0x00EC,  // 00
    0x00F2, 0x00C7, 0x000A, 0x00D8, 0x00F8, 0x000D, 0x00C5, 0x00E5,  // 08
    0x0394, 0x005F, 0x03A6, 0x0393, 0x039B, 0x03A9, 0x03A0, 0x03C8,  // 10
    0x03A3, 0x03B8, 0x039E, 0x0020, 0x00C6, 0x00E6, 0x00DF, 0x00C9,  // 18
    0x0020, 0x0021, 0x0022, 0x0023, 0x00A4, 0x0025, 0x0026, 0x0027,  // 20
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,  // 28
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037,  // 30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,  // 38
    0x00A1, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047,  // 40
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,  // 48
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057,  // 50
    0x0058, 0x0059, 0x005A, 0x005B, 0x00D6, 0x005D, 0x00DC, 0x00A7,  // 58
    0x00BF, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067,  // 60
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,  // 68
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077,  // 70
    0x0078, 0x0079, 0x007A, 0x00E4, 0x00F6, 0x00F1, 0x00FC, 0x00E0,  // 78
};

// The ten characters sent through the escape, with their extension codes.
struct Pair {
    std::uint16_t unit;
    std::uint8_t code;
};
constexpr Pair kEscaped[] = {
    {0x000C, 0x0A}, {u'[', 0x3C}, {u'\\', 0x2F}, {u']', 0x3E}, {u'^', 0x14},
    {u'{', 0x28},   {u'|', 0x40}, {u'}', 0x29},  {u'~', 0x3D}, {0x00A4, 0x65},
};
// The Greek capitals (and the two small letters of the table) with one septet.
constexpr Pair kGreek[] = {
    {0x0394, 0x10}, {0x03A6, 0x12}, {0x0393, 0x13}, {0x039B, 0x14}, {0x03A9, 0x15},
    {0x03A0, 0x16}, {0x03C8, 0x17}, {0x03A3, 0x18}, {0x03B8, 0x19}, {0x039E, 0x1A},
};

// Extension code after an escape -> UCS-2 (anything not listed gives U+001B).
std::uint16_t extensionUnit(std::uint8_t code) {
    switch (code) {
    case 0x0A: return 0x000C;
    case 0x14: return u'^';
    case 0x28: return u'{';
    case 0x29: return u'}';
    case 0x2F: return u'\\';
    case 0x3C: return u'[';
    case 0x3D: return u'~';
    case 0x3E: return u']';
    case 0x40: return u'|';
    case 0x65: return 0x20AC;
    default: return 0x001B;
    }
}

// UCS-2 units below U+0100 -> septet; accented letters fold to plain ones,
// units without a 7-bit form give 0x20.
struct Range {
    std::uint8_t first, last, code;
};
constexpr Range kLatin[] = {
    {0x0A, 0x0A, 0x0A}, {0x0D, 0x0D, 0x0D}, {0x24, 0x24, 0x02}, {0x40, 0x40, 0x00},
    {0x5F, 0x5F, 0x11}, {0xA1, 0xA1, 0x40}, {0xA3, 0xA3, 0x01}, {0xA5, 0xA5, 0x03},
    {0xA7, 0xA7, 0x5F}, {0xBF, 0xBF, 0x60}, {0xC0, 0xC3, 0x41}, {0xC5, 0xC5, 0x0E},
    {0xC6, 0xC6, 0x1C}, {0xC7, 0xC7, 0x09}, {0xC8, 0xC8, 0x45}, {0xC9, 0xC9, 0x1F},
    {0xCA, 0xCB, 0x45}, {0xCC, 0xCF, 0x49}, {0xD2, 0xD5, 0x4F}, {0xD6, 0xD6, 0x5C},
    {0xD8, 0xD8, 0x0B}, {0xD9, 0xDB, 0x55}, {0xDC, 0xDC, 0x5E}, {0xDD, 0xDD, 0x59},
    {0xDF, 0xDF, 0x1E}, {0xE0, 0xE0, 0x7F}, {0xE1, 0xE3, 0x61}, {0xE4, 0xE4, 0x7B},
    {0xE5, 0xE5, 0x0F}, {0xE6, 0xE6, 0x1D}, {0xE7, 0xE7, 0x09}, {0xE8, 0xE8, 0x04},
    {0xE9, 0xE9, 0x05}, {0xEA, 0xEB, 0x65}, {0xEC, 0xEC, 0x07}, {0xED, 0xEF, 0x69},
    {0xF1, 0xF1, 0x7D}, {0xF2, 0xF2, 0x08}, {0xF3, 0xF5, 0x6F}, {0xF6, 0xF6, 0x7C},
    {0xF8, 0xF8, 0x0C}, {0xF9, 0xF9, 0x06}, {0xFA, 0xFB, 0x75}, {0xFC, 0xFC, 0x7E},
    {0xFD, 0xFD, 0x79}, {0xFF, 0xFF, 0x79},
};

std::array<std::uint8_t, 256> buildLatin() {
    std::array<std::uint8_t, 256> t{};
    t.fill(NO_FORM);
    for (int c = 0x20; c <= 0x5A; ++c) t[c] = static_cast<std::uint8_t>(c);
    for (int c = 0x61; c <= 0x7A; ++c) t[c] = static_cast<std::uint8_t>(c);
    for (const Range& r : kLatin)
        for (int c = r.first; c <= r.last; ++c) t[c] = r.code;
    return t;
}
const std::array<std::uint8_t, 256>& latinTable() {
    static const std::array<std::uint8_t, 256> t = buildLatin();
    return t;
}

int find(const Pair* table, std::size_t n, std::uint16_t unit) {
    for (std::size_t i = 0; i < n; ++i)
        if (table[i].unit == unit) return table[i].code;
    return -1;
}
int escapedCode(std::uint16_t unit) { return find(kEscaped, std::size(kEscaped), unit); }
int greekCode(std::uint16_t unit) { return find(kGreek, std::size(kGreek), unit); }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::vector<std::uint8_t> toSeptets(const std::vector<std::uint16_t>& units) {
    std::vector<std::uint8_t> out(units.size() * 2 + 1);
    const int n = UnicodeToGsm(out.data(), static_cast<int>(out.size()), units.data(), static_cast<int>(units.size()));
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

QByteArray unitsToText(const std::uint16_t* units, std::size_t count) {
    return codepage::Ucs2ToAnsi(reinterpret_cast<const char*>(units), count * 2);
}

}  // namespace

int UnicodeToGsm(std::uint8_t* out, int outSize, const std::uint16_t* in, int inLen) {
    if (!out || !in || outSize <= 0 || inLen < 0 || outSize < 2 * inLen) return -1;
    int n = 0;
    for (int i = 0; i < inLen; ++i) {
        const std::uint16_t u = in[i];
        if (const int e = escapedCode(u); e >= 0) {
            out[n++] = ESC;
            out[n++] = static_cast<std::uint8_t>(e);
        } else if (u < 0x100) {
            out[n++] = latinTable()[u];
        } else if (const int g = greekCode(u); g >= 0) {
            out[n++] = static_cast<std::uint8_t>(g);
        } else {
            out[n++] = NO_FORM;
        }
    }
    return n;
}

int GsmToUnicode(std::uint16_t* out, int outCap, const std::uint8_t* in, int inLen) {
    if (!out || !in || outCap <= 0 || inLen < 0 || outCap < inLen) return -1;
    int n = 0;
    for (int i = 0; i < inLen; ++i) {
        const std::uint8_t b = in[i];
        if (b == ESC) {
            if (i + 1 >= inLen) break;  // a lone escape at the end gives nothing
            const std::uint8_t code = in[++i];
            out[n++] = code >= 0x80 ? 0x0020 : extensionUnit(code);
        } else {
            out[n++] = b >= 0x80 ? 0x0020 : kGsmToUcs2[b];
        }
    }
    return n;
}

int IsGsmText(const std::uint16_t* in, int len) {
    if (!in) return -1;
    for (int i = 0; i < len; ++i) {
        const std::uint16_t u = in[i];
        if (u == 0x0020 || escapedCode(u) >= 0 || greekCode(u) >= 0) continue;
        if (u < 0x100 && latinTable()[u] != NO_FORM) continue;
        return 0;
    }
    return 1;
}

std::vector<std::uint16_t> TextToUcs2(const char* text, std::size_t maxBytes) {
    if (!text) return {};
    const QByteArray u = codepage::AnsiToUcs2(text, codepage::FieldLength(text, maxBytes));
    std::vector<std::uint16_t> units(static_cast<std::size_t>(u.size()) / 2);
    if (!units.empty()) std::memcpy(units.data(), u.constData(), units.size() * 2);
    return units;
}

int GetSmsCoding(const char* text) {
    if (!text) return -1;
    const std::vector<std::uint16_t> units = TextToUcs2(text);
    static const std::uint16_t empty = 0;
    return IsGsmText(units.empty() ? &empty : units.data(), static_cast<int>(units.size()));
}

int HexToBytes(std::uint8_t* out, int size, const char* hex, int digits) {
    if (!out || !hex || size <= 0 || digits < 0 || size < digits / 2 + 1) return -1;
    for (int i = 0; i < digits; ++i)
        if (hexValue(hex[i]) < 0) return -1;  // nothing written for a bad text
    for (int i = 0; i < digits; ++i) {
        const int v = hexValue(hex[i]);
        out[i / 2] |= static_cast<std::uint8_t>(i % 2 == 0 ? v << 4 : v);
    }
    return 0;
}

int UnicodeToAnsi(char* out, int size, const std::uint16_t* in, int len) {
    if (!out || !in || size <= 0 || len < 0 || size < 2 * len) return -1;
    const QByteArray text = unitsToText(in, static_cast<std::size_t>(len));
    // A code page with long characters may need more than two bytes a unit.
    return static_cast<int>(codepage::CopyText(out, static_cast<std::size_t>(size), text.constData(),
                                               static_cast<std::size_t>(text.size())));
}

SmsLength GetSmsLength(const char* text) {
    if (!text) return {-1, 0};
    const std::vector<std::uint16_t> units = TextToUcs2(text);
    if (units.empty()) return {SMS_CODING_GSM, 0};
    if (IsGsmText(units.data(), static_cast<int>(units.size())) == 1)
        return {SMS_CODING_GSM, static_cast<int>(toSeptets(units).size())};
    return {SMS_CODING_UCS2, static_cast<int>(units.size())};
}

int GetSmsPartCount(int coding, int length, const SmsLimits& limits) {
    const int single = limits.Single(coding);
    if (single <= 0 || length < 0) return 0;  // no room at all
    if (length <= single) return 1;
    const int part = limits.Part(coding);
    if (part <= 0) return 0;
    return length / part + (length % part > 0 ? 1 : 0);
}

QByteArray GetSmsPart(const char* text, int coding, int part, const SmsLimits& limits) {
    const int per = limits.Part(coding);
    if (!text || per <= 0 || part < 0) return {};
    if (coding != SMS_CODING_GSM) return GetTextPart(text, per, part);
    const std::vector<std::uint8_t> septets = toSeptets(TextToUcs2(text));
    const std::size_t from = static_cast<std::size_t>(part) * static_cast<std::size_t>(per);
    if (from >= septets.size()) return {};
    const std::size_t n = std::min(static_cast<std::size_t>(per), septets.size() - from);
    return QByteArray(reinterpret_cast<const char*>(septets.data() + from), static_cast<qsizetype>(n));
}

QByteArray GetTextPart(const char* text, int unitsPerPart, int part) {
    if (!text || unitsPerPart <= 0 || part < 0) return {};
    const std::vector<std::uint16_t> units = TextToUcs2(text);
    const std::size_t from = static_cast<std::size_t>(part) * static_cast<std::size_t>(unitsPerPart);
    if (from >= units.size()) return {};
    const std::size_t n = std::min(static_cast<std::size_t>(unitsPerPart), units.size() - from);
    return unitsToText(units.data() + from, n);
}

QByteArray SeptetsToText(const std::uint8_t* septets, int len) {
    if (!septets || len <= 0) return {};
    if (len > 256) len = 256;  // at most 256 units
    std::uint16_t units[256];
    const int n = GsmToUnicode(units, 256, septets, len);
    if (n <= 0) return {};
    char text[513];
    const int bytes = UnicodeToAnsi(text, sizeof text, units, n);
    return bytes > 0 ? QByteArray(text, bytes) : QByteArray();
}
