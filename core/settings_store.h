// The settings store: turns the field sizes the card reports for each storage
// into character limits (contact fields, SMS length and part length, capacities).
#pragma once

#include <cstddef>
#include <cstdint>

#include "velkdev/velkdev.h"

#pragma pack(push, 1)
// Fourteen limits and two bytes. Field numbers 1..16 in order.
struct SettingRecord {
    std::int32_t contactCapacity;   // 1
    std::int32_t passThrough;       // 2
    std::int32_t nameLength;        // 3
    std::int32_t numberLength;      // 4
    std::int32_t text2Length;       // 5
    std::int32_t urlLength;         // 6
    std::int32_t text3Length;       // 7
    std::int32_t emailLength;       // 8
    std::int32_t noteLength;        // 9
    std::int32_t numberSlots;       // 10
    std::int32_t smsLength;         // 11
    std::int32_t smsPartLength;     // 12
    std::int32_t messageCapacity;   // 13
    std::int32_t furtherLength;     // 14
    std::uint8_t kind;              // 15: 2 or 4
    std::uint8_t storage;           // 16
};
static_assert(sizeof(SettingRecord) == 58);
static_assert(offsetof(SettingRecord, smsPartLength) == 44);
static_assert(offsetof(SettingRecord, kind) == 56);
static_assert(offsetof(SettingRecord, storage) == 57);
#pragma pack(pop)

// Storage codes and text kinds.
enum : std::uint8_t { STORAGE_SIM = 0, STORAGE_ME = 1, STORAGE_PC = 2 };
enum : std::uint8_t { KIND_7BIT = 1, KIND_TEXT = 2, KIND_UCS2 = 4 };

class TBLSet {
public:
    TBLSet();
    // Reads the three field-size records (PC, SIM, card) and rebuilds the six
    // settings records. The result of the SIM if non-zero, else the card's,
    // else the PC's.
    std::uint16_t RefreshCapacities();
    // Copies the record of (storage, kind) into dest: kinds 2 and 4 of
    // storages 0..2 give the stored record, kind 1 all zeros; anything else
    // leaves dest untouched.
    void GetSetting(SettingRecord* dest, std::uint8_t storage, std::uint8_t kind);
    // The raw field-size record last read for a storage (0..2).
    const _VELK_FIELD_SIZES& FieldSizes(std::uint8_t storage) const { return sizes_[storage % 3]; }

    // Builds the kind 2 or kind 4 record of one field-size record.
    static SettingRecord Build(const _VELK_FIELD_SIZES& f, std::uint8_t kind, std::uint8_t storage);
    // Characters of a field of `bits` with alphabet mask `mask` in kind 2.
    static std::int32_t Characters(std::uint32_t bits, std::uint8_t mask);

private:
    SettingRecord records_[3][2] = {};   // [storage][kind 2, kind 4]
    SettingRecord output_ = {};
    _VELK_FIELD_SIZES sizes_[3] = {};
};

// The facade's copy of a settings record.
void BL_GetSetting(SettingRecord* dest, std::uint8_t storage, std::uint8_t kind);
