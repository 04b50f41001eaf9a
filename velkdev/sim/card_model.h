// Inside the simulated card: its scenario (what it is like at power-up,
// process-wide) and its live state, with the transitions the device calls
// and the control API share. Everything here runs under card().lock().
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "velkdev/sim/card.h"

namespace sim {

using Clock = std::chrono::steady_clock;

struct Scenario {
    bool presentAtStart = true;
    bool answering = true;
    std::uint8_t powerOnMode = VELK_MODE_ONLINE;
    int simBusyMs = 800;            // SIM start-up after power-up
    int simStorageMs = 3000;        // unlocking to storage ready
    int lockReadMs = 1000;          // lock status unknown after power-up
    int enumerateMs = 1500;         // insertion to card ready
    int registerMs = 2000;          // network side up to registered
    int measureMs = 600;            // registered to the first signal reading
    int driftMs = 4000;             // signal drift period
    bool lockSupported = true;
    bool simPresent = true;
    bool coverage = true;
    std::string networkType = "UMTS";
    std::uint8_t domain = 2;
    std::string operatorName = "Linkora Mobile";
    std::string operatorShort = "Linkora";
    std::string plmn = "00101";
    bool roaming = false;
    std::uint32_t signal = 20;
    bool drift = true;
    std::string imei = "357391001234561";
    std::string software = "LK3G-V1.0.2B07";
    std::string inner = "B07";
    std::string board = "LK3G-HW-02";
    std::vector<std::string> emergency = {"112", "911", "000", "08", "110", "118", "119", "999"};
    _VELK_FIELD_SIZES sizes[3];
    std::map<std::string, std::deque<VELK_RESULT>> failures;
    Scenario();
};

struct Live {
    bool started = false;
    // Card
    bool inserted = false;
    bool powered = false;
    bool suspendedOff = false;      // Poweroff(0): back when card checking resumes
    bool checkCard = true;
    bool reportedPresent = false;   // what the card-event callback last said
    std::uint64_t cardGen = 0;      // bumped at every insertion/removal/power change
    std::uint8_t mode = VELK_MODE_ONLINE;
    bool echo = true;
    // SIM (codes and counters persisted in the "sim" section)
    std::string pin = "1234";
    std::string puk = "12345678";
    bool pinEnabled = false;
    int pinLeft = 3;
    int pukLeft = 10;
    bool blockedForGood = false;
    bool pinVerified = false;
    Clock::time_point simBusyUntil{};
    bool storageReady = false;
    std::uint64_t simGen = 0;       // bumped at every SIM reset
    bool simEventPending = false;   // 3026 held back while dialling
    // Network lock (persisted in the "card" section)
    std::uint8_t lockStatus = VELK_LOCK_NONE;
    std::string unlockCode = "1234567890123456";
    int unlockLeft = 5;
    Clock::time_point lockKnownAt{};
    // Network
    bool netcardStarted = false;
    bool registered = false;
    bool measured = false;
    std::uint32_t csq = 99;
    std::uint64_t netGen = 0;       // bumped at every registration change
    // Data and voice
    _VELK_SMS_CONFIG smsConfig{};
    std::string pdpType, apn, pdpAddress;
    bool atOpen = true;
    bool dialing = false;
    bool outgoing = false;
};

Scenario& scenario();
Live& live();

// Transitions.
void powerUp();                        // card powered: mode, SIM start, driver keys
void powerDown();                      // card unpowered (removed or switched off)
void resetSim();                       // SIM re-reads: PIN asked again, storage reloads
void simUnlocked();                    // schedules storage readiness
void startRegistration();              // network side up: registers after a while
void dropRegistration(bool notify);    // network lost; notify: "NO SERVICE" and signal 99
void notifyCardEvent(std::uint8_t event, int delayMs);
void notifyNetworkType(const std::string& text);
void notifyOperator();
void notifySignal(std::uint32_t csq);
void scheduleDrift();
void announce(CardEvent e);            // card listeners
std::uint8_t pinState();               // VELK_PIN_*
std::string networkTypeText();         // what the card reports now
void saveSim();                        // "sim" section
void saveCard();                       // "card" section
void loadMemory();                     // codes, counters and lock from simcard.dat
void writeDriverKeys();
void writeDeviceGone();
// Copies text into a fixed buffer, cut to fit, always NUL-terminated.
void copyText(char* dest, std::size_t size, const std::string& text);

}  // namespace sim
