// velkdev: the device-control library. Every card operation goes through
// these calls: C linkage, fixed-width arguments, 16-bit results, 0 success.
// Callbacks run on a library thread; pointed-to data lives only during the call.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/winmsg.h"

#define VELK_API extern "C" __attribute__((visibility("default")))

using VELK_RESULT = std::uint16_t;

// Result codes of the library. Callers single out 7305, 7306 (PIN entry),
// 7307 (SIM unusable), 9 (no signal reading yet) and 13 (no entry).
inline constexpr VELK_RESULT VELK_OK = 0;
inline constexpr VELK_RESULT VELK_E_FAILED = 1;            // the card refused or did not answer
inline constexpr VELK_RESULT VELK_E_NO_READING = 9;        // Velk_GetCsq: no signal reading yet
inline constexpr VELK_RESULT VELK_E_NO_ENTRY = 13;         // list reads: no (further) entry
inline constexpr VELK_RESULT VELK_E_NOT_STARTED = 7301;    // Velk_Startup has not run (or failed)
inline constexpr VELK_RESULT VELK_E_NO_CARD = 7302;        // no card, or the card is powered off
inline constexpr VELK_RESULT VELK_E_OFFLINE = 7303;        // the operation needs the card online (mode 5)
inline constexpr VELK_RESULT VELK_E_BAD_ARGUMENT = 7304;   // null pointer, wrong record size, unknown storage, bad text
inline constexpr VELK_RESULT VELK_E_WRONG_CODE = 7305;     // PIN, PUK or unlock code refused, attempts remain
inline constexpr VELK_RESULT VELK_E_BLOCKED = 7306;        // the code was refused and its last attempt is used up
inline constexpr VELK_RESULT VELK_E_SIM_UNUSABLE = 7307;   // no SIM, or the SIM is blocked for good
inline constexpr VELK_RESULT VELK_E_SIM_BUSY = 7308;       // the SIM is still starting; ask again shortly
inline constexpr VELK_RESULT VELK_E_SIM_NOT_READY = 7309;  // the SIM waits for its PIN/PUK or its storage is not ready yet
inline constexpr VELK_RESULT VELK_E_NOT_ALLOWED = 7310;    // not possible in the card's present state
inline constexpr VELK_RESULT VELK_E_FULL = 7311;           // the storage holds as many entries as it can
inline constexpr VELK_RESULT VELK_E_DATABASE = 7312;       // the computer store could not be read or written
inline constexpr VELK_RESULT VELK_E_NOT_DATABASE = 7313;   // a file that is not a Linkora database was refused
inline constexpr VELK_RESULT VELK_E_BUSY = 7314;           // called where it cannot run (e.g. Velk_Shutdown from a callback)
inline constexpr VELK_RESULT VELK_E_UNSUPPORTED = 7315;    // the chosen backend cannot do this, or no such backend

#pragma pack(push, 1)
// Field sizes of one storage (sizes in bits; alphabet masks: 1 GSM 7-bit,
// 2 8-bit, 4 UCS-2). The caller sets cbSize to 762 and storage, the rest 0.
struct _VELK_FIELD_SIZES {
    std::uint32_t cbSize;             // 0
    std::uint16_t numberSize;         // 4
    std::uint8_t numberMask;          // 6
    std::uint8_t pad7;
    char numberChars[32];             // 8  allowed number characters, NUL-terminated
    std::uint16_t nameSize;           // 40
    std::uint8_t nameMask;            // 42
    std::uint8_t pad43;
    std::uint16_t emailSize;          // 44
    std::uint8_t emailMask;           // 46
    std::uint8_t pad47[5];
    std::uint8_t text2Mask;           // 52
    std::uint8_t pad53;
    std::uint16_t text2Size;          // 54
    std::uint8_t text3Mask;           // 56
    std::uint8_t pad57;
    std::uint16_t text3Size;          // 58
    std::uint8_t noteMask;            // 60
    std::uint8_t pad61;
    std::uint16_t urlSize;            // 62
    std::uint8_t urlMask;             // 64
    std::uint8_t pad65;
    std::uint16_t noteSize;           // 66
    std::uint8_t pad68[2];
    std::uint32_t passThrough;        // 70
    std::uint32_t contactCapacity;    // 74
    std::uint16_t numberSlots;        // 78
    std::uint8_t pad80[640];
    std::uint32_t messageCapacity;    // 720
    std::uint32_t smsSize;            // 724
    std::uint8_t smsMask;             // 728
    std::uint8_t pad729;
    std::uint32_t furtherSize;        // 730
    std::uint8_t furtherMask;         // 734
    std::uint8_t pad735[25];
    std::uint8_t storage;             // 760
    std::uint8_t pad761;
};
static_assert(sizeof(_VELK_FIELD_SIZES) == 762);
static_assert(offsetof(_VELK_FIELD_SIZES, numberChars) == 8);
static_assert(offsetof(_VELK_FIELD_SIZES, nameSize) == 40);
static_assert(offsetof(_VELK_FIELD_SIZES, emailSize) == 44);
static_assert(offsetof(_VELK_FIELD_SIZES, text2Mask) == 52);
static_assert(offsetof(_VELK_FIELD_SIZES, text3Size) == 58);
static_assert(offsetof(_VELK_FIELD_SIZES, noteMask) == 60);
static_assert(offsetof(_VELK_FIELD_SIZES, urlSize) == 62);
static_assert(offsetof(_VELK_FIELD_SIZES, noteSize) == 66);
static_assert(offsetof(_VELK_FIELD_SIZES, passThrough) == 70);
static_assert(offsetof(_VELK_FIELD_SIZES, contactCapacity) == 74);
static_assert(offsetof(_VELK_FIELD_SIZES, numberSlots) == 78);
static_assert(offsetof(_VELK_FIELD_SIZES, messageCapacity) == 720);
static_assert(offsetof(_VELK_FIELD_SIZES, smsSize) == 724);
static_assert(offsetof(_VELK_FIELD_SIZES, smsMask) == 728);
static_assert(offsetof(_VELK_FIELD_SIZES, furtherSize) == 730);
static_assert(offsetof(_VELK_FIELD_SIZES, furtherMask) == 734);
static_assert(offsetof(_VELK_FIELD_SIZES, storage) == 760);

