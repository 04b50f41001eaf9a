// The all-settings record: a 4056-byte block kept in memory for the whole run
// and mirrored, byte for byte, in "allconfig.ran" in the program folder.
#pragma once

#include <QByteArray>
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct EventSound {
    std::uint8_t muted;       // non-zero: no sound
    char file[1000];          // sound file, NUL-terminated (stored path, "\" separators)
};
static_assert(sizeof(EventSound) == 1001);

struct AllSettings {
    std::uint8_t netSelectWay;        // 0    0 automatic, 1 manual
    std::uint8_t autoNetMode;         // 1    automatic network mode index 0..2
    std::uint8_t denyStandby;         // 2    non-zero: refuse the system's suspend query
    char smsCentre[34];               // 3    SMS centre number, NUL-terminated
    char smsValidity[2];              // 37   validity list index as decimal text
    char smsReport[2];                // 39   status-report choice "0" or "1"
    EventSound connected;             // 41
    EventSound disconnected;          // 1042
    EventSound newSms;                // 2043
    EventSound incomingCall;          // 3044
    std::uint8_t pinProtection;       // 4045 PIN protection on, last read from the card
    char smsStore;                    // 4046 "1" or "2"
    std::uint8_t unused4047;
    std::uint32_t smsReference;       // 4048 SMS concatenation reference counter
    std::uint8_t callerIdentity;      // 4052 caller-identity choice
    std::uint8_t unused4053[3];
};
#pragma pack(pop)
static_assert(sizeof(AllSettings) == 4056);
static_assert(offsetof(AllSettings, smsCentre) == 3);
static_assert(offsetof(AllSettings, smsValidity) == 37);
static_assert(offsetof(AllSettings, smsReport) == 39);
static_assert(offsetof(AllSettings, connected) == 41);
static_assert(offsetof(AllSettings, disconnected) == 1042);
static_assert(offsetof(AllSettings, newSms) == 2043);
static_assert(offsetof(AllSettings, incomingCall) == 3044);
static_assert(offsetof(AllSettings, pinProtection) == 4045);
static_assert(offsetof(AllSettings, smsStore) == 4046);
static_assert(offsetof(AllSettings, smsReference) == 4048);
static_assert(offsetof(AllSettings, callerIdentity) == 4052);

// Event numbers of the sound operations.
enum : int { SOUND_NEW_SMS = 1, SOUND_INCOMING_CALL = 2, SOUND_CONNECTED = 3, SOUND_DISCONNECTED = 4 };

// The in-memory record (all zeros until loaded).
AllSettings& AllSettingsRecord();

// 0 read, 1 the file cannot be opened. Passes the SMS configuration to the
// card when the file was read.
int LoadAllSettings();
// 0 written, 1 not. Replaces the file atomically.
int SaveAllSettings();
// Applies the reset values and writes the file. false written, true not.
bool ResetAllSettings();
// Reads the file and gives the sound of an event (empty when muted or for
// other event numbers). 1 read, 0 the file cannot be opened.
int GetEventSound(int event, QByteArray* name);
// Restores an event's default sound name in the file, keeping its mute.
// 1 written, 0 not.
int ResetEventSound(int event);
// Hands the SMS configuration of the in-memory record to the card.
void PassSmsConfigToCard();

// The default sound file of an event (".\resource\sound\wav\bird.wav" ...).
const char* DefaultEventSound(int event);
// The record's file, "<program folder>/allconfig.ran".
QString AllSettingsFile();
