// Saving messages into a store: capacity, one record (single or in parts),
// copies for a list of recipients.
#include <cstring>

#include "core/base.h"
#include "core/settings_store.h"
#include "platform/codepage.h"
#include "sms/domain/sms_convert.h"
#include "sms/domain/sms_limits.h"
#include "sms/domain/tbl_sms.h"

namespace {

constexpr int kMostRecipients = 200;
constexpr std::size_t kMostNumberChars = 120;

// The length of the separator at p: ";" or the full-width semicolon, else 0.
std::size_t separatorAt(const char* p, std::size_t left) {
    if (*p == ';') return 1;
    if (left >= 2 && static_cast<unsigned char>(p[0]) == 0xA3 && static_cast<unsigned char>(p[1]) == 0xBB) return 2;
    return 0;
}

bool validNumber(const std::string& n, const char* allowed) {
    if (n.empty() || n.size() > kMostNumberChars) return false;
    const std::size_t allowedLen = codepage::FieldLength(allowed, 32);
    for (char c : n)
        if (c != ';' && (c == 0 || !std::memchr(allowed, c, allowedLen))) return false;
    return true;
}

}  // namespace

std::uint16_t TBL_sms::CheckCapacity(std::uint8_t storage, int n) const {
    if (storage > STORAGE_PC) return 0;
    SettingRecord limits{};
    BL_GetSetting(&limits, storage, KIND_TEXT);
    const auto capacity = static_cast<std::uint16_t>(limits.messageCapacity);
    if (capacity >= n + totals_[storage]) return 0;
    switch (storage) {
    case STORAGE_SIM: return SMS_E_SIM_FULL;
    case STORAGE_ME: return SMS_E_ME_FULL;
    default: return SMS_E_PC_FULL;
    }
}

std::uint16_t TBL_sms::SaveOne(SmsRecord& rec) {
    if (rec.storage > STORAGE_PC) return SMS_E_BAD_INPUT;
    rec.body[sizeof rec.body - 1] = 0;
    const SmsLength len = GetSmsLength(rec.body);
    if (len.coding < 0) return SMS_E_BAD_INPUT;
    // No limits from the card (0) leave no room: nothing is cut or stored.
    const int parts = GetSmsPartCount(len.coding, len.length);
    if (parts <= 0 || parts > 255) return SMS_E_BAD_INPUT;
    return parts > 1 ? saveParts(rec, len.coding, parts) : saveSingle(rec, len.coding, len.length);
}

namespace {

// The list copy of a saved message: header, number, time, storage, status,
// folder, replace type, service centre and the saved body as text.
SmsRecord listCopy(const SmsRecord& rec, const _VELK_MESSAGE_RECORD& d, bool septets) {
    SmsRecord c{};
    c.size = sizeof c;
    c.index = d.index;
    c.concatenated = d.concatenated;
    c.reference = d.reference;
    c.total = d.total;
    c.partNumber = d.partNumber;
    c.replaceType = rec.replaceType;
    c.storage = rec.storage;
    c.status = rec.status;
    c.folder = rec.folder;
    smsconv::CopyField(c.number, sizeof c.number, rec.number, sizeof rec.number);
    smsconv::CopyField(c.serviceCentre, sizeof c.serviceCentre, rec.serviceCentre, sizeof rec.serviceCentre);
    const bool unsentYearZero = (rec.status == SMS_SENT || rec.status == SMS_UNSENT) && d.sentTime[0] == 0;
    if (!unsentYearZero) smsconv::CopyField(c.time, sizeof c.time, rec.time, sizeof rec.time);
    const char* body = reinterpret_cast<const char*>(d.body);
    smsconv::SetBody(c, septets ? SeptetsToText(d.body, d.bodyLength) : QByteArray(body, d.bodyLength));
    return c;
}

}  // namespace

