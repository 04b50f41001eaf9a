#include "core/settings_store.h"

#include <cstring>

#include "core/base.h"

TBLSet::TBLSet() = default;

std::int32_t TBLSet::Characters(std::uint32_t bits, std::uint8_t mask) {
    if (mask & 1) return static_cast<std::int32_t>(bits / 7);
    if (mask & 2) return static_cast<std::int32_t>(bits / 8);
    if (mask & 4) return static_cast<std::int32_t>(bits / 16);
    return 0;
}

SettingRecord TBLSet::Build(const _VELK_FIELD_SIZES& f, std::uint8_t kind, std::uint8_t storage) {
    SettingRecord r{};
    r.contactCapacity = static_cast<std::int32_t>(f.contactCapacity);
    r.passThrough = static_cast<std::int32_t>(f.passThrough);
    r.numberLength = Characters(f.numberSize, f.numberMask);
    r.emailLength = Characters(f.emailSize, f.emailMask);
    r.numberSlots = f.numberSlots;
    r.messageCapacity = static_cast<std::int32_t>(f.messageCapacity);
    r.kind = kind;
    r.storage = storage;
    if (kind == KIND_TEXT) {
        r.nameLength = Characters(f.nameSize, f.nameMask);
        r.text2Length = Characters(f.text2Size, f.text2Mask);
        r.urlLength = Characters(f.urlSize, f.urlMask);
        r.text3Length = Characters(f.text3Size, f.text3Mask);
        r.noteLength = Characters(f.noteSize, f.noteMask);
        r.smsLength = Characters(f.smsSize, f.smsMask);
        // A part of a long message gives room to the concatenation header.
        if (f.smsMask & 1) r.smsPartLength = r.smsLength - 7;
        else if (f.smsMask & 2) r.smsPartLength = r.smsLength - 6;
        r.furtherLength = Characters(f.furtherSize, f.furtherMask);
    } else {
        r.nameLength = f.nameSize / 16;
        r.text2Length = f.text2Size / 16;
        r.text3Length = f.text3Size / 16;
        r.noteLength = f.noteSize / 16;
        r.smsLength = static_cast<std::int32_t>(f.smsSize / 16);
        r.smsPartLength = r.smsLength - 3;
        r.furtherLength = static_cast<std::int32_t>(f.furtherSize / 16);
    }
    // A limit is never negative: with no field sizes every limit is 0 ("no room").
    if (r.smsPartLength < 0) r.smsPartLength = 0;
    return r;
}

std::uint16_t TBLSet::RefreshCapacities() {
    static const std::uint8_t order[3] = {STORAGE_PC, STORAGE_SIM, STORAGE_ME};
    std::uint16_t results[3] = {};
    for (std::uint8_t storage : order) {
        _VELK_FIELD_SIZES f{};
        f.cbSize = sizeof f;
        f.storage = storage;
        results[storage] = Velk_GetFieldSizes(&f);
        if (results[storage] != 0) {
            f = {};  // a failed read gives all limits 0
        } else {
            f.numberChars[sizeof f.numberChars - 1] = 0;  // read within its width
        }
        sizes_[storage] = f;
        records_[storage][0] = Build(f, KIND_TEXT, storage);
        records_[storage][1] = Build(f, KIND_UCS2, storage);
    }
    if (results[STORAGE_SIM]) return results[STORAGE_SIM];
    if (results[STORAGE_ME]) return results[STORAGE_ME];
    return results[STORAGE_PC];
}

void TBLSet::GetSetting(SettingRecord* dest, std::uint8_t storage, std::uint8_t kind) {
    if (!dest || storage > STORAGE_PC) return;
    if (kind == KIND_7BIT) {
        output_ = SettingRecord{};
    } else if (kind == KIND_TEXT || kind == KIND_UCS2) {
        output_ = records_[storage][kind == KIND_TEXT ? 0 : 1];
        output_.kind = kind;
        output_.storage = storage;
    } else {
        return;
    }
    std::memcpy(dest, &output_, sizeof output_);
}

void BL_GetSetting(SettingRecord* dest, std::uint8_t storage, std::uint8_t kind) {
    // Without a core there are no limits: the destination is left as it is.
    if (TBL_base* b = BL_base(); b && b->set) b->set->GetSetting(dest, storage, kind);
}
