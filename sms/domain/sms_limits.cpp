#include "sms/domain/sms_limits.h"

#include "core/allsettings.h"
#include "core/base.h"
#include "core/settings_store.h"

SmsLimits CurrentSmsLimits() {
    SmsLimits l;
    if (!BL_base()) return l;
    SettingRecord text{}, ucs2{};
    BL_GetSetting(&text, STORAGE_ME, KIND_TEXT);
    BL_GetSetting(&ucs2, STORAGE_ME, KIND_UCS2);
    l.single7 = text.smsLength;
    l.part7 = text.smsPartLength;
    l.singleUcs2 = ucs2.smsLength;
    l.partUcs2 = ucs2.smsPartLength;
    return l;
}

int GetSmsPartCount(int coding, int length) { return GetSmsPartCount(coding, length, CurrentSmsLimits()); }

// The counter is read as unsigned so that the reference stays within 1..255
// whatever bytes the file held.
int NextSmsReference() { return static_cast<int>(AllSettingsRecord().smsReference % 255u) + 1; }

std::uint32_t NextDraftReference() { return AllSettingsRecord().smsReference + 1u; }

void AdvanceSmsReference() {
    AllSettingsRecord().smsReference += 1u;
    SaveAllSettings();  // a failing write keeps the previous file; nothing is reported
}
