// Conversion between the library's message record and the program's
// SmsRecord, time texts, and bounded copies into fixed text fields.
#pragma once

#include <QByteArray>
#include <array>
#include <cstddef>
#include <cstdint>

#include "sms/domain/sms_record.h"
#include "velkdev/velkdev.h"

namespace smsconv {

// Copies a text of at most srcMax bytes into dst[dstSize]: at most
// min(dstSize - 1, limit) bytes, cut on a character boundary, terminated.
std::size_t CopyField(char* dst, std::size_t dstSize, const char* src, std::size_t srcMax,
                      std::size_t limit = static_cast<std::size_t>(-1));
// Appends text to a record's body, keeping the body within 800 bytes.
void AppendBody(SmsRecord& r, const char* text, std::size_t len);
// Sets a record's body (at most 800 bytes).
void SetBody(SmsRecord& r, const QByteArray& text);

// "%4d-%02d-%02d  %02d:%02d:%02d" of six time words, at most 20 characters.
void FormatTime(char (&out)[24], const std::uint16_t* words);
// A time text read into seven words (the seventh 0). An empty text is
// replaced by the local time now, which is written back into it.
std::array<std::uint16_t, 7> TimeWords(char (&text)[24]);

// The folder of a status: 1 and 2 inbox, 3 sent, 4 drafts, 5 other, else 0.
std::uint8_t FolderOf(std::uint8_t status);
// A library record as an SmsRecord (body at most 800 bytes, number at most
// 120, every field terminated).
SmsRecord FromDevice(const _VELK_MESSAGE_RECORD& d);
// A zeroed library record for saving r: size, replace type, service centre,
// status, storage, the number (at most 127 characters) and the time words in
// the fields of r's folder.
_VELK_MESSAGE_RECORD ToDevice(const SmsRecord& r, const std::array<std::uint16_t, 7>& time);
// Puts a body into a library record: septets, or code-page text cut on a
// character boundary. At most 255 bytes, so that the length byte holds it.
void SetDeviceBody(_VELK_MESSAGE_RECORD& d, const QByteArray& body, bool septets);

}  // namespace smsconv
