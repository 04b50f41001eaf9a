// The call-entry object of the business core: holds no entries of its own and
// forwards each operation to the device-control library's store on the
// computer. The call records and the connection log both use it.
#pragma once

#include <cstdint>

#include "velkdev/velkdev.h"

class TBL_base;

class TBL_Cr {
public:
    explicit TBL_Cr(TBL_base& core);
    ~TBL_Cr();

    // entry is zeroed here and given the list kind and storage 2 before asking.
    std::uint16_t GetFirstCallEntry(std::uint8_t listKind, _VELK_CALL_ENTRY* entry);
    // entry keeps its list kind and storage; the rest is zeroed before asking.
    std::uint16_t GetNextCallEntry(_VELK_CALL_ENTRY* entry);
    std::uint16_t SaveCallEntry(_VELK_CALL_ENTRY* entry);
    std::uint16_t DeleteCallEntry(std::uint32_t index, std::uint8_t storage);
    std::uint16_t ClearCallEntries(std::uint8_t listKind, std::uint8_t storage);

private:
    TBL_base& core_;
};
