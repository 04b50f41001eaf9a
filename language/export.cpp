#include "language/language.h"

#include <algorithm>
#include <cstring>

namespace {
const LanguageText* find(unsigned int id) {
    static const std::size_t count = [] {
        std::size_t n = 0;
        while (kLanguageTexts[n].text) ++n;
        return n;
    }();
    const LanguageText* end = kLanguageTexts + count;
    const LanguageText* it =
        std::lower_bound(kLanguageTexts, end, id, [](const LanguageText& t, unsigned int v) { return t.id < v; });
    return (it != end && it->id == id) ? it : nullptr;
}
}  // namespace

extern "C" __attribute__((visibility("default"))) int LinkoraLoadString(unsigned int id, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    buffer[0] = 0;
    const LanguageText* t = find(id);
    if (!t) return 0;
    std::size_t n = std::strlen(t->text);
    const std::size_t room = static_cast<std::size_t>(size) - 1;
    if (n > room) {
        n = room;
        while (n > 0 && (static_cast<unsigned char>(t->text[n]) & 0xC0) == 0x80) --n;  // UTF-8 boundary
    }
    std::memcpy(buffer, t->text, n);
    buffer[n] = 0;
    return static_cast<int>(n);
}
