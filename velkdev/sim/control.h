// Control of the simulated card, for tests and demos. Drives the card as the
// world would: insert and remove it, change the SIM, the network, the signal,
// the lock, make calls fail. Events that follow (callbacks, posted messages)
// come on the library thread as they would from a real card.
//
// Process-wide settings (timing, what the card is like at power-up) may be set
// at any time and survive Velk_Shutdown; everything else acts on the running
// card and does nothing while the library is stopped.
// Each call family adds its own control functions (deliver a message, ring)
// in its own header under velkdev/sim/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "velkdev/velkdev.h"

#define VELK_SIM_API __attribute__((visibility("default")))

namespace velk_sim {

// The modem's friendly name as the driver keys give it (the dial-up device name).
inline constexpr const char* kModemFriendlyName = "Linkora 3G Modem";
// The driver's registry keys written when the card starts.
inline constexpr const char* kServiceEnumKey =
    "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QELusbmdm6k\\Enum";
inline constexpr const char* kDeviceInstance = "USB\\VID_1E0E_PID_9001\\LK3G0001";
inline constexpr const char* kDriverValue = "{4D36E96D-E325-11CE-BFC1-08002BE10318}\\0000";

// --- Timing -------------------------------------------------------------
// Instant: every delay is 0 and the signal does not drift (tests).
VELK_SIM_API void SetInstantTiming(bool instant);
// Waits until the library thread has delivered everything due (in instant
// timing: everything scheduled, including what those deliveries schedule).
VELK_SIM_API void Flush();
// Holds every delivery back until released (Flush returns at once while held),
// to look at the card between a request and the events that answer it.
VELK_SIM_API void HoldEvents(bool hold);

// --- Failures -----------------------------------------------------------
// The next call of the named function ("Velk_GetCsq") returns code without
// doing anything. Several for one name queue up.
VELK_SIM_API void FailNext(const char* call, VELK_RESULT code);
VELK_SIM_API void ClearFailures();

// --- Power-up scenario (process-wide) -------------------------------------
// Restores the demo scenario: card present, online, PIN check off (unless
// the card memory says otherwise), lock supported and not locked, UMTS,
// "Linkora Mobile", not roaming, signal drifting around 20, instant timing off.
VELK_SIM_API void ResetScenario();
VELK_SIM_API void SetCardPresentAtStart(bool present);
VELK_SIM_API void SetPowerOnMode(std::uint8_t mode);  // 1, 5 or 6
// A card that is there but does not answer (false): every call that needs
// the card fails with VELK_E_FAILED, so the echo check keeps retrying.
VELK_SIM_API void SetAnswering(bool answering);

// --- The card -------------------------------------------------------------
// Insertion: the card enumerates (driver keys written), then the card-event
// callback reports 1. Removal: callback 2 at once; every call then fails with
// VELK_E_NO_CARD. Nothing is reported while card checking is disabled.
VELK_SIM_API void InsertCard();
VELK_SIM_API void RemoveCard();
// The card changes its own operation mode (5 online, 6 offline), as a radio switch would.
VELK_SIM_API void SetOnline(bool online);
VELK_SIM_API void SetFieldSizes(std::uint8_t storage, const _VELK_FIELD_SIZES& sizes);
VELK_SIM_API void SetImei(const char* imei);
VELK_SIM_API void SetVersions(const char* software, const char* inner, const char* board);
VELK_SIM_API void SetEmergencyNumbers(const std::vector<std::string>& numbers);  // at most 16

// --- The SIM --------------------------------------------------------------
// A SIM with this PIN and PUK and the PIN check on; counters full. The SIM
// resets as if swapped: the PIN is asked again, the storage reloads.
VELK_SIM_API void RequirePin(const char* pin, const char* puk);
// No SIM (false) makes the PIN state 7307; true puts the SIM back (it resets).
VELK_SIM_API void SetSimPresent(bool present);
// The delay between unlocking the SIM and its storage being ready (default 3000 ms).
VELK_SIM_API void SetSimStorageDelay(int ms);

// --- Network lock ---------------------------------------------------------
VELK_SIM_API void SetLockSupported(bool supported);
// status 1 not locked, 2 to 4 locked with this unlock code and attempts
// (at most 5 wrong codes), 5 unknown for a while after power-up.
VELK_SIM_API void SetLock(std::uint8_t status, const char* code, int attempts = 5);

// --- Network --------------------------------------------------------------
VELK_SIM_API void SetSignal(std::uint32_t csq);      // 0..31, 99 unknown; callback on change
VELK_SIM_API void SetSignalDrift(bool drift);        // vary around the current value over time
VELK_SIM_API void SetNetworkType(const char* type);  // "UMTS", "HSDPA", "GPRS", "EDGE", "GSM", "Limit Service"
VELK_SIM_API void SetDomain(std::uint8_t domain);    // 0 CS, 1 PS, 2 both
VELK_SIM_API void SetOperator(const char* name, const char* shortName, const char* plmn);
VELK_SIM_API void SetRoaming(bool roaming);
// Coverage lost (false: "NO SERVICE", signal 99) or found again.
VELK_SIM_API void SetCoverage(bool coverage);

// --- Readings for tests ---------------------------------------------------
struct PinCounters {
    int pinLeft;
    int pukLeft;
    bool pinEnabled;
    bool blockedForGood;
};
VELK_SIM_API PinCounters GetPinCounters();
VELK_SIM_API std::string GetPin();
struct ModemPara {
    std::string pdpType, apn, pdpAddress;
};
VELK_SIM_API ModemPara GetModemPara();
VELK_SIM_API bool AtPortOpen();
VELK_SIM_API bool IsDialing();
VELK_SIM_API bool NetcardStarted();
VELK_SIM_API std::uint8_t LockAttemptsLeft();

// --- For the voice-call family --------------------------------------------
// Marks an outgoing call attempt as running / finished, so Velk_ATDAbort
// has something to stop. Returns false when no card is there.
VELK_SIM_API bool BeginOutgoingAttempt();
VELK_SIM_API void EndOutgoingAttempt();
VELK_SIM_API bool OutgoingAttemptRunning();

}  // namespace velk_sim
