// The phonebook operations of the business-layer facade. Each forwards to the
// core's phonebook store and answers 4001 (and a count of 0, a null pointer)
// when there is no core.
#pragma once

#include <cstdint>

#include "velkdev/velkdev.h"

std::uint16_t BL_LoadMEPhonebook();
std::uint16_t BL_LoadSIMPhonebook();
std::uint16_t BL_LoadPCPhonebook();
std::uint16_t BL_GetGroups(const _VELK_GROUP_RECORD** table, std::uint8_t storage, std::uint32_t* count);
std::uint16_t BL_GetFirstContactRef(const _VELK_CONTACT_RECORD** contact, std::uint8_t storage);
std::uint16_t BL_GetNextContactRef(const _VELK_CONTACT_RECORD** contact, std::uint8_t storage);
std::uint16_t BL_DeleteContact(const _VELK_CONTACT_RECORD* contact);
std::uint16_t BL_ChangeContact(_VELK_CONTACT_RECORD* contact);
std::uint16_t BL_AddContact(_VELK_CONTACT_RECORD* contact, const _VELK_CONTACT_RECORD** stored);
// 32 bytes: the characters allowed in phone numbers, NUL-terminated.
std::uint16_t BL_GetNumberChars(char* dest32);
std::uint16_t BL_GetContactCount(std::uint32_t* count, std::uint8_t storage);
std::uint16_t BL_GetGroupName(std::int32_t id, _VELK_GROUP_RECORD* group);
std::uint16_t BL_RenameGroup(const _VELK_GROUP_RECORD* group);
// 0 and the contact copied into `contact`, or 5; contact->storage names the storage searched.
std::uint16_t BL_FindContactByNumber(const char* number, _VELK_CONTACT_RECORD* contact);
std::uint16_t BL_AddGroup(_VELK_GROUP_RECORD* group);
std::uint16_t BL_DeleteGroup(std::int32_t id, std::uint8_t storage);
std::uint16_t BL_DeleteGroupContacts(std::int32_t id, std::uint8_t storage);
