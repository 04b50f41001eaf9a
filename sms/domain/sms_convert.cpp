#include "sms/domain/sms_convert.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "platform/codepage.h"

namespace smsconv {

std::size_t CopyField(char* dst, std::size_t dstSize, const char* src, std::size_t srcMax, std::size_t limit) {
    if (!dst || dstSize == 0) return 0;
    const std::size_t room = std::min(dstSize - 1, limit);
    const std::size_t len = codepage::FieldLength(src, srcMax);
    // Most texts fit: copy them whole without walking their characters.
    const std::size_t n = len <= room ? len : codepage::CutLength(src, len, room);
    if (n) std::memmove(dst, src, n);
    dst[n] = 0;
    return n;
}

void AppendBody(SmsRecord& r, const char* text, std::size_t len) {
    const std::size_t have = codepage::FieldLength(r.body, SMS_BODY_CHARS);
    const std::size_t room = SMS_BODY_CHARS - have;
    len = codepage::FieldLength(text, len);
    const std::size_t n = len <= room ? len : codepage::CutLength(text, len, room);
    std::memcpy(r.body + have, text, n);
    r.body[have + n] = 0;
}

void SetBody(SmsRecord& r, const QByteArray& text) {
    CopyField(r.body, sizeof r.body, text.constData(), static_cast<std::size_t>(text.size()), SMS_BODY_CHARS);
}

void FormatTime(char (&out)[24], const std::uint16_t* w) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%4d-%02d-%02d  %02d:%02d:%02d", w[0], w[1], w[2], w[3], w[4], w[5]);
    CopyField(out, sizeof out, buf, sizeof buf, 20);
}

std::array<std::uint16_t, 7> TimeWords(char (&text)[24]) {
    std::array<std::uint16_t, 7> w{};
    if (codepage::FieldLength(text, sizeof text) == 0) {
        const std::time_t now = std::time(nullptr);
        std::tm tm{};
        localtime_r(&now, &tm);
        w = {static_cast<std::uint16_t>(tm.tm_year + 1900), static_cast<std::uint16_t>(tm.tm_mon + 1),
             static_cast<std::uint16_t>(tm.tm_mday), static_cast<std::uint16_t>(tm.tm_hour),
             static_cast<std::uint16_t>(tm.tm_min), static_cast<std::uint16_t>(tm.tm_sec), 0};
        FormatTime(text, w.data());
        return w;
    }
    char bounded[24];
    CopyField(bounded, sizeof bounded, text, sizeof text);
    int v[6] = {};
    std::sscanf(bounded, "%4d-%02d-%02d  %02d:%02d:%02d", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    for (int i = 0; i < 6; ++i) w[i] = static_cast<std::uint16_t>(v[i]);
    return w;
}

std::uint8_t FolderOf(std::uint8_t status) {
    switch (status) {
    case SMS_READ:
    case SMS_UNREAD: return FOLDER_INBOX;
    case SMS_SENT: return FOLDER_SENT;
    case SMS_UNSENT: return FOLDER_DRAFTS;
    case SMS_OTHER: return FOLDER_OTHER;
    default: return FOLDER_ALL;
    }
}

SmsRecord FromDevice(const _VELK_MESSAGE_RECORD& d) {
    SmsRecord r{};
    r.size = sizeof r;
    r.index = d.index;
    r.concatenated = d.concatenated;
    r.replaceType = d.replaceType;
    r.reference = d.reference;
    r.total = d.total;
    r.partNumber = d.partNumber;
    CopyField(r.serviceCentre, sizeof r.serviceCentre, d.serviceCentre, sizeof d.serviceCentre);
    CopyField(r.body, sizeof r.body, reinterpret_cast<const char*>(d.body), sizeof d.body, SMS_BODY_CHARS);
    r.status = d.status;
    r.storage = d.storage;
    r.folder = FolderOf(d.status);
    switch (r.folder) {
    case FOLDER_INBOX:
        CopyField(r.number, sizeof r.number, d.sender, sizeof d.sender, 120);
        FormatTime(r.time, d.receivedTime);
        break;
    case FOLDER_SENT:
    case FOLDER_DRAFTS:
        CopyField(r.number, sizeof r.number, d.recipient, sizeof d.recipient, 120);
        if (d.sentTime[0] != 0) FormatTime(r.time, d.sentTime);
        break;
    default: break;
    }
    return r;
}

_VELK_MESSAGE_RECORD ToDevice(const SmsRecord& r, const std::array<std::uint16_t, 7>& time) {
    _VELK_MESSAGE_RECORD d{};
    d.cbSize = sizeof d;
    d.replaceType = r.replaceType;
    CopyField(d.serviceCentre, sizeof d.serviceCentre, r.serviceCentre, sizeof r.serviceCentre);
    d.status = r.status;
    d.storage = r.storage;
    const bool inbox = r.folder == FOLDER_INBOX;
    CopyField(inbox ? d.sender : d.recipient, sizeof d.sender, r.number, sizeof r.number, 127);
    std::memcpy(inbox ? d.receivedTime : d.sentTime, time.data(), sizeof d.sentTime);
    return d;
}

void SetDeviceBody(_VELK_MESSAGE_RECORD& d, const QByteArray& body, bool septets) {
    std::memset(d.body, 0, sizeof d.body);
    constexpr std::size_t most = 255;
    std::size_t n = static_cast<std::size_t>(body.size());
    if (septets) {
        n = std::min(n, most);
        std::memcpy(d.body, body.constData(), n);
    } else {
        n = CopyField(reinterpret_cast<char*>(d.body), sizeof d.body, body.constData(), n, most);
    }
    d.bodyLength = static_cast<std::uint8_t>(n);
}

}  // namespace smsconv
