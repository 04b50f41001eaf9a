// A stand-in language library whose texts are longer than the language table
// allows, so the table's own length limit can be seen at work. It keeps the
// contract of every language library: at most size-1 bytes, cut on a UTF-8
// character boundary, always terminated.
#include <cstring>
#include <string>

namespace {
std::string repeat(const char* unit, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += unit;
    return s;
}

std::string textOf(unsigned int id) {
    switch (id) {
        case 1: return repeat("a", 600);         // 600 one-byte characters
        case 2: return repeat("\xC3\xA9", 600);  // 600 two-byte characters (e acute)
        case 3: return repeat("\xE2\x82\xAC", 700);  // 700 three-byte characters (euro), longer than the buffer
        case 4: return repeat("b", 499);         // exactly at the limit
        case 5: return repeat("c", 498) + "\xE2\x82\xAC\xE2\x82\xAC";  // 500 characters ending in multi-byte ones
        default: return {};
    }
}
}  // namespace

extern "C" __attribute__((visibility("default"))) int LinkoraLoadString(unsigned int id, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    const std::string t = textOf(id);
    std::size_t n = t.size();
    const std::size_t room = static_cast<std::size_t>(size) - 1;
    if (n > room) {
        n = room;
        while (n > 0 && (static_cast<unsigned char>(t[n]) & 0xC0) == 0x80) --n;
    }
    std::memcpy(buffer, t.data(), n);
    buffer[n] = 0;
    return static_cast<int>(n);
}
