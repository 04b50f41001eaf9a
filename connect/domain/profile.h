// Connection profiles: the 457-byte record, the scrambling of its credentials
// and the profile store on "config.ran" (all profiles, records 0 to 2 built in,
// record 0 the factory profile), "defaultcfg.ran" (the default profile, kept
// in memory as the current profile) and "tempconfig.ran" (while deleting).
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#pragma pack(push, 1)
struct ProfileRecord {
    char name[20];           // 0    the key; editor limit 18
    char userName[104];      // 20   scrambled; empty unless saveFlag is "1"
    char password[104];      // 124  scrambled; empty unless saveFlag is "1"
    char number[20];         // 228  number to dial
    char apnMode[4];         // 248  "1" automatic, "0" manual
    char apn[104];           // 252  empty when automatic
    char dnsMode[4];         // 356  "1" automatic, "0" manual
    char dns1[25];           // 360  dotted decimal; empty when automatic
    char dns2[25];           // 385
    char pdpMode[4];         // 410  "1" automatic, "0" manual
    char pdpAddress[25];     // 414
    char pdpType[5];         // 439  "IP" or "PPP"
    char auth[5];            // 444  "PAP" or "CHAP"
    char askFlag[4];         // 449  "1": ask for the credentials before each dial
    char saveFlag[4];        // 453  "1": credentials are stored
};
#pragma pack(pop)
static_assert(sizeof(ProfileRecord) == 457);
static_assert(offsetof(ProfileRecord, userName) == 20);
static_assert(offsetof(ProfileRecord, password) == 124);
static_assert(offsetof(ProfileRecord, number) == 228);
static_assert(offsetof(ProfileRecord, apnMode) == 248);
static_assert(offsetof(ProfileRecord, apn) == 252);
static_assert(offsetof(ProfileRecord, dnsMode) == 356);
static_assert(offsetof(ProfileRecord, dns1) == 360);
static_assert(offsetof(ProfileRecord, dns2) == 385);
static_assert(offsetof(ProfileRecord, pdpMode) == 410);
static_assert(offsetof(ProfileRecord, pdpAddress) == 414);
static_assert(offsetof(ProfileRecord, pdpType) == 439);
static_assert(offsetof(ProfileRecord, auth) == 444);
static_assert(offsetof(ProfileRecord, askFlag) == 449);
static_assert(offsetof(ProfileRecord, saveFlag) == 453);

namespace profiles {

inline constexpr std::size_t kRecordSize = sizeof(ProfileRecord);
inline constexpr int kBuiltInCount = 3;
inline constexpr const char* kConfigFile = "config.ran";
inline constexpr const char* kDefaultFile = "defaultcfg.ran";
inline constexpr const char* kTempFile = "tempconfig.ran";

// A text field read within its width (a field without its NUL stops at the width).
std::string Field(const char* field, std::size_t width);
template <std::size_t N>
std::string Field(const char (&field)[N]) { return Field(field, N); }
// Copies text into a field, cut to leave room for the NUL; the rest zeroed.
void SetField(char* field, std::size_t width, const std::string& text);
template <std::size_t N>
void SetField(char (&field)[N], const std::string& text) { SetField(field, N, text); }

// Scrambling of the stored credentials: every byte complemented, then a NUL.
// A text that would not fit a 104-byte field with its NUL (over 103 bytes)
// is refused: false and the field stays empty.
bool Scramble(const std::string& plain, char (&out)[104]);
// The plain text, read up to the first NUL within the field (so a byte 0xFF
// in the original cuts the text there).
std::string Unscramble(const char (&field)[104]);

// The in-memory profiles, read at start-up.
ProfileRecord& CurrentProfile();
ProfileRecord& FactoryProfile();

// The files, in the program folder.
QString ConfigPath();
QString DefaultPath();
QString TempPath();

// Reading the whole profile list.
enum class ListResult { Ok, CannotOpen, Damaged };
// Every record of config.ran; a file whose size is not a multiple of 457 is
// damaged: the whole records before the damage are still given.
ListResult ReadAll(std::vector<ProfileRecord>* records);

bool LoadDefault();                   // defaultcfg.ran -> current; missing: current all zero
// The record of defaultcfg.ran without touching the current profile.
bool ReadDefaultFile(ProfileRecord* record);
bool LoadFactory();                   // record 0 of config.ran -> factory
bool Append(const ProfileRecord& record);
// The first record named `name` (exact, within the field width); false when
// none matches or the file cannot be read.
bool Find(const std::string& name, ProfileRecord* result);
// Every record named like oldRecord becomes newRecord; when oldRecord names
// the current profile, newRecord is also written as the default.
bool Replace(const ProfileRecord& oldRecord, const ProfileRecord& newRecord);
bool WriteDefault(const ProfileRecord& record);
// Makes the record named `name` the default; also true when none matches.
bool SetDefault(const std::string& name);
// Deletes the last record named `name` (never the current profile); the new
// file is built as tempconfig.ran and renamed over config.ran.
bool Delete(const std::string& name);
// The current profile over defaultcfg.ran (which must exist), then over the
// first record of config.ran with its name, or appended.
bool StoreCurrent();

struct ModemParameters {
    std::string pdpType, apn, pdpAddress;
};
// The default profile's device parameters, read from defaultcfg.ran: the APN
// is empty when automatic, the PDP address when automatic.
bool DefaultModemParameters(ModemParameters* out);
// The same from a record in memory.
ModemParameters ModemParametersOf(const ProfileRecord& record);

}  // namespace profiles
