// The SMS operations of the business-layer facade.
#pragma once

#include <cstdint>

std::uint16_t BL_LoadSms(std::uint8_t storage);
