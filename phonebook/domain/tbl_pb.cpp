#include "phonebook/domain/tbl_pb.h"

#include <cstring>

#include "core/base.h"
#include "core/settings_store.h"
#include "phonebook/domain/pb_fit.h"

namespace {
bool validStorage(std::uint8_t s) { return s <= STORAGE_PC; }
// Most PC groups the program creates.
constexpr std::uint32_t kMaxCreatedGroups = 20;
}  // namespace

TBL_pb::TBL_pb(TBL_base& core) : core_(core) {
    scratch_.reserve(kGroupDeleteCap);
    loadList(STORAGE_PC);
    readCount(STORAGE_PC);
    readCount(STORAGE_ME);
    readCount(STORAGE_SIM);
    pcGroups_.Load(STORAGE_PC);
    simGroup_ = _VELK_GROUP_RECORD{};
    simGroup_.id = PB_SIM_GROUP_ID;
    simGroup_.storage = STORAGE_SIM;
}

TBL_pb::~TBL_pb() = default;

void TBL_pb::readCount(std::uint8_t storage) {
    std::uint32_t n = 0;
    counts_[storage] = Velk_GetContactCount(storage, &n) == 0 ? n : 0;
}

std::uint16_t TBL_pb::loadList(std::uint8_t s) {
    ContactList& list = lists_[s];
    list.Clear();
    readCount(s);
    _VELK_CONTACT_RECORD buf{};
    buf.storage = s;
    const VELK_RESULT first = Velk_GetFirstContact(&buf);
    for (VELK_RESULT r = first; r == 0; r = Velk_GetNextContact(&buf)) {
        buf.storage = s;
        pbfit::TerminateFields(buf);
        list.Append(buf);
        buf = _VELK_CONTACT_RECORD{};
        buf.storage = s;
    }
    if (first == 0) return PB_OK;
    if (s == STORAGE_SIM && first == PB_NO_ITEM) return PB_OK;
    return first;
}

std::uint16_t TBL_pb::LoadSIMPhonebook() {
    if (core_.set) core_.set->RefreshCapacities();
    if (VELK_RESULT r = Velk_LoadContacts(STORAGE_SIM)) return r;
    return loadList(STORAGE_SIM);
}

std::uint16_t TBL_pb::LoadMEPhonebook() {
    const std::uint16_t r1 = Velk_LoadContacts(STORAGE_ME);
    const std::uint16_t r2 = r1 == 0 ? loadList(STORAGE_ME) : PB_NOT_FOUND;
    const std::uint16_t r3 = Velk_LoadGroup(STORAGE_ME);
    std::uint16_t r4 = PB_NOT_FOUND;
    if (r3 == 0) {
        meGroups_.Load(STORAGE_ME);
        r4 = 0;
    }
    for (std::uint16_t r : {r1, r2, r3, r4})
        if (r) return r;
    return PB_OK;
}

std::uint16_t TBL_pb::LoadPCPhonebook() { return loadList(STORAGE_PC); }

std::uint32_t TBL_pb::ContactCount(std::uint8_t storage) const { return validStorage(storage) ? counts_[storage] : 0; }

std::uint16_t TBL_pb::GetFirstContactRef(const _VELK_CONTACT_RECORD** out, std::uint8_t storage) {
    if (out) *out = nullptr;
    if (!validStorage(storage)) return PB_NO_ITEM;
    Node* n = lists_[storage].First();
    if (!n) return PB_NO_ITEM;
    if (out) *out = n->record.get();
    return PB_OK;
}

std::uint16_t TBL_pb::GetNextContactRef(const _VELK_CONTACT_RECORD** out, std::uint8_t storage) {
    if (out) *out = nullptr;
    if (!validStorage(storage)) return PB_NO_ITEM;
    Node* n = lists_[storage].Next();
    if (!n) return PB_NO_ITEM;
    if (out) *out = n->record.get();
    return PB_OK;
}

std::uint16_t TBL_pb::GetFirstContactCopy(_VELK_CONTACT_RECORD* out, std::uint8_t storage) {
    const _VELK_CONTACT_RECORD* r = nullptr;
    const std::uint16_t code = GetFirstContactRef(&r, storage);
    if (code == PB_OK && out) std::memcpy(out, r, sizeof *out);
    return code;
}

std::uint16_t TBL_pb::GetNextContactCopy(_VELK_CONTACT_RECORD* out, std::uint8_t storage) {
    const _VELK_CONTACT_RECORD* r = nullptr;
    const std::uint16_t code = GetNextContactRef(&r, storage);
    if (code == PB_OK && out) std::memcpy(out, r, sizeof *out);
    return code;
}

