// The SMS store: every message the program knows of, one list per store
// (0 SIM, 1 the card's memory, 2 the computer store), kept in step with the
// library. Runs on the interface thread only; the new-message work is handed
// to it by the core (OnArrival), so no list or cursor is shared with the
// library's thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sms/domain/sms_join.h"
#include "sms/domain/sms_record.h"
#include "velkdev/velkdev.h"

class TBL_base;

class TBL_sms {
public:
    explicit TBL_sms(TBL_base& core);
    ~TBL_sms();

    // Reads a store from the card (1 also rereads the computer store).
    std::uint16_t Load(std::uint8_t storage);
    // The store total (folder 0) or a folder's part count (1..3); 0 otherwise.
    std::uint16_t GetCount(std::uint8_t folder, std::uint8_t storage) const;
    std::uint16_t GrandTotal() const { return grand_; }
    // Enumeration of the records of rec's folder (0 all) and storage.
    std::uint16_t GetFirst(SmsRecord* rec);
    std::uint16_t GetNext(SmsRecord* rec);

    // One copy of rec per recipient (";" or full-width ";" between numbers).
    std::uint16_t SaveToRecipients(const SmsRecord* rec, const char* recipients);
    // rec saved to its own number, in rec's storage (moving between stores).
    std::uint16_t SaveToOwnNumber(const SmsRecord* rec);
    // Saves one record: as one message, or in parts with a fresh reference.
    // An empty time text is replaced by the time now (written back into rec).
    std::uint16_t SaveOne(SmsRecord& rec);
    std::uint16_t Delete(const SmsRecord* rec);
    std::uint16_t SetStatus(const SmsRecord* rec, std::uint8_t read);

    // 0 when store s has room for n more messages, else its full code.
    std::uint16_t CheckCapacity(std::uint8_t storage, int n) const;
    // The first record of the store with this index, or holding it in a slot.
    const SmsRecord* FindByIndex(std::uint8_t storage, std::uint16_t index) const;
    const SmsList& List(std::uint8_t storage) const { return lists_[storage % 3]; }

    // Splits a recipient text into numbers and checks each against the
    // allowed characters: 0, 4207 (an invalid number) or 4208 (over 200).
    static std::uint16_t SplitRecipients(const char* text, const char* allowed, std::vector<std::string>* numbers);

    // A new message stored by the card at (storage, index): fetch, file,
    // delete the message it replaces, join, recount, then post UM_SMS_NEW
    // with a copy of its record. Runs on the interface thread.
    void OnArrival(std::uint8_t storage, std::uint32_t index);

private:
    std::uint16_t readStore(std::uint8_t storage);
    void clearStore(std::uint8_t storage);
    void add(const _VELK_MESSAGE_RECORD& d);
    void join(std::uint8_t storage);
    void recount(std::uint8_t storage);
    std::uint16_t find(std::uint8_t folder, std::uint8_t storage, std::size_t from, SmsRecord* rec);
    // The sender's contact name (computer, card, then SIM phonebook) into rec.
    void lookupName(SmsRecord& rec) const;
    // Deletes the first inbox message (computer store, then SIM) that rec replaces.
    void deleteReplaced(const SmsRecord& rec);
    SmsRecord* findMutable(std::uint8_t storage, std::uint16_t index);
    std::uint16_t saveParts(SmsRecord& rec, int coding, int parts);
    std::uint16_t saveSingle(SmsRecord& rec, int coding, int length);

    TBL_base& core_;
    SmsList lists_[3];                   // by storage code
    std::uint16_t counts_[3][3] = {};    // [storage][folder 1..3]
    std::uint16_t totals_[3] = {};
    std::uint16_t grand_ = 0;
    std::uint8_t filterFolder_ = 0;
    std::uint8_t filterStorage_ = 0;
    std::size_t cursor_[3] = {};
};
