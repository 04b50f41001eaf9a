// The card's SMS limits as the settings store gives them, and the
// concatenation reference counter kept in the all-settings record.
#pragma once

#include <cstdint>

#include "sms/domain/sms_coding.h"

// The limits of the card's own memory: kind 2 (7-bit) and kind 4 (UCS-2),
// fields 11 (one message) and 12 (one part). All 0 without a core.
SmsLimits CurrentSmsLimits();
// GetSmsPartCount with the card's limits.
int GetSmsPartCount(int coding, int length);

// Reference of a concatenated message: (counter mod 255) + 1, 1 to 255.
int NextSmsReference();
// Reference of a draft saved in parts: counter + 1 (the caller keeps 16 bits).
std::uint32_t NextDraftReference();
// Counts the reference up and rewrites the all-settings file (atomically).
void AdvanceSmsReference();
