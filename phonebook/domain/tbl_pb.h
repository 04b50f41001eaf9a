// The phonebook store: the contacts and groups of the SIM, the card memory
// and the PC storage, cached from the device library and kept in step with
// it. Every add, change and delete goes to the library first; the cache
// changes only when the library has accepted it.
#pragma once

#include <cstdint>
#include <vector>

#include "phonebook/domain/pb_groups.h"
#include "phonebook/domain/pb_list.h"
#include "velkdev/velkdev.h"

class TBL_base;

// Result codes of the store besides the library's own.
enum : std::uint16_t {
    PB_OK = 0,
    PB_NOT_FOUND = 5,         // number search found nothing, or had no input
    PB_NO_ITEM = 13,          // empty storage, end of a walk, no such group or member
    PB_TABLE_FULL = 17,       // 20 PC groups already; or no PC contacts to delete
    PB_PC_FULL = 4400,
    PB_ME_FULL = 4401,
    PB_SIM_FULL = 4402,
    PB_NOT_PC = 5003,         // group creation or deletion outside the PC storage
};

// The group every SIM contact belongs to.
enum : std::int32_t { PB_SIM_GROUP_ID = 65288 };

class TBL_pb {
public:
    // Loads the PC contacts and groups and the three counts.
    explicit TBL_pb(TBL_base& core);
    ~TBL_pb();

    std::uint16_t LoadSIMPhonebook();
    std::uint16_t LoadMEPhonebook();
    std::uint16_t LoadPCPhonebook();

    std::uint32_t ContactCount(std::uint8_t storage) const;
    // The walk: a pointer to the stored copy, valid until that contact is
    // deleted or its storage reloaded.
    std::uint16_t GetFirstContactRef(const _VELK_CONTACT_RECORD** out, std::uint8_t storage);
    std::uint16_t GetNextContactRef(const _VELK_CONTACT_RECORD** out, std::uint8_t storage);
    // The same walk copying the record into the caller's buffer.
    std::uint16_t GetFirstContactCopy(_VELK_CONTACT_RECORD* out, std::uint8_t storage);
    std::uint16_t GetNextContactCopy(_VELK_CONTACT_RECORD* out, std::uint8_t storage);

    // Fits `record` to its storage (the caller's record keeps the fitted
    // texts), checks the capacity and creates it through the library.
    std::uint16_t AddContact(_VELK_CONTACT_RECORD* record, const _VELK_CONTACT_RECORD** stored);
    std::uint16_t ChangeContact(_VELK_CONTACT_RECORD* record);
    std::uint16_t DeleteContact(const _VELK_CONTACT_RECORD* record);
    // The first contact of buffer->storage, in list order, with a number that
    // occurs in text: 0 and the buffer filled, or 5.
    std::uint16_t FindContactByNumber(const char* text, _VELK_CONTACT_RECORD* buffer);
    // The same search, giving the stored contact itself (null: none); for
    // callers that only read a field of it.
    const _VELK_CONTACT_RECORD* FindContactRef(const char* text, std::uint8_t storage);

    std::uint16_t GetGroups(const _VELK_GROUP_RECORD** table, std::uint8_t storage, std::uint32_t* count);
    std::uint16_t GetGroupName(std::int32_t id, _VELK_GROUP_RECORD* buffer);
    std::uint16_t AddGroup(_VELK_GROUP_RECORD* group);
    std::uint16_t RenameGroup(const _VELK_GROUP_RECORD* group);
    std::uint16_t DeleteGroup(std::int32_t id, std::uint8_t storage);
    std::uint16_t DeleteGroupContacts(std::int32_t id, std::uint8_t storage);
    // The characters allowed in phone numbers (32 bytes, NUL-terminated).
    std::uint16_t GetNumberChars(char* buffer32);

    // Fits a record to the limits of its storage.
    void Fit(_VELK_CONTACT_RECORD& record) const;

    // At most this many members are deleted with their group.
    static constexpr std::size_t kGroupDeleteCap = 1500;

private:
    std::uint16_t loadList(std::uint8_t storage);
    std::uint16_t deleteStep(std::uint32_t index, std::uint8_t storage);
    bool isStoredCopy(const _VELK_CONTACT_RECORD* r) const;
    void readCount(std::uint8_t storage);

    TBL_base& core_;
    ContactList lists_[3];
    std::uint32_t counts_[3] = {};
    std::int32_t capacities_[3] = {};
    GroupTable pcGroups_{200};
    GroupTable meGroups_{7};
    _VELK_GROUP_RECORD simGroup_{};
    char numberChars_[32] = {};
    std::vector<std::uint32_t> scratch_;  // member indexes of a group being deleted
};
