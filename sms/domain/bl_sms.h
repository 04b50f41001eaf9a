// The SMS operations of the business-layer facade. Each forwards to the
// core's SMS store and answers 4001 (a count of 0) when there is no core.
#pragma once

#include <cstdint>

#include "sms/domain/sms_record.h"

// Reads a store from the card; "no entry" (13) is reported as 0.
std::uint16_t BL_LoadSms(std::uint8_t storage);
// Folder selector 0 (all three folders) or 1..3, and storage: the count itself.
std::uint16_t BL_GetSmsCount(std::uint8_t folder, std::uint8_t storage);
// rec's folder and storage choose what is enumerated; 0, or 13 at the end.
std::uint16_t BL_GetFirstSms(SmsRecord* rec);
std::uint16_t BL_GetNextSms(SmsRecord* rec);
std::uint16_t BL_SaveSms(const SmsRecord* rec, const char* recipients);
std::uint16_t BL_DeleteSms(const SmsRecord* rec);
std::uint16_t BL_DeleteSms(std::uint32_t ignored, const SmsRecord* rec, std::uint32_t ignored2);
// Read flag 1 marks read, 0 unread.
std::uint16_t BL_SetSmsStatus(const SmsRecord* rec, std::uint8_t read);
std::uint16_t BL_SaveSmsToOwnNumber(const SmsRecord* rec);
