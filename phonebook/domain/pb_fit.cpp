#include "phonebook/domain/pb_fit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "phonebook/domain/pb_coding.h"
#include "platform/codepage.h"

namespace pbfit {
namespace {

std::size_t clampLength(std::int32_t v, std::size_t most) {
    return v <= 0 ? 0 : std::min(static_cast<std::size_t>(v), most);
}

// UCS-2 units of one character: one, or a surrogate pair for a character
// outside the basic plane (only multi-byte sequences of four bytes can be).
std::size_t unitsOf(const char* p, std::size_t n) {
    if (n < 4) return 1;
    return static_cast<std::size_t>(codepage::AnsiToUcs2(p, n).size()) / 2;
}

// A text cut by someone else may end in the lead byte of a double-byte
// character; that half character is dropped.
std::size_t withoutPartialTail(const char* text, std::size_t len) {
    std::size_t last = 0;
    for (std::size_t pos = 0; pos < len;) {
        last = pos;
        pos += codepage::CharLength(text + pos, len - pos);
    }
    if (len == 0 || last != len - 1 || static_cast<unsigned char>(text[last]) < 0x80) return len;
    const QByteArray u = codepage::AnsiToUcs2(text + last, 1);
    const bool replaced = u.size() == 2 && static_cast<unsigned char>(u[0]) == 0xFD && static_cast<unsigned char>(u[1]) == 0xFF;
    return replaced || u.isEmpty() ? len - 1 : len;
}

}  // namespace

std::size_t FitLength(const char* text, std::size_t len, std::int32_t l8, std::int32_t l16, std::size_t width) {
    if (width == 0) return 0;
    const std::size_t keepMax = width - 1;  // room for the terminator
    const std::size_t l = clampLength(l8, keepMax);
    len = withoutPartialTail(text, len);
    if (len == 0) return 0;
    if (l == 0 || pbcoding::IsGsm(text, len)) return codepage::CutLength(text, len, l);

    const std::size_t budget = clampLength(l16, width / 2) * 2;
    // Character boundaries and the UCS-2 size of each prefix.
    std::vector<std::size_t> ends;   // ends[k]: bytes of the first k + 1 characters
    std::vector<std::size_t> units;  // units[k]: UCS-2 units of the first k + 1 characters
    std::size_t firstNonGsm = static_cast<std::size_t>(-1);
    for (std::size_t pos = 0, u = 0; pos < len;) {
        const std::size_t n = codepage::CharLength(text + pos, len - pos);
        if (firstNonGsm == static_cast<std::size_t>(-1) && !pbcoding::IsGsm(text + pos, n)) firstNonGsm = ends.size();
        u += unitsOf(text + pos, n);
        pos += n;
        ends.push_back(pos);
        units.push_back(u);
    }
    std::size_t k = ends.size();  // characters kept
    auto fits = [&](std::size_t count) {
        return count == 0 || (units[count - 1] * 2 <= budget && ends[count - 1] <= keepMax);
    };
    while (!fits(k)) {
        --k;
        // What is left is 7-bit text: it takes the 7-bit length instead.
        if (k <= firstNonGsm) return codepage::CutLength(text, k ? ends[k - 1] : 0, l);
    }
    return k ? ends[k - 1] : 0;
}

void FitField(char* field, std::size_t width, std::int32_t l8, std::int32_t l16) {
    const std::size_t len = codepage::FieldLength(field, width);
    const std::size_t keep = FitLength(field, len, l8, l16, width);
    std::memset(field + keep, 0, width - keep);
}

namespace {
template <std::size_t N>
void terminate(char (&field)[N]) { field[N - 1] = 0; }
template <std::size_t N>
void clear(char (&field)[N]) { std::memset(field, 0, N); }
}  // namespace

void TerminateFields(_VELK_CONTACT_RECORD& r) {
    terminate(r.name);
    terminate(r.text2);
    terminate(r.text3);
    terminate(r.email);
    terminate(r.note);
    terminate(r.url);
    for (auto& slot : r.numbers) terminate(slot.number);
}

void FitContact(_VELK_CONTACT_RECORD& r, const SettingRecord& text, const SettingRecord& ucs2) {
    TerminateFields(r);
    // The PC store takes a name of a full field in UCS-2 whatever the card says.
    const std::int32_t name16 = r.storage == STORAGE_PC ? 128 : ucs2.nameLength;
    FitField(r.name, sizeof r.name, text.nameLength, name16);
    FitField(r.text2, sizeof r.text2, text.text2Length, ucs2.text2Length);
    FitField(r.text3, sizeof r.text3, text.text3Length, ucs2.text3Length);
    FitField(r.email, sizeof r.email, text.emailLength, ucs2.emailLength);
    FitField(r.url, sizeof r.url, text.urlLength, ucs2.urlLength);
    for (auto& slot : r.numbers) FitField(slot.number, sizeof slot.number, text.numberLength, ucs2.numberLength);

    if (text.nameLength == 0) clear(r.name);
    if (text.text2Length == 0) clear(r.text2);
    if (text.text3Length == 0) clear(r.text3);
    if (text.emailLength == 0) clear(r.email);
    if (text.noteLength == 0) clear(r.note);
    if (text.urlLength == 0) clear(r.url);
    for (int i = 0; i < VELK_NUMBER_SLOTS; ++i)
        if (text.numberSlots < i + 1) std::memset(&r.numbers[i], 0, sizeof r.numbers[i]);
}

}  // namespace pbfit
