#include "phonebook/domain/pb_coding.h"

#include <cstdint>
#include <string>

#include "sms/domain/sms_coding.h"

namespace pbcoding {

bool IsGsm(const char* text, std::size_t len) {
    if (len == 0) return true;
    // Plain ASCII is its own UCS-2 in every code page we run with, so the
    // common case needs no conversion; anything else goes through the
    // code page as SMS bodies do.
    bool ascii = true;
    for (std::size_t i = 0; i < len && ascii; ++i) ascii = static_cast<unsigned char>(text[i]) < 0x80;
    if (ascii) {
        std::uint16_t units[128];
        for (std::size_t at = 0; at < len; at += 128) {
            const std::size_t n = len - at < 128 ? len - at : 128;
            for (std::size_t i = 0; i < n; ++i) units[i] = static_cast<unsigned char>(text[at + i]);
            if (IsGsmText(units, static_cast<int>(n)) != SMS_CODING_GSM) return false;
        }
        return true;
    }
    const std::string z(text, len);
    return GetSmsCoding(z.c_str()) == SMS_CODING_GSM;
}

}  // namespace pbcoding
