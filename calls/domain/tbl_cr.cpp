#include "calls/domain/tbl_cr.h"

#include <cstring>

#include "calls/domain/bl_cr.h"
#include "core/base.h"

TBL_Cr::TBL_Cr(TBL_base& core) : core_(core) {}
TBL_Cr::~TBL_Cr() = default;

namespace {
void prepare(_VELK_CALL_ENTRY* entry, std::uint8_t listKind, std::uint8_t storage) {
    std::memset(entry, 0, sizeof *entry);
    entry->listKind = listKind;
    entry->storage = storage;
}
}  // namespace

std::uint16_t TBL_Cr::GetFirstCallEntry(std::uint8_t listKind, _VELK_CALL_ENTRY* entry) {
    if (!entry) return VELK_E_BAD_ARGUMENT;
    prepare(entry, listKind, 2);
    return Velk_GetFirstCallEntry(listKind, entry);
}

std::uint16_t TBL_Cr::GetNextCallEntry(_VELK_CALL_ENTRY* entry) {
    if (!entry) return VELK_E_BAD_ARGUMENT;
    prepare(entry, entry->listKind, entry->storage);
    return Velk_GetNextCallEntry(entry);
}

std::uint16_t TBL_Cr::SaveCallEntry(_VELK_CALL_ENTRY* entry) { return Velk_SaveCallEntry(entry); }

std::uint16_t TBL_Cr::DeleteCallEntry(std::uint32_t index, std::uint8_t storage) {
    return Velk_DeleteCallEntry(index, storage);
}

std::uint16_t TBL_Cr::ClearCallEntries(std::uint8_t listKind, std::uint8_t storage) {
    return Velk_ClearCallEntries(listKind, storage);
}

namespace {
TBL_Cr* cr() { return BL_base() ? BL_base()->cr : nullptr; }
}  // namespace

std::uint16_t BL_GetFirstCallEntry(std::uint8_t listKind, _VELK_CALL_ENTRY* entry) {
    TBL_Cr* c = cr();
    return c ? c->GetFirstCallEntry(listKind, entry) : static_cast<std::uint16_t>(BL_ERR_CREATE);
}
std::uint16_t BL_GetNextCallEntry(_VELK_CALL_ENTRY* entry) {
    TBL_Cr* c = cr();
    return c ? c->GetNextCallEntry(entry) : static_cast<std::uint16_t>(BL_ERR_CREATE);
}
std::uint16_t BL_SaveCallEntry(_VELK_CALL_ENTRY* entry) {
    TBL_Cr* c = cr();
    return c ? c->SaveCallEntry(entry) : static_cast<std::uint16_t>(BL_ERR_CREATE);
}
std::uint16_t BL_DeleteCallEntry(std::uint32_t index, std::uint8_t storage) {
    TBL_Cr* c = cr();
    return c ? c->DeleteCallEntry(index, storage) : static_cast<std::uint16_t>(BL_ERR_CREATE);
}
std::uint16_t BL_ClearCallEntries(std::uint8_t listKind, std::uint8_t storage) {
    TBL_Cr* c = cr();
    return c ? c->ClearCallEntries(listKind, storage) : static_cast<std::uint16_t>(BL_ERR_CREATE);
}
