// The program's own message record: what the store's lists hold and what the
// SMS facade takes and fills in. A concatenated message joined from its parts
// is one record whose part slots name the parts' storage indexes.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct SmsPartSlot {
    std::uint16_t index;       // storage index of the part
    std::uint32_t present;     // non-zero: the slot is filled
    std::uint8_t partNumber;
};
static_assert(sizeof(SmsPartSlot) == 7);

inline constexpr int SMS_SLOTS = 5;
inline constexpr std::size_t SMS_BODY_CHARS = 800;  // most bytes ever copied into body

struct SmsRecord {
    std::uint16_t size;            // sizeof(SmsRecord)
    std::uint16_t index;           // storage index; a joined message: its first part met
    std::uint32_t concatenated;
    std::uint16_t replaceType;
    std::uint16_t reference;
    std::uint8_t total;
    std::uint8_t partNumber;
    SmsPartSlot partSlots[SMS_SLOTS];
    char name[128];                // contact name of the other party (enumeration)
    char number[124];              // sender or recipient
    char body[804];                // code-page text, NUL-terminated
    char time[24];                 // "%4d-%02d-%02d  %02d:%02d:%02d" or empty
    char serviceCentre[124];
    std::uint8_t storage;
    std::uint8_t status;
    std::uint8_t folder;
};
#pragma pack(pop)
static_assert(sizeof(SmsRecord) == 1256);
static_assert(offsetof(SmsRecord, partSlots) == 14);
static_assert(offsetof(SmsRecord, name) == 49);
static_assert(offsetof(SmsRecord, number) == 177);
static_assert(offsetof(SmsRecord, body) == 301);
static_assert(offsetof(SmsRecord, time) == 1105);
static_assert(offsetof(SmsRecord, serviceCentre) == 1129);
static_assert(offsetof(SmsRecord, storage) == 1253);
static_assert(offsetof(SmsRecord, folder) == 1255);

// Statuses and folders.
enum : std::uint8_t { SMS_READ = 1, SMS_UNREAD = 2, SMS_SENT = 3, SMS_UNSENT = 4, SMS_OTHER = 5 };
enum : std::uint8_t { FOLDER_ALL = 0, FOLDER_INBOX = 1, FOLDER_SENT = 2, FOLDER_DRAFTS = 3, FOLDER_OTHER = 4 };

// Result codes of the SMS store.
enum : std::uint16_t {
    SMS_E_NO_RECORD = 1,
    SMS_E_PART_STATUS = 5,      // set status of a concatenated record without parts
    SMS_E_BAD_INPUT = 6,        // storage code not 0..2, a body that cannot be coded, no room
    SMS_E_NOT_FOUND = 13,
    SMS_E_PC_FULL = 4204,
    SMS_E_SIM_FULL = 4205,
    SMS_E_ME_FULL = 4206,
    SMS_E_BAD_NUMBER = 4207,
    SMS_E_TOO_MANY = 4208,
};

// The parts a record stands for: its filled partSlots when concatenated, else 1.
inline int SmsPartCount(const SmsRecord& r) {
    if (!r.concatenated) return 1;
    int n = 0;
    for (const SmsPartSlot& s : r.partSlots) n += s.present ? 1 : 0;
    return n;
}
