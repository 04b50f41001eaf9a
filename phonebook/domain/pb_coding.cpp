#include "phonebook/domain/pb_coding.h"

#include <string>

namespace pbcoding {
namespace {
// Stand-in for the SMS coding test until that library is in the tree:
// printable ASCII with its escaped characters, line feed and carriage return.
bool asciiGsm(unsigned char c) {
    if (c == '\n' || c == '\r') return true;
    if (c < 0x20 || c == '`' || c >= 0x7F) return false;
    return true;
}
}  // namespace

bool IsGsm(const char* text, std::size_t len) {
    for (std::size_t i = 0; i < len; ++i)
        if (!asciiGsm(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

}  // namespace pbcoding
