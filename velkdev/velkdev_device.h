// velkdev: card state, power, operation mode, SIM and PIN, network lock,
// signal and operator, versions, modem parameters and the AT port.
// Included by velkdev.h; every call returns VELK_OK (0) on success.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// Network reading (Velk_GetNetworkPara).
struct _VELK_NETWORK_PARA {
    char networkType[68];             // 0  "UMTS", "HSDPA", "GPRS", "EDGE", "GSM", "Limit Service" or "NO SERVICE"
    std::uint8_t domain;              // 68 0 circuit only, 1 packet only, 2 both
    std::uint8_t roaming;             // 69 1 roaming
    std::uint8_t registered;          // 70 1 registered on a network
    std::uint8_t reserved71;          // 71
};
static_assert(sizeof(_VELK_NETWORK_PARA) == 72);
static_assert(offsetof(_VELK_NETWORK_PARA, domain) == 68);
static_assert(offsetof(_VELK_NETWORK_PARA, roaming) == 69);
static_assert(offsetof(_VELK_NETWORK_PARA, registered) == 70);

// Operator reading (Velk_GetZdonPara), 380 bytes; all texts NUL-terminated.
struct _VELK_ZDON_PARA {
    char operatorName[68];            // 0   long operator name, empty when not registered
    char shortName[68];               // 68  short operator name
    char plmn[68];                    // 136 numeric network code, MCC followed by MNC ("00101")
    char networkType[68];             // 204 as in _VELK_NETWORK_PARA
    char domain[36];                  // 272 "CS_ONLY", "PS_ONLY" or "CS_PS"
    char reserved308[36];             // 308
    char roaming[36];                 // 344 "ROAM_ON" or "ROAM_OFF"
};
static_assert(sizeof(_VELK_ZDON_PARA) == 380);
static_assert(offsetof(_VELK_ZDON_PARA, shortName) == 68);
static_assert(offsetof(_VELK_ZDON_PARA, plmn) == 136);
static_assert(offsetof(_VELK_ZDON_PARA, networkType) == 204);
static_assert(offsetof(_VELK_ZDON_PARA, domain) == 272);
static_assert(offsetof(_VELK_ZDON_PARA, roaming) == 344);

// Operator notification, handed to the Velk_SetCallBackZdonNotify callback
// (212 bytes; all texts NUL-terminated).
struct _VELK_ZDON_NOTIFY {
    char operatorName[68];            // 0
    char shortName[36];               // 68
    char plmn[36];                    // 104
    char domain[36];                  // 140 "CS_ONLY", "PS_ONLY" or "CS_PS"
    char roaming[36];                 // 176 "ROAM_ON" or "ROAM_OFF"
};
static_assert(sizeof(_VELK_ZDON_NOTIFY) == 212);
static_assert(offsetof(_VELK_ZDON_NOTIFY, shortName) == 68);
static_assert(offsetof(_VELK_ZDON_NOTIFY, plmn) == 104);
static_assert(offsetof(_VELK_ZDON_NOTIFY, domain) == 140);
static_assert(offsetof(_VELK_ZDON_NOTIFY, roaming) == 176);

// Emergency numbers (Velk_GetEmergencyCall): 16 NUL-terminated entries;
// unused entries are all zero.
struct _VELK_EMERGENCY_LIST {
    char number[16][36];
};
static_assert(sizeof(_VELK_EMERGENCY_LIST) == 576);
#pragma pack(pop)

// Values read and written by these calls.
inline constexpr std::uint8_t VELK_MODE_MINIMUM = 1;            // powered, radio not started
inline constexpr std::uint8_t VELK_MODE_ONLINE = 5;
inline constexpr std::uint8_t VELK_MODE_OFFLINE = 6;

inline constexpr std::uint8_t VELK_PIN_READY = 0;               // no code required
inline constexpr std::uint8_t VELK_PIN_REQUIRED = 1;
inline constexpr std::uint8_t VELK_PUK_REQUIRED = 2;

inline constexpr std::uint8_t VELK_LOCK_NONE = 1;               // not locked
inline constexpr std::uint8_t VELK_LOCK_NETWORK = 2;            // locked to a network
inline constexpr std::uint8_t VELK_LOCK_SUBSET = 3;             // locked to a network subset
inline constexpr std::uint8_t VELK_LOCK_PROVIDER = 4;           // locked to a service provider
inline constexpr std::uint8_t VELK_LOCK_UNKNOWN = 5;            // not yet known (just after power-up)
inline constexpr std::uint8_t VELK_LOCK_FOR_GOOD = 6;           // every unlock attempt used up; cannot be unlocked

inline constexpr std::uint8_t VELK_UNLOCK_DONE = 0;             // Velk_UnlockNet outcome: unlocked (or was not locked)
inline constexpr std::uint8_t VELK_UNLOCK_REFUSED = 1;          // code refused, more than one attempt left
inline constexpr std::uint8_t VELK_UNLOCK_REFUSED_LAST = 2;     // code refused, one attempt left
inline constexpr std::uint8_t VELK_UNLOCK_NOW_LOCKED = 3;       // code refused, no attempt left: locked for good
inline constexpr std::uint8_t VELK_UNLOCK_LOCKED_FOR_GOOD = 4;  // already locked for good; nothing was tried

