// velkdev: call entries. The missed, received and dialled call lists and the
// data-connection log live in the computer store (storage code 2). Included
// by velkdev.h; every call returns VELK_OK (0) on success.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// One call entry, 174 bytes, exchanged unchanged.
struct _VELK_CALL_ENTRY {
    std::uint32_t firstWord;          // 0   the connection log writes 174 here
    std::uint32_t index;              // 4   id in the store, set by the library; the key of deletion
    char number[132];                 // 8   NUL-terminated, the rest zero (the log: the dial user name)
    std::uint32_t duration;           // 140 seconds
    std::uint32_t secondValue;        // 144 the log: bytes sent
    std::uint32_t thirdValue;         // 148 the log: bytes received
    std::uint8_t listKind;            // 152 1 missed, 2 received, 3 dialled, 4 data connection
    std::uint8_t reserved153;         // 153
    std::uint16_t year;               // 154 local time of the entry
    std::uint16_t month;              // 156
    std::uint16_t day;                // 158
    std::uint16_t hour;               // 160
    std::uint16_t minute;             // 162
    std::uint16_t second;             // 164
    std::uint8_t reserved166[6];      // 166
    std::uint8_t storage;             // 172 always 2
    std::uint8_t reserved173;         // 173
};
#pragma pack(pop)
static_assert(sizeof(_VELK_CALL_ENTRY) == 174);
static_assert(offsetof(_VELK_CALL_ENTRY, index) == 4);
static_assert(offsetof(_VELK_CALL_ENTRY, number) == 8);
static_assert(offsetof(_VELK_CALL_ENTRY, duration) == 140);
static_assert(offsetof(_VELK_CALL_ENTRY, secondValue) == 144);
static_assert(offsetof(_VELK_CALL_ENTRY, thirdValue) == 148);
static_assert(offsetof(_VELK_CALL_ENTRY, listKind) == 152);
static_assert(offsetof(_VELK_CALL_ENTRY, year) == 154);
static_assert(offsetof(_VELK_CALL_ENTRY, second) == 164);
static_assert(offsetof(_VELK_CALL_ENTRY, storage) == 172);

enum : std::uint8_t {
    VELK_CALLS_MISSED = 1,
    VELK_CALLS_RECEIVED = 2,
    VELK_CALLS_DIALLED = 3,
    VELK_CALLS_DATA_LOG = 4,
};
// The call lists keep their newest entries; older ones give way.
inline constexpr std::uint32_t VELK_CALL_LIST_CAPACITY = 50;
// The connection log is pruned by the program; the store refuses (7311) beyond this.
inline constexpr std::uint32_t VELK_DATA_LOG_CAPACITY = 100000;

// Reading a list: GetFirst starts at the oldest entry of the list kind, each
// GetNext gives the one after the entry last returned (the record passed in
// only supplies the buffer). VELK_E_NO_ENTRY (13) at the end.
VELK_API VELK_RESULT Velk_GetFirstCallEntry(std::uint8_t listKind, _VELK_CALL_ENTRY* entry);
VELK_API VELK_RESULT Velk_GetNextCallEntry(_VELK_CALL_ENTRY* entry);
// Stores a new entry of entry->listKind in entry->storage (2); the id given is
// written back into entry->index.
VELK_API VELK_RESULT Velk_SaveCallEntry(_VELK_CALL_ENTRY* entry);
// Deletes the entry with this id; 13 when there is none.
VELK_API VELK_RESULT Velk_DeleteCallEntry(std::uint32_t index, std::uint8_t storage);
VELK_API VELK_RESULT Velk_ClearCallEntries(std::uint8_t listKind, std::uint8_t storage);
VELK_API VELK_RESULT Velk_GetCallEntryCount(std::uint8_t listKind, std::uint8_t storage, std::uint32_t* count);
