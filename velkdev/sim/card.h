// The simulated card's live state, shared by every call family.
//
// One card object lives for the whole process; Velk_Startup powers it up
// (loading its memory from simcard.dat), Velk_Shutdown powers it down.
// Every read or change of card state happens under lock(). Lock order:
// card lock first, then pcdb::lock(); never the other way round. Never call
// a callback or SendMessage while holding the lock (see events.h).
//
// A family's call usually starts like this:
//
//   std::lock_guard g(sim::card().lock());
//   if (VELK_RESULT f = sim::injectedFailure("Velk_LoadMessages")) return f;
//   if (VELK_RESULT r = sim::card().requireStorage(storage)) return r;
//   const auto sizes = sim::card().fieldSizes(storage);   // capacities
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>

#include "velkdev/velkdev.h"

namespace sim {

// What an operation needs, from least to most; require() checks all levels
// up to the one asked for and returns the first code that fails.
enum class Need {
    Started,     // Velk_Startup has run                      else VELK_E_NOT_STARTED
    Card,        // a card is inserted and powered            else VELK_E_NO_CARD
    Online,      // operation mode 5                          else VELK_E_OFFLINE
    Sim,         // SIM usable and no PIN/PUK pending         else VELK_E_SIM_UNUSABLE / _SIM_BUSY / _SIM_NOT_READY
    SimStorage,  // the SIM's storage has finished loading    else VELK_E_SIM_NOT_READY
    Network,     // registered on a network                   else VELK_E_FAILED
};

// Events a family may want to hear about (to end pending work, clear caches).
enum class CardEvent {
    Started,        // Velk_Startup powered the card up (memory loaded)
    Stopping,       // Velk_Shutdown is about to power it down
    Inserted,       // a card was inserted (and is powered)
    Removed,        // the card was pulled out or powered off
    SimReset,       // the SIM was reset: PIN asked again, storage not ready
    SimStorageReady,
    Registered,     // the network came up
    Deregistered,   // the network went away
};

class Card {
public:
    std::recursive_mutex& lock() const;

    bool started() const;
    bool present() const;            // inserted and powered
    std::uint8_t mode() const;       // 1, 5 or 6
    bool online() const;             // mode 5
    bool simUsable() const;          // a SIM is there and not blocked for good
    bool simReady() const;           // usable and no PIN/PUK pending
    bool simStorageReady() const;    // the SIM's storage has loaded (some seconds after unlocking)
    bool registered() const;         // on a network
    bool dialing() const;            // Velk_setIsDialing(1) is in effect

    VELK_RESULT require(Need need) const;
    // Storage code 0 needs the SIM's storage, 1 the card, 2 only a started
    // library with the computer store open; other codes give VELK_E_BAD_ARGUMENT.
    VELK_RESULT requireStorage(std::uint8_t storage) const;

    // The field-size record of storage 0, 1 or 2 (storage and cbSize filled in);
    // capacities: messageCapacity, contactCapacity, numberSlots.
    _VELK_FIELD_SIZES fieldSizes(std::uint8_t storage) const;
    // The last configuration given with Velk_SetSmsConfig (zeros if none).
    _VELK_SMS_CONFIG smsConfig() const;
};
Card& card();

// The failure set with velk_sim::FailNext(call, code) for this call name
// ("Velk_LoadMessages"), consumed once; 0 when none is pending.
VELK_RESULT injectedFailure(const char* call);

// Declare at namespace scope in a family's file to hear card events. The
// function runs on the thread that caused the event, under the card lock.
struct CardListener {
    explicit CardListener(std::function<void(CardEvent)> listener);
};

}  // namespace sim
