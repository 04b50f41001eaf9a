#include "sms/domain/tbl_sms.h"

#include <algorithm>
#include <cstring>

#include "core/base.h"
#include "core/messages.h"
#include "core/settings_store.h"
#include "phonebook/domain/tbl_pb.h"
#include "sms/domain/sms_convert.h"

TBL_sms::TBL_sms(TBL_base& core) : core_(core) {}

TBL_sms::~TBL_sms() = default;  // the lists free their records

// ---- loading -------------------------------------------------------------

std::uint16_t TBL_sms::Load(std::uint8_t storage) {
    const std::uint16_t r = Velk_LoadMessages(storage);
    if (r != 0) return r == SMS_E_NOT_FOUND ? 0 : r;
    std::uint16_t last = 0;
    switch (storage) {
    case STORAGE_SIM: last = readStore(STORAGE_SIM); break;
    case STORAGE_ME:
        readStore(STORAGE_ME);
        last = readStore(STORAGE_PC);
        break;
    case STORAGE_PC: last = readStore(STORAGE_PC); break;
    default: return SMS_E_BAD_INPUT;
    }
    return last == SMS_E_NOT_FOUND ? 0 : last;
}

void TBL_sms::clearStore(std::uint8_t storage) {
    lists_[storage].clear();
    cursor_[storage] = 0;
    recount(storage);
}

std::uint16_t TBL_sms::readStore(std::uint8_t storage) {
    clearStore(storage);
    _VELK_MESSAGE_RECORD d{};
    d.storage = storage;
    const std::uint16_t r = Velk_GetFirstMessage(0, &d);
    if (r != 0) return r;
    add(d);
    for (;;) {
        d = {};
        d.storage = storage;
        if (Velk_GetNextMessage(&d) != 0) break;
        add(d);
    }
    join(storage);
    recount(storage);
    return 0;
}

void TBL_sms::add(const _VELK_MESSAGE_RECORD& d) {
    if (d.storage > STORAGE_PC) return;  // a record of no store of ours is dropped
    lists_[d.storage].push_back(std::make_unique<SmsRecord>(smsconv::FromDevice(d)));
}

void TBL_sms::join(std::uint8_t storage) { JoinConcatenated(lists_[storage]); }

void TBL_sms::recount(std::uint8_t storage) {
    std::uint16_t* c = counts_[storage];
    c[0] = c[1] = c[2] = 0;
    for (const auto& r : lists_[storage])
        if (r->folder >= FOLDER_INBOX && r->folder <= FOLDER_DRAFTS) c[r->folder - 1] += SmsPartCount(*r);
    totals_[storage] = static_cast<std::uint16_t>(c[0] + c[1] + c[2]);
    grand_ = static_cast<std::uint16_t>(totals_[0] + totals_[1] + totals_[2]);
    core_.Post(UM_SMS_COUNTS, 0, 0);
}

std::uint16_t TBL_sms::GetCount(std::uint8_t folder, std::uint8_t storage) const {
    if (storage > STORAGE_PC) return 0;
    if (folder == FOLDER_ALL) return totals_[storage];
    if (folder <= FOLDER_DRAFTS) return counts_[storage][folder - 1];
    return 0;
}

// ---- enumeration ---------------------------------------------------------

std::uint16_t TBL_sms::find(std::uint8_t folder, std::uint8_t storage, std::size_t from, SmsRecord* rec) {
    if (storage > STORAGE_PC) return SMS_E_NOT_FOUND;
    const SmsList& list = lists_[storage];
    for (std::size_t i = from; i < list.size(); ++i) {
        if (folder != FOLDER_ALL && list[i]->folder != folder) continue;
        *rec = *list[i];
        cursor_[storage] = i + 1;
        lookupName(*rec);
        return 0;
    }
    return SMS_E_NOT_FOUND;
}

std::uint16_t TBL_sms::GetFirst(SmsRecord* rec) {
    if (!rec) return SMS_E_NO_RECORD;
    filterFolder_ = rec->folder;
    filterStorage_ = rec->storage;
    return find(filterFolder_, filterStorage_, 0, rec);
}

std::uint16_t TBL_sms::GetNext(SmsRecord* rec) {
    if (!rec) return SMS_E_NO_RECORD;
    rec->folder = filterFolder_;
    rec->storage = filterStorage_;
    if (filterStorage_ > STORAGE_PC) return SMS_E_NOT_FOUND;
    return find(filterFolder_, filterStorage_, cursor_[filterStorage_], rec);
}

// The one place the store asks the phonebook: the first of the computer,
// card and SIM phonebooks holding a number contained in the message's.
void TBL_sms::lookupName(SmsRecord& rec) const {
    rec.name[0] = 0;
    if (rec.number[0] == 0) return;
    if (!core_.pb) return;
    static const std::uint8_t order[3] = {STORAGE_PC, STORAGE_ME, STORAGE_SIM};
    // Only the name is wanted: the stored contact is read in place rather
    // than copied whole for every message listed.
    for (std::uint8_t s : order) {
        if (const _VELK_CONTACT_RECORD* contact = core_.pb->FindContactRef(rec.number, s)) {
            smsconv::CopyField(rec.name, sizeof rec.name, contact->name, sizeof contact->name);
            return;
        }
    }
}

