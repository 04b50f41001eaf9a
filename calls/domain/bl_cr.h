// The call-entry operations of the business-layer facade. Each answers 4001
// when there is no business core.
#pragma once

#include <cstdint>

#include "velkdev/velkdev.h"

std::uint16_t BL_GetFirstCallEntry(std::uint8_t listKind, _VELK_CALL_ENTRY* entry);
std::uint16_t BL_GetNextCallEntry(_VELK_CALL_ENTRY* entry);
std::uint16_t BL_SaveCallEntry(_VELK_CALL_ENTRY* entry);
std::uint16_t BL_DeleteCallEntry(std::uint32_t index, std::uint8_t storage);
std::uint16_t BL_ClearCallEntries(std::uint8_t listKind, std::uint8_t storage);