void TBL_pb::Fit(_VELK_CONTACT_RECORD& record) const {
    SettingRecord text{}, ucs2{};
    if (validStorage(record.storage) && core_.set) {
        core_.set->GetSetting(&text, record.storage, KIND_TEXT);
        core_.set->GetSetting(&ucs2, record.storage, KIND_UCS2);
    }
    pbfit::FitContact(record, text, ucs2);
}

bool TBL_pb::isStoredCopy(const _VELK_CONTACT_RECORD* r) const {
    for (const ContactList& list : lists_) {
        const Node* n = list.FindByIndex(r->index);
        if (n && n->record.get() == r) return true;
    }
    return false;
}

std::uint16_t TBL_pb::AddContact(_VELK_CONTACT_RECORD* record, const _VELK_CONTACT_RECORD** stored) {
    if (stored) *stored = nullptr;
    if (!record || !validStorage(record->storage)) return PB_NO_ITEM;
    const std::uint8_t s = record->storage;
    // Work on a copy: the caller may hand in a stored copy, which must not
    // change unless the library accepts the contact.
    _VELK_CONTACT_RECORD work = *record;
    Fit(work);
    const bool writeBack = !isStoredCopy(record);

    SettingRecord limits{};
    if (core_.set) core_.set->GetSetting(&limits, s, KIND_TEXT);
    capacities_[s] = limits.contactCapacity;
    if (static_cast<std::int64_t>(counts_[s]) + 1 > capacities_[s]) {
        if (writeBack) *record = work;
        static const std::uint16_t full[3] = {PB_SIM_FULL, PB_ME_FULL, PB_PC_FULL};
        return full[s];
    }
    work.storage = s;
    const VELK_RESULT r = Velk_NewContact(&work);
    if (writeBack) *record = work;
    if (r != 0) return r;
    lists_[s].Append(work);
    ++counts_[s];
    Node* n = lists_[s].FindByIndex(work.index);
    if (stored && n) *stored = n->record.get();
    return PB_OK;
}

std::uint16_t TBL_pb::ChangeContact(_VELK_CONTACT_RECORD* record) {
    if (!record || !validStorage(record->storage)) return PB_NO_ITEM;
    const std::uint8_t s = record->storage;
    const std::uint32_t index = record->index;
    _VELK_CONTACT_RECORD work = *record;
    Fit(work);
    const bool writeBack = !isStoredCopy(record);
    const VELK_RESULT r = Velk_SetContact(index, &work);
    if (writeBack) *record = work;
    if (r != 0) return r;
    if (Node* n = lists_[s].FindByIndex(index)) {
        lists_[s].Replace(n, work);
        lists_[s].SetCursor(n);
    }
    return PB_OK;
}

std::uint16_t TBL_pb::deleteStep(std::uint32_t index, std::uint8_t s) {
    if (VELK_RESULT r = Velk_DeleteContact(index, s)) return r;
    lists_[s].Remove(lists_[s].FindByIndex(index));
    if (counts_[s] > 0) --counts_[s];
    return PB_OK;
}

std::uint16_t TBL_pb::DeleteContact(const _VELK_CONTACT_RECORD* record) {
    if (!record || !validStorage(record->storage)) return PB_NO_ITEM;
    // Read before the call: the record may be the stored copy that goes.
    const std::uint32_t index = record->index;
    const std::uint8_t s = record->storage;
    return deleteStep(index, s);
}

std::uint16_t TBL_pb::FindContactByNumber(const char* text, _VELK_CONTACT_RECORD* buffer) {
    if (!buffer) return PB_NOT_FOUND;
    const _VELK_CONTACT_RECORD* found = FindContactRef(text, buffer->storage);
    if (!found) return PB_NOT_FOUND;
    std::memcpy(buffer, found, sizeof *buffer);
    return PB_OK;
}

const _VELK_CONTACT_RECORD* TBL_pb::FindContactRef(const char* text, std::uint8_t storage) {
    if (!text || !*text || !validStorage(storage)) return nullptr;
    ContactList& list = lists_[storage];
    Node* match = list.FindByNumber(text, std::strlen(text));
    // The search walks the storage's shared cursor: it ends on the match, or
    // at the tail when nothing matched.
    if (!match) {
        list.SetCursor(list.Tail());
        return nullptr;
    }
    list.SetCursor(match);
    const Node* again = list.FindByIndex(match->record->index);
    return (again ? again : match)->record.get();
}

