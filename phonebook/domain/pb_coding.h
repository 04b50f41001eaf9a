// The phonebook's one use of the SMS text coding: whether a text can be
// written in the GSM 7-bit alphabet (then its limits count bytes) or needs
// UCS-2 (then they count UCS-2 units).
#pragma once

#include <cstddef>

namespace pbcoding {

// True when every character of text[0..len) has a GSM 7-bit form.
bool IsGsm(const char* text, std::size_t len);

}  // namespace pbcoding
