// Contacts and contact groups of the three storages (0 SIM, 1 card memory,
// 2 the PC database). Records travel unchanged between the library and the
// program; texts are NUL-terminated bytes in the system code page.
#pragma once

#include <cstddef>
#include <cstdint>

#include "velkdev/velkdev.h"

#pragma pack(push, 1)
// One number slot: the number text, then bytes the program does not read.
struct _VELK_NUMBER_SLOT {
    char number[128];
    std::uint8_t rest[128];
};
static_assert(sizeof(_VELK_NUMBER_SLOT) == 256);

enum : int { VELK_NUMBER_SLOTS = 5 };
// Slot roles in order.
enum : int { SLOT_MOBILE = 0, SLOT_HOME = 1, SLOT_PHONE1 = 2, SLOT_PHONE2 = 3, SLOT_PHONE3 = 4 };

struct _VELK_CONTACT_RECORD {
    std::uint32_t first;              // 0    carried as received
    std::uint32_t index;              // 4    location in its storage, set by the library
    std::uint32_t groupId;            // 8    0: no group
    char name[128];                   // 12
    char text2[128];                  // 140  second text, carried, not shown
    char text3[128];                  // 268  third text, carried, not shown
    char email[130];                  // 396
    char note[128];                   // 526
    char url[128];                    // 654
    std::uint8_t reserved782[650];    // 782
    std::uint8_t reserved1432[650];   // 1432
    std::uint16_t reserved16;         // 2082
    std::uint8_t reserved2084[128];   // 2084
    _VELK_NUMBER_SLOT numbers[VELK_NUMBER_SLOTS];  // 2212 mobile, home, phone 1..3
    std::uint8_t storage;             // 3492
    std::uint8_t reserved3493;        // 3493
};
static_assert(sizeof(_VELK_CONTACT_RECORD) == 3494);
static_assert(offsetof(_VELK_CONTACT_RECORD, index) == 4);
static_assert(offsetof(_VELK_CONTACT_RECORD, groupId) == 8);
static_assert(offsetof(_VELK_CONTACT_RECORD, name) == 12);
static_assert(offsetof(_VELK_CONTACT_RECORD, text2) == 140);
static_assert(offsetof(_VELK_CONTACT_RECORD, text3) == 268);
static_assert(offsetof(_VELK_CONTACT_RECORD, email) == 396);
static_assert(offsetof(_VELK_CONTACT_RECORD, note) == 526);
static_assert(offsetof(_VELK_CONTACT_RECORD, url) == 654);
static_assert(offsetof(_VELK_CONTACT_RECORD, reserved782) == 782);
static_assert(offsetof(_VELK_CONTACT_RECORD, reserved1432) == 1432);
static_assert(offsetof(_VELK_CONTACT_RECORD, reserved16) == 2082);
static_assert(offsetof(_VELK_CONTACT_RECORD, reserved2084) == 2084);
static_assert(offsetof(_VELK_CONTACT_RECORD, numbers) == 2212);
static_assert(offsetof(_VELK_CONTACT_RECORD, storage) == 3492);

struct _VELK_GROUP_RECORD {
    std::uint32_t cbSize;             // 0   42 in records the program builds
    std::int32_t id;                  // 4
    char name[33];                    // 8   NUL-terminated, at most 32 characters
    std::uint8_t storage;             // 41
};
static_assert(sizeof(_VELK_GROUP_RECORD) == 42);
static_assert(offsetof(_VELK_GROUP_RECORD, id) == 4);
static_assert(offsetof(_VELK_GROUP_RECORD, name) == 8);
static_assert(offsetof(_VELK_GROUP_RECORD, storage) == 41);
#pragma pack(pop)

// Codes of this family besides the common ones: VELK_E_NO_ENTRY (13) for an
// empty storage, the end of a walk or an unknown index or group; VELK_E_FULL
// for a full storage; and this one for group calls on the SIM, which keeps no
// groups of its own.
inline constexpr VELK_RESULT VELK_E_NO_GROUPS = 5003;

// Number of contacts the storage holds.
VELK_API VELK_RESULT Velk_GetContactCount(std::uint8_t storage, std::uint32_t* count);
// Reads the SIM's (0) or the card memory's (1) phonebook from the card; 0 when read.
VELK_API VELK_RESULT Velk_LoadContacts(std::uint8_t storage);
// Walks the contacts of the storage named by record->storage: the record is
// filled with the first / next contact; 13 when there is none.
VELK_API VELK_RESULT Velk_GetFirstContact(_VELK_CONTACT_RECORD* record);
VELK_API VELK_RESULT Velk_GetNextContact(_VELK_CONTACT_RECORD* record);
// Creates a contact in record->storage and sets record->index to its index.
VELK_API VELK_RESULT Velk_NewContact(_VELK_CONTACT_RECORD* record);
// Overwrites the contact at index of record->storage.
VELK_API VELK_RESULT Velk_SetContact(std::uint32_t index, const _VELK_CONTACT_RECORD* record);
VELK_API VELK_RESULT Velk_DeleteContact(std::uint32_t index, std::uint8_t storage);

// Reads the card memory's (1) groups from the card; 0 when read.
VELK_API VELK_RESULT Velk_LoadGroup(std::uint8_t storage);
// Walks the groups of record->storage; 13 at the end.
VELK_API VELK_RESULT Velk_GetFirstGroup(_VELK_GROUP_RECORD* record);
VELK_API VELK_RESULT Velk_GetNextGroup(_VELK_GROUP_RECORD* record);
// Stores a new group with the id the record carries.
VELK_API VELK_RESULT Velk_SaveGroup(const _VELK_GROUP_RECORD* record);
// Rewrites the name of the group with the record's id.
VELK_API VELK_RESULT Velk_SetGroup(const _VELK_GROUP_RECORD* record);
VELK_API VELK_RESULT Velk_DeleteGroup(std::int32_t id, std::uint8_t storage);