// ---- finding, deleting, marking ------------------------------------------

const SmsRecord* TBL_sms::FindByIndex(std::uint8_t storage, std::uint16_t index) const {
    if (storage > STORAGE_PC) return nullptr;
    for (const auto& r : lists_[storage]) {
        if (r->index == index) return r.get();
        if (r->concatenated)
            for (const SmsPartSlot& s : r->partSlots)
                if (s.present && s.index == index) return r.get();
    }
    return nullptr;
}

SmsRecord* TBL_sms::findMutable(std::uint8_t storage, std::uint16_t index) {
    for (auto& r : lists_[storage])
        if (r->index == index) return r.get();
    return nullptr;
}

std::uint16_t TBL_sms::Delete(const SmsRecord* rec) {
    if (!rec) return SMS_E_NO_RECORD;
    const std::uint8_t s = rec->storage;
    if (s > STORAGE_PC) return SMS_E_BAD_INPUT;
    SmsList& list = lists_[s];
    const SmsRecord target = *rec;  // rec may be the list's own record
    auto removeByIndex = [&](std::uint16_t index) {
        auto it = std::find_if(list.begin(), list.end(), [&](const auto& r) { return r->index == index; });
        if (it != list.end()) list.erase(it);
    };

    if (target.concatenated && SmsPartCount(target) > 0) {
        SmsRecord* held = findMutable(s, target.index);
        for (const SmsPartSlot& slot : target.partSlots) {
            if (!slot.present) continue;
            const std::uint16_t r = Velk_DeleteMessage(slot.index, s);
            if (r != 0) {
                // The record keeps the parts still on the card, first in its
                // slots, and takes the index of the first of them: rejoining
                // must not bring a deleted part back, or the message could
                // never be deleted again.
                if (held) {
                    SmsPartSlot kept[SMS_SLOTS] = {};
                    int n = 0;
                    for (const SmsPartSlot& h : held->partSlots)
                        if (h.present) kept[n++] = h;
                    std::copy(kept, kept + SMS_SLOTS, held->partSlots);
                    if (n > 0) {
                        held->index = kept[0].index;
                        held->partNumber = kept[0].partNumber;
                    }
                }
                join(s);
                recount(s);
                return r;
            }
            if (held)
                for (SmsPartSlot& h : held->partSlots)
                    if (h.present && h.index == slot.index) h = SmsPartSlot{};
        }
        removeByIndex(target.index);
    } else {
        const std::uint16_t r = Velk_DeleteMessage(target.index, s);
        if (r != 0) return r;
        removeByIndex(target.index);
    }
    recount(s);
    return 0;
}

std::uint16_t TBL_sms::SetStatus(const SmsRecord* rec, std::uint8_t read) {
    if (!rec) return SMS_E_NO_RECORD;
    const std::uint8_t s = rec->storage;
    if (s > STORAGE_PC) return SMS_E_BAD_INPUT;
    std::uint16_t r = SMS_E_PART_STATUS;
    if (rec->concatenated) {
        for (const SmsPartSlot& slot : rec->partSlots)
            if (slot.present) r = Velk_SetMessageStatus(slot.index, read, s);
    } else {
        r = Velk_SetMessageStatus(rec->index, read, s);
    }
    if (r != 0) return r;
    const std::uint16_t index = rec->index;
    for (auto& l : lists_[s])
        if (l->index == index) l->status = read ? SMS_READ : SMS_UNREAD;
    return 0;
}

// ---- arrival -------------------------------------------------------------

void TBL_sms::deleteReplaced(const SmsRecord& rec) {
    static const std::uint8_t order[2] = {STORAGE_PC, STORAGE_SIM};
    for (std::uint8_t s : order) {
        for (const auto& r : lists_[s]) {
            if (r->folder != FOLDER_INBOX || r->replaceType != rec.replaceType || r->storage != rec.storage ||
                r->index == rec.index || std::strcmp(r->number, rec.number) != 0 ||
                std::strcmp(r->serviceCentre, rec.serviceCentre) != 0)
                continue;
            const SmsRecord victim = *r;
            Delete(&victim);
            break;
        }
    }
}

void TBL_sms::OnArrival(std::uint8_t storage, std::uint32_t index) {
    if (storage > STORAGE_PC) return;
    _VELK_MESSAGE_RECORD d{};
    d.index = static_cast<std::uint16_t>(index);
    d.storage = storage;
    if (Velk_GetMessage(index, &d) != 0 || d.storage != storage) return;  // dropped silently
    lists_[storage].push_back(std::make_unique<SmsRecord>(smsconv::FromDevice(d)));
    const SmsRecord* found = lists_[storage].back().get();
    const SmsRecord arrived = *found;
    if (arrived.replaceType != 0) deleteReplaced(arrived);
    if (arrived.concatenated) {
        join(storage);  // the part may now belong to a joined record
        found = FindByIndex(storage, arrived.index);
    }
    recount(storage);
    if (!found) return;
    auto* copy = new SmsRecord(*found);
    if (!core_.Post(UM_SMS_NEW, reinterpret_cast<WPARAM>(copy), 0)) delete copy;
}