// Card presence and power.
VELK_API VELK_RESULT Velk_Echo();                                   // 0 when the card answers
VELK_API VELK_RESULT Velk_ClearEcho();                              // switches the card's command echo off
VELK_API VELK_RESULT Velk_Poweroff(std::uint8_t untilReinserted);   // 0: for a suspend, the card returns when
                                                                     // card checking is enabled again; non-zero:
                                                                     // off until the card is inserted again
VELK_API VELK_RESULT Velk_enableCheckCard();                        // report insertion/removal again (and
                                                                     // power a suspended card up)
VELK_API VELK_RESULT Velk_disableCheckCard();                       // stop reporting insertion/removal

// Operation mode and the network side.
VELK_API VELK_RESULT Velk_GetOperationMode(std::uint8_t* mode);     // 1, 5 or 6
VELK_API VELK_RESULT Velk_SetOperationMode(std::uint8_t mode);      // 5 online, 6 offline; others refused
VELK_API VELK_RESULT Velk_NetcardStart();                           // needs mode 5, a usable SIM without a
                                                                     // pending code, no network lock
VELK_API VELK_RESULT Velk_NetcardStop();

// SIM and PIN.
VELK_API VELK_RESULT Velk_TestSimState();                           // 0 when the SIM's storage is ready
VELK_API VELK_RESULT Velk_GetPinState(std::uint8_t* state);         // VELK_PIN_*; 7307 SIM unusable,
                                                                     // 7308 SIM still starting
VELK_API VELK_RESULT Velk_QueryPINLeftTimes(std::uint8_t* pinLeft, std::uint8_t* pukLeft);
// A PIN (newPin null or empty) or a PUK with the new PIN (4 to 8 digits).
// 0 accepted, 7305 refused with attempts left, 7306 refused and the last
// attempt used (PIN: the PUK is now needed; PUK: the SIM is blocked for good).
VELK_API VELK_RESULT Velk_SetPin(const char* code, const char* newPin);
VELK_API VELK_RESULT Velk_IfPinEnable(std::uint8_t* enabled);       // 1 when the PIN check is on
VELK_API VELK_RESULT Velk_SetPinEnable(std::uint8_t enable, const char* pin);  // 0, 7305, 7306
VELK_API VELK_RESULT Velk_ChangePinPasswd(const char* oldPin, const char* newPin);  // 0, 7305, 7306;
                                                                     // 7310 when the PIN check is off

// Network lock of the card.
VELK_API VELK_RESULT Velk_IsNetSupportLock(std::uint8_t* supported);
VELK_API VELK_RESULT Velk_GetNetLockStatus(std::uint8_t* status);   // VELK_LOCK_*
VELK_API VELK_RESULT Velk_UnlockNet(const char* code, std::uint8_t* outcome);  // VELK_UNLOCK_*

// Identity and versions; buffers of 36 (IMEI) and 100 bytes, NUL-terminated.
VELK_API VELK_RESULT Velk_QueryImei(char* imei36);
VELK_API VELK_RESULT Velk_GetSoftwareVersion(char* version100, char* innerVersion100);
VELK_API VELK_RESULT Velk_GetBoardVersion(char* version100);

// Signal and network. Velk_GetCsq: 0 to 31, 99 unknown (no service);
// result 9 while the card has not measured since the network came up.
VELK_API VELK_RESULT Velk_GetCsq(std::uint32_t* signal);
VELK_API VELK_RESULT Velk_GetNetworkPara(_VELK_NETWORK_PARA* para);
VELK_API VELK_RESULT Velk_GetZdonPara(_VELK_ZDON_PARA* para);
VELK_API VELK_RESULT Velk_GetEmergencyCall(_VELK_EMERGENCY_LIST* list);

// Data connection and voice: modem parameters, the AT port, dialling.
VELK_API VELK_RESULT Velk_SetModemPara(const char* pdpType, const char* apn, const char* pdpAddress);
VELK_API VELK_RESULT Velk_OpenAT();                                 // take the AT port back after a connection
VELK_API VELK_RESULT Velk_CloseAT(std::uint8_t forConnection);      // 1: a data connection uses the modem
VELK_API VELK_RESULT Velk_setIsDialing(std::uint8_t dialing);       // 1 while a voice call is dialled: the
                                                                     // SIM-ready message waits until it is 0
VELK_API VELK_RESULT Velk_ATDAbort();                               // 0 when an outgoing call attempt was
                                                                     // stopped; 7310 when none was running

// Backup and restore of the computer store. path may use "\" separators.
// Restore refuses (7313) a file that is not a Linkora database and leaves
// the current store untouched.
VELK_API VELK_RESULT Velk_BackUpDBToFile(const char* path);
VELK_API VELK_RESULT Velk_LoadDBFromFile(const char* path);
