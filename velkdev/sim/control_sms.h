// Control of the simulated card's messages, for tests and demos: messages
// arriving from the network (plain, parts of a concatenated message in any
// order, replace type, class 0) and readings of the three stores.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "velkdev/sim/control.h"

namespace velk_sim {

// A message as the network hands it to the card. Texts are code-page bytes.
struct IncomingSms {
    std::string sender = "+8613900000001";
    std::string text;
    std::string serviceCentre = "+8613800100500";
    std::uint16_t replaceType = 0;          // protocol id of a replace-type message
    // A part of a concatenated message when total > 0.
    std::uint16_t reference = 0;
    std::uint8_t total = 0;
    std::uint8_t part = 0;
    std::uint8_t status = 2;                // 2 unread; 1..5 for stored messages
    std::array<std::uint16_t, 6> time{};    // year 0: the time of delivery
};

// Stores the message in storage (0 SIM, 1 card, 2 computer) and reports it
// through the new-SMS callback. Returns its index, or -1 when the store is
// full, not ready or the library is stopped.
VELK_SIM_API int DeliverSms(std::uint8_t storage, const IncomingSms& sms);
// The parts of one concatenated message, delivered in the given order of
// part numbers (from 1): texts[k] is part k + 1. Returns the indexes in
// delivery order (-1 for a part that could not be stored).
VELK_SIM_API std::vector<int> DeliverConcatenated(std::uint8_t storage, const std::string& sender,
                                                  std::uint16_t reference, const std::vector<std::string>& texts,
                                                  const std::vector<int>& order);
// A class-0 (flash) message: the class-0 callback only, nothing is stored.
VELK_SIM_API void DeliverClass0(const std::string& sender, const std::string& text);
// Stores messages without reporting them (a store that was filled before),
// in one write. Returns how many were stored.
VELK_SIM_API int StoreSms(std::uint8_t storage, const std::vector<IncomingSms>& messages);

// Readings: the stored records of a store in index order (bodies as stored).
VELK_SIM_API std::vector<_VELK_MESSAGE_RECORD> StoredMessages(std::uint8_t storage);
// The card's service-centre number and save location (Velk_SetSmsCenter, ...).
VELK_SIM_API std::string SmsCenter();

}  // namespace velk_sim
