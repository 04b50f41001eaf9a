// The message family: the three message stores (0 SIM, 1 the card's own
// memory, 2 the computer store), sending, and the card's SMS settings.
// Included by velkdev.h.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// One stored or sent message, exchanged with the library. Little-endian.
struct _VELK_MESSAGE_RECORD {
    std::uint32_t cbSize;             // 0   766 on save and send, 0 on load calls
    std::uint16_t index;              // 4   storage index (get-message input, save output)
    std::uint32_t concatenated;       // 6   non-zero: one part of a concatenated message
    std::uint16_t replaceType;        // 10  protocol id of a replace-type message, else 0
    std::uint16_t reference;          // 12  concatenation reference
    std::uint8_t total;               // 14  number of parts
    std::uint8_t partNumber;          // 15  this part's number, from 1
    char recipient[128];              // 16  other party of a sent or unsent message
    char sender[128];                 // 144 other party of a received message
    char serviceCentre[128];          // 272
    std::uint8_t coding;              // 400 1 GSM septets, 4 UCS-2 as code-page text (save and send)
    std::uint8_t pad401;
    std::uint16_t sentTime[7];        // 402 year, month, day, hour, minute, second, 0
    std::uint8_t pad416[4];
    std::uint16_t receivedTime[7];    // 420 same layout
    std::uint8_t pad434[4];
    std::uint8_t body[320];           // 438 septets or code-page text; NUL-terminated text on load
    std::uint8_t bodyLength;          // 758 bytes (septets for 7-bit)
    std::uint8_t status;              // 759 1 read, 2 unread, 3 sent, 4 not sent, 5 other
    std::uint8_t storage;             // 760 storage code
    std::uint8_t reserved[5];         // 761
};
#pragma pack(pop)
static_assert(sizeof(_VELK_MESSAGE_RECORD) == 766);
static_assert(offsetof(_VELK_MESSAGE_RECORD, index) == 4);
static_assert(offsetof(_VELK_MESSAGE_RECORD, concatenated) == 6);
static_assert(offsetof(_VELK_MESSAGE_RECORD, replaceType) == 10);
static_assert(offsetof(_VELK_MESSAGE_RECORD, reference) == 12);
static_assert(offsetof(_VELK_MESSAGE_RECORD, total) == 14);
static_assert(offsetof(_VELK_MESSAGE_RECORD, partNumber) == 15);
static_assert(offsetof(_VELK_MESSAGE_RECORD, recipient) == 16);
static_assert(offsetof(_VELK_MESSAGE_RECORD, sender) == 144);
static_assert(offsetof(_VELK_MESSAGE_RECORD, serviceCentre) == 272);
static_assert(offsetof(_VELK_MESSAGE_RECORD, coding) == 400);
static_assert(offsetof(_VELK_MESSAGE_RECORD, sentTime) == 402);
static_assert(offsetof(_VELK_MESSAGE_RECORD, receivedTime) == 420);
static_assert(offsetof(_VELK_MESSAGE_RECORD, body) == 438);
static_assert(offsetof(_VELK_MESSAGE_RECORD, bodyLength) == 758);
static_assert(offsetof(_VELK_MESSAGE_RECORD, status) == 759);
static_assert(offsetof(_VELK_MESSAGE_RECORD, storage) == 760);

// Coding byte of a message record.
enum : std::uint8_t { VELK_CODING_GSM = 1, VELK_CODING_UCS2 = 4 };

// Stores. Velk_LoadMessages reads a store (0 when readable); the first/next
// walk fills a zeroed record (storage byte set) and gives 13 after the last.
VELK_API VELK_RESULT Velk_LoadMessages(std::uint8_t storage);
VELK_API VELK_RESULT Velk_GetFirstMessage(std::uint32_t reserved, _VELK_MESSAGE_RECORD* record);
VELK_API VELK_RESULT Velk_GetNextMessage(_VELK_MESSAGE_RECORD* record);
// The message at index of record->storage.
VELK_API VELK_RESULT Velk_GetMessage(std::uint32_t index, _VELK_MESSAGE_RECORD* record);
// Stores the record in record->storage; on 0 record->index is its new index.
VELK_API VELK_RESULT Velk_SaveMessage(_VELK_MESSAGE_RECORD* record);
VELK_API VELK_RESULT Velk_DeleteMessage(std::uint16_t index, std::uint8_t storage);
VELK_API VELK_RESULT Velk_SetMessageStatus(std::uint16_t index, std::uint8_t read, std::uint8_t storage);

// Sending: 0 when the message was handed to the network.
VELK_API VELK_RESULT Velk_SendMessage(_VELK_MESSAGE_RECORD* record);

// The card's SMS settings.
VELK_API VELK_RESULT Velk_GetSmsCenter(char* number34);
VELK_API VELK_RESULT Velk_SetSmsCenter(const char* number);
VELK_API VELK_RESULT Velk_GetSmsSaveLocation(std::uint32_t* location);
VELK_API VELK_RESULT Velk_SetSmsSaveLocation(std::uint32_t location);
// 0 when the card's SMS service is ready.
VELK_API VELK_RESULT Velk_InitSmsSet();
