#include "phonebook/domain/bl_pb.h"

#include <cstring>

#include "core/base.h"
#include "phonebook/domain/tbl_pb.h"

namespace {
TBL_pb* store() {
    TBL_base* b = BL_base();
    return b ? b->pb : nullptr;
}
constexpr std::uint16_t kNoCore = BL_ERR_CREATE;
}  // namespace

std::uint16_t BL_LoadMEPhonebook() {
    TBL_pb* pb = store();
    return pb ? pb->LoadMEPhonebook() : kNoCore;
}

std::uint16_t BL_LoadSIMPhonebook() {
    TBL_pb* pb = store();
    return pb ? pb->LoadSIMPhonebook() : kNoCore;
}

std::uint16_t BL_LoadPCPhonebook() {
    TBL_pb* pb = store();
    return pb ? pb->LoadPCPhonebook() : kNoCore;
}

std::uint16_t BL_GetGroups(const _VELK_GROUP_RECORD** table, std::uint8_t storage, std::uint32_t* count) {
    if (TBL_pb* pb = store()) return pb->GetGroups(table, storage, count);
    if (table) *table = nullptr;
    if (count) *count = 0;
    return kNoCore;
}

std::uint16_t BL_GetFirstContactRef(const _VELK_CONTACT_RECORD** contact, std::uint8_t storage) {
    if (TBL_pb* pb = store()) return pb->GetFirstContactRef(contact, storage);
    if (contact) *contact = nullptr;
    return kNoCore;
}

std::uint16_t BL_GetNextContactRef(const _VELK_CONTACT_RECORD** contact, std::uint8_t storage) {
    if (TBL_pb* pb = store()) return pb->GetNextContactRef(contact, storage);
    if (contact) *contact = nullptr;
    return kNoCore;
}

std::uint16_t BL_DeleteContact(const _VELK_CONTACT_RECORD* contact) {
    TBL_pb* pb = store();
    return pb ? pb->DeleteContact(contact) : kNoCore;
}

std::uint16_t BL_ChangeContact(_VELK_CONTACT_RECORD* contact) {
    TBL_pb* pb = store();
    return pb ? pb->ChangeContact(contact) : kNoCore;
}

std::uint16_t BL_AddContact(_VELK_CONTACT_RECORD* contact, const _VELK_CONTACT_RECORD** stored) {
    if (TBL_pb* pb = store()) return pb->AddContact(contact, stored);
    if (stored) *stored = nullptr;
    return kNoCore;
}

std::uint16_t BL_GetNumberChars(char* dest32) {
    if (TBL_pb* pb = store()) return pb->GetNumberChars(dest32);
    if (dest32) std::memset(dest32, 0, 32);
    return kNoCore;
}

std::uint16_t BL_GetContactCount(std::uint32_t* count, std::uint8_t storage) {
    TBL_pb* pb = store();
    if (count) *count = pb ? pb->ContactCount(storage) : 0;
    return pb ? std::uint16_t{BL_OK} : kNoCore;
}

std::uint16_t BL_GetGroupName(std::int32_t id, _VELK_GROUP_RECORD* group) {
    TBL_pb* pb = store();
    return pb ? pb->GetGroupName(id, group) : kNoCore;
}

std::uint16_t BL_RenameGroup(const _VELK_GROUP_RECORD* group) {
    TBL_pb* pb = store();
    return pb ? pb->RenameGroup(group) : kNoCore;
}

std::uint16_t BL_FindContactByNumber(const char* number, _VELK_CONTACT_RECORD* contact) {
    TBL_pb* pb = store();
    return pb ? pb->FindContactByNumber(number, contact) : kNoCore;
}

std::uint16_t BL_AddGroup(_VELK_GROUP_RECORD* group) {
    TBL_pb* pb = store();
    return pb ? pb->AddGroup(group) : kNoCore;
}

std::uint16_t BL_DeleteGroup(std::int32_t id, std::uint8_t storage) {
    TBL_pb* pb = store();
    return pb ? pb->DeleteGroup(id, storage) : kNoCore;
}

std::uint16_t BL_DeleteGroupContacts(std::int32_t id, std::uint8_t storage) {
    TBL_pb* pb = store();
    return pb ? pb->DeleteGroupContacts(id, storage) : kNoCore;
}
