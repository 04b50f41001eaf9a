#include "core/payloads.h"

#include <cstring>

#include "platform/codepage.h"

namespace payloads {
namespace {
// Copies at most maxChars bytes of text into a field, without adding a
// terminator of its own: the field was zero-filled, so a shorter text is
// terminated and a text that fills the field is not.
void copyField(char* field, std::size_t maxChars, const char* text) {
    if (!text) return;
    // Look a few bytes past the limit so a character straddling it is seen whole.
    const std::size_t len = codepage::FieldLength(text, maxChars + 4);
    std::memcpy(field, text, codepage::CutLength(text, len, maxChars));
}
}  // namespace

SmsReportRecord* MakeReport(std::uint8_t status, const char* number, const char* time) {
    auto* r = new SmsReportRecord{};
    r->status = status;
    copyField(r->number, 120, number);
    copyField(r->time, sizeof r->time, time);
    return r;
}

SmsClass0Record* MakeClass0(const char* sender, const char* text) {
    auto* r = new SmsClass0Record{};
    copyField(r->sender, 120, sender);
    copyField(r->text, 160, text);
    return r;
}

char* CopyString(const char* text) {
    const std::size_t n = text ? std::strlen(text) : 0;
    char* s = new char[n + 1];
    if (n) std::memcpy(s, text, n);
    s[n] = 0;
    return s;
}
}  // namespace payloads