std::uint16_t TBL_pb::GetGroups(const _VELK_GROUP_RECORD** table, std::uint8_t storage, std::uint32_t* count) {
    const _VELK_GROUP_RECORD* t = nullptr;
    std::uint32_t n = 0;
    switch (storage) {
    case STORAGE_SIM:
        t = &simGroup_;
        n = 1;
        break;
    case STORAGE_ME:
        t = meGroups_.Entries();
        n = meGroups_.Entries()[0].name[0] ? meGroups_.Count() : 0;
        break;
    case STORAGE_PC:
        t = pcGroups_.Entries();
        n = pcGroups_.Count();
        break;
    default:
        break;
    }
    if (table) *table = t;
    if (count) *count = n;
    return t ? PB_OK : PB_NO_ITEM;
}

std::uint16_t TBL_pb::GetGroupName(std::int32_t id, _VELK_GROUP_RECORD* buffer) {
    if (!buffer) return PB_NO_ITEM;
    GroupTable* table = buffer->storage == STORAGE_ME ? &meGroups_ : buffer->storage == STORAGE_PC ? &pcGroups_ : nullptr;
    const _VELK_GROUP_RECORD* g = table ? table->Find(id) : nullptr;
    if (!g) return PB_NO_ITEM;
    std::memcpy(buffer->name, g->name, sizeof buffer->name);
    return PB_OK;
}

std::uint16_t TBL_pb::AddGroup(_VELK_GROUP_RECORD* group) {
    if (!group || group->storage != STORAGE_PC) return PB_NOT_PC;
    if (pcGroups_.Count() >= kMaxCreatedGroups) return PB_TABLE_FULL;
    GroupTable::Terminate(*group);
    group->id = pcGroups_.NextId();
    if (VELK_RESULT r = Velk_SaveGroup(group)) return r;
    pcGroups_.Append(*group);
    return PB_OK;
}

std::uint16_t TBL_pb::RenameGroup(const _VELK_GROUP_RECORD* group) {
    if (!group) return PB_NO_ITEM;
    _VELK_GROUP_RECORD g = *group;
    GroupTable::Terminate(g);
    if (VELK_RESULT r = Velk_SetGroup(&g)) return r;
    if (g.storage == STORAGE_PC)
        if (_VELK_GROUP_RECORD* e = pcGroups_.Find(g.id)) std::memcpy(e->name, g.name, sizeof e->name);
    return PB_OK;
}

std::uint16_t TBL_pb::DeleteGroup(std::int32_t id, std::uint8_t storage) {
    if (storage != STORAGE_PC) return PB_NOT_PC;
    if (VELK_RESULT r = Velk_DeleteGroup(id, STORAGE_PC)) return r;
    pcGroups_.Remove(id);
    return PB_OK;
}

std::uint16_t TBL_pb::DeleteGroupContacts(std::int32_t id, std::uint8_t storage) {
    if (storage != STORAGE_PC) return PB_NO_ITEM;
    ContactList& list = lists_[STORAGE_PC];
    if (!list.Head()) return PB_TABLE_FULL;
    scratch_.clear();
    for (Node* n = list.Head(); n && scratch_.size() < kGroupDeleteCap; n = n->next)
        if (n->record->groupId == static_cast<std::uint32_t>(id)) scratch_.push_back(std::uint32_t{n->record->index});
    if (scratch_.empty()) return PB_NO_ITEM;
    // Every member is tried; a failure anywhere is reported, not masked by
    // a later success.
    std::uint16_t result = PB_OK;
    for (std::uint32_t index : scratch_) {
        const std::uint16_t r = deleteStep(index, STORAGE_PC);
        if (r && result == PB_OK) result = r;
    }
    return result;
}

std::uint16_t TBL_pb::GetNumberChars(char* buffer32) {
    if (buffer32) std::memset(buffer32, 0, sizeof numberChars_);
    _VELK_FIELD_SIZES f{};
    f.cbSize = sizeof f;
    f.storage = STORAGE_PC;
    const VELK_RESULT r = Velk_GetFieldSizes(&f);
    // A failed read keeps the set last read; the set is at most 31 characters
    // so its terminator always fits the caller's 32 bytes.
    if (r == 0) {
        std::memcpy(numberChars_, f.numberChars, sizeof numberChars_);
        numberChars_[sizeof numberChars_ - 1] = 0;
    }
    if (buffer32) std::memcpy(buffer32, numberChars_, sizeof numberChars_);
    return r;
}
