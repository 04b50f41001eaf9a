// Fitting a contact to the limits of its storage before it is written: texts
// are cut to the storage's lengths (bytes for 7-bit text, UCS-2 units for
// other text, always on a character boundary and always NUL-terminated inside
// the field), and fields the storage does not keep are cleared.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/settings_store.h"
#include "velkdev/velkdev.h"

namespace pbfit {

// The length of the prefix of text[0..len) that a field of `width` bytes
// keeps under the 7-bit length l8 (bytes) and the UCS-2 length l16 (units).
// 7-bit text keeps at most min(l8, width - 1) bytes. Other text keeps the
// longest run of whole characters whose UCS-2 form is at most
// min(2 * l16, width) bytes and which leaves room for the terminator; when
// cutting leaves only 7-bit text, that text is cut like 7-bit text.
std::size_t FitLength(const char* text, std::size_t len, std::int32_t l8, std::int32_t l16, std::size_t width);

// Fits one text field in place: cut to FitLength and zero-filled after it.
void FitField(char* field, std::size_t width, std::int32_t l8, std::int32_t l16);

// Forces every text field and number slot to end with a NUL inside its width,
// so a record from a file or the library is never read past a field.
void TerminateFields(_VELK_CONTACT_RECORD& r);

// Fits the whole record with the kind 2 (text) and kind 4 (ucs2) limits of
// its storage, then clears the fields the storage does not keep.
void FitContact(_VELK_CONTACT_RECORD& r, const SettingRecord& text, const SettingRecord& ucs2);

}  // namespace pbfit