std::uint16_t TBL_sms::saveParts(SmsRecord& rec, int coding, int parts) {
    const std::uint8_t s = rec.storage;
    if (const std::uint16_t full = CheckCapacity(s, parts)) return full;
    const auto reference =
        static_cast<std::uint16_t>(rec.status == SMS_UNSENT ? NextDraftReference() : NextSmsReference());
    const SmsLimits limits = CurrentSmsLimits();
    const auto time = smsconv::TimeWords(rec.time);
    const bool septets = coding == SMS_CODING_GSM && s != STORAGE_PC;
    std::uint16_t result = 0;
    for (int k = 0; k < parts; ++k) {
        _VELK_MESSAGE_RECORD d = smsconv::ToDevice(rec, time);
        d.index = rec.index;
        d.concatenated = 1;
        d.reference = reference;
        d.total = static_cast<std::uint8_t>(parts);
        d.partNumber = static_cast<std::uint8_t>(k + 1);
        d.coding = coding == SMS_CODING_GSM ? VELK_CODING_GSM : VELK_CODING_UCS2;
        // 7-bit text for the computer store goes as text, cut at the 7-bit part limit.
        const QByteArray body = septets ? GetSmsPart(rec.body, coding, k, limits)
                                        : GetTextPart(rec.body, limits.Part(coding), k);
        smsconv::SetDeviceBody(d, body, septets);
        result = Velk_SaveMessage(&d);
        if (result != 0) break;  // the parts saved so far stay
        lists_[s].push_back(std::make_unique<SmsRecord>(listCopy(rec, d, septets)));
    }
    AdvanceSmsReference();
    join(s);
    recount(s);
    return result;
}

std::uint16_t TBL_sms::saveSingle(SmsRecord& rec, int coding, int length) {
    const std::uint8_t s = rec.storage;
    if (const std::uint16_t full = CheckCapacity(s, 1)) return full;
    const auto time = smsconv::TimeWords(rec.time);
    _VELK_MESSAGE_RECORD d = smsconv::ToDevice(rec, time);
    d.coding = coding == SMS_CODING_GSM ? VELK_CODING_GSM : VELK_CODING_UCS2;
    const bool septets = coding == SMS_CODING_GSM && s != STORAGE_PC && length > 0;
    const SmsLimits limits{length, length, length, length};  // one part holding everything
    smsconv::SetDeviceBody(d, septets ? GetSmsPart(rec.body, coding, 0, limits) : QByteArray(rec.body), septets);
    const std::uint16_t result = Velk_SaveMessage(&d);
    if (result != 0) return result;
    lists_[s].push_back(std::make_unique<SmsRecord>(listCopy(rec, d, septets)));
    if (rec.concatenated) join(s);
    recount(s);
    return 0;
}

std::uint16_t TBL_sms::SplitRecipients(const char* text, const char* allowed, std::vector<std::string>* numbers) {
    numbers->clear();
    const std::size_t len = text ? std::strlen(text) : 0;
    std::size_t start = 0, pos = 0;
    while (pos < len) {
        const std::size_t sep = separatorAt(text + pos, len - pos);
        if (sep == 0) {
            pos += codepage::CharLength(text + pos, len - pos);
            continue;
        }
        numbers->emplace_back(text + start, pos - start);
        pos += sep;
        start = pos;
        if (numbers->size() == kMostRecipients && start < len) return SMS_E_TOO_MANY;
    }
    if (start < len) numbers->emplace_back(text + start, len - start);
    for (const std::string& n : *numbers)
        if (!validNumber(n, allowed)) return SMS_E_BAD_NUMBER;
    return 0;
}

std::uint16_t TBL_sms::SaveToRecipients(const SmsRecord* rec, const char* recipients) {
    if (!rec) return SMS_E_NO_RECORD;
    char own[sizeof rec->number];
    smsconv::CopyField(own, sizeof own, rec->number, sizeof rec->number);
    const char* text = recipients && *recipients ? recipients : own;
    std::vector<std::string> numbers;
    const char* allowed = core_.set ? core_.set->FieldSizes(STORAGE_PC).numberChars : "";
    if (const std::uint16_t r = SplitRecipients(text, allowed, &numbers)) return r;
    if (numbers.empty()) numbers.emplace_back();
    for (const std::string& n : numbers) {
        SmsRecord copy = *rec;
        smsconv::CopyField(copy.number, sizeof copy.number, n.c_str(), n.size());
        if (copy.replaceType != 0) deleteReplaced(copy);
        if (const std::uint16_t r = SaveOne(copy)) return r;
    }
    return 0;
}

std::uint16_t TBL_sms::SaveToOwnNumber(const SmsRecord* rec) {
    if (!rec) return SMS_E_NO_RECORD;
    SmsRecord copy = *rec;
    return SaveOne(copy);
}
