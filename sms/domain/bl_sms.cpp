#include "sms/domain/bl_sms.h"

#include "core/base.h"
#include "sms/domain/tbl_sms.h"

namespace {
TBL_sms* store() {
    TBL_base* core = BL_base();
    return core ? core->sms : nullptr;
}
}  // namespace

std::uint16_t BL_LoadSms(std::uint8_t storage) {
    TBL_sms* s = store();
    return s ? s->Load(storage) : std::uint16_t{BL_ERR_CREATE};
}

std::uint16_t BL_GetSmsCount(std::uint8_t folder, std::uint8_t storage) {
    TBL_sms* s = store();
    return s ? s->GetCount(folder, storage) : 0;
}

std::uint16_t BL_GetFirstSms(SmsRecord* rec) {
    TBL_sms* s = store();
    return s ? s->GetFirst(rec) : std::uint16_t{BL_ERR_CREATE};
}

std::uint16_t BL_GetNextSms(SmsRecord* rec) {
    TBL_sms* s = store();
    return s ? s->GetNext(rec) : std::uint16_t{BL_ERR_CREATE};
}

std::uint16_t BL_SaveSms(const SmsRecord* rec, const char* recipients) {
    TBL_sms* s = store();
    return s ? s->SaveToRecipients(rec, recipients) : std::uint16_t{BL_ERR_CREATE};
}

std::uint16_t BL_DeleteSms(const SmsRecord* rec) {
    TBL_sms* s = store();
    return s ? s->Delete(rec) : std::uint16_t{BL_ERR_CREATE};
}

std::uint16_t BL_DeleteSms(std::uint32_t, const SmsRecord* rec, std::uint32_t) { return BL_DeleteSms(rec); }

std::uint16_t BL_SetSmsStatus(const SmsRecord* rec, std::uint8_t read) {
    TBL_sms* s = store();
    return s ? s->SetStatus(rec, read) : std::uint16_t{BL_ERR_CREATE};
}

std::uint16_t BL_SaveSmsToOwnNumber(const SmsRecord* rec) {
    TBL_sms* s = store();
    return s ? s->SaveToOwnNumber(rec) : std::uint16_t{BL_ERR_CREATE};
}