// SMS configuration handed to the card, passed by value.
struct _VELK_SMS_CONFIG {
    char centre[34];                  // 0  SMS centre, NUL-terminated
    char validity;                    // 34 first character of the validity choice
    std::uint8_t statusReport;        // 35 1: ask for status reports
    char store;                       // 36 SMS store character "1" or "2"
};
static_assert(sizeof(_VELK_SMS_CONFIG) == 37);
#pragma pack(pop)

// Callbacks.
using VelkMeStateChanged = void (*)(std::uint8_t event);          // 1 card ready, 2 card gone
using VelkZdonNotify = void (*)(const void* operatorRecord212);
using VelkSmsArriveNew = void (*)(std::uint8_t storage, std::uint32_t index);
using VelkSmsSendReport = void (*)(std::uint8_t status, const char* text1, const char* text2);
using VelkSmsArriveClass0 = void (*)(const char* sender, const char* message);
using VelkCallComing = void (*)(const char* caller);
using VelkZpasNotify = void (*)(const char* networkType);
using VelkCsqNotify = void (*)(std::uint32_t signal);

// Life cycle. Velk_Startup chooses the backend (LINKORA_DEVICE, else the first
// line of "device.conf" in the program folder, else "sim"; an unknown one gives
// 7315), opens the computer store "db.dat" (7313 for a file that is not a
// Linkora database, which is left untouched) and powers the card up; its
// arguments are accepted as the program passes them and not interpreted.
// A second Velk_Startup while running changes nothing and returns 0.
// Callbacks and the window may be registered before or after Velk_Startup;
// Velk_Shutdown forgets them. Velk_Shutdown from a callback returns 7314.
VELK_API VELK_RESULT Velk_Startup(std::uint8_t mode, std::uint16_t second, std::uint16_t third);
VELK_API VELK_RESULT Velk_Shutdown();
VELK_API VELK_RESULT Velk_RegisterAppHandle(HWND window, std::uint32_t clear);
VELK_API VELK_RESULT Velk_SetCallBackMeStateChanged(VelkMeStateChanged cb, std::uint32_t reserved);
VELK_API VELK_RESULT Velk_SetCallBackZdonNotify(VelkZdonNotify cb, std::uint32_t reserved);
VELK_API VELK_RESULT Velk_SetCallBackSmsArriveNew(VelkSmsArriveNew cb, std::uint32_t reserved);
VELK_API VELK_RESULT Velk_SetCallBackSmsSendReportArrive(VelkSmsSendReport cb, std::uint32_t reserved);
VELK_API VELK_RESULT Velk_SetCallBackSmsArriveClass0(VelkSmsArriveClass0 cb, std::uint32_t reserved);
VELK_API VELK_RESULT Velk_SetCallBackCallCallComing(VelkCallComing cb, std::uint32_t reserved);
VELK_API VELK_RESULT Velk_SetCallBackZpasNotify(VelkZpasNotify cb, std::uint32_t reserved);
VELK_API VELK_RESULT Velk_SetCallBackCSQNotify(VelkCsqNotify cb, std::uint32_t reserved);

// Capacities and SMS configuration.
VELK_API VELK_RESULT Velk_GetFieldSizes(_VELK_FIELD_SIZES* sizes);
VELK_API VELK_RESULT Velk_SetSmsConfig(_VELK_SMS_CONFIG config);

// The call families, one header each.
#include "velkdev/velkdev_device.h"    // card state, power, SIM, PIN, lock, signal, operator, versions, modem, AT port
#include "velkdev/velkdev_sms.h"       // messages
#include "velkdev/velkdev_pb.h"        // contacts and groups
#include "velkdev/velkdev_cr.h"        // call entries (call records and the connection log)
