// Heap payloads the business core posts to the main window. Each is made
// zero-filled by the poster and freed once by the receiver (take it into a
// std::unique_ptr at the receiving edge).
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// Delivery report, posted with UM_SMS_REPORT.
struct SmsReportRecord {
    std::uint8_t status;   // report status from the card
    char number[124];      // recipient, at most 120 characters, terminated
    char time[24];         // time text, at most 24 characters: NOT terminated when full
};
static_assert(sizeof(SmsReportRecord) == 149);
static_assert(offsetof(SmsReportRecord, number) == 1);
static_assert(offsetof(SmsReportRecord, time) == 125);

// Class-0 (flash) message, posted with UM_SMS_CLASS0; it is never stored.
struct SmsClass0Record {
    char sender[124];      // at most 120 characters, terminated
    char text[164];        // at most 160 characters, terminated
};
static_assert(sizeof(SmsClass0Record) == 288);
static_assert(offsetof(SmsClass0Record, text) == 124);

// Operator notification: 212 bytes copied unchanged from the library and
// posted with UM_OPERATOR_INFO. Its fields are read by the status display.
struct OperatorRecord {
    std::uint8_t bytes[212];
};
static_assert(sizeof(OperatorRecord) == 212);
#pragma pack(pop)

namespace payloads {
SmsReportRecord* MakeReport(std::uint8_t status, const char* number, const char* time);
SmsClass0Record* MakeClass0(const char* sender, const char* text);
// A heap copy of a text (an empty text for null), freed with delete[].
char* CopyString(const char* text);
}  // namespace payloads
