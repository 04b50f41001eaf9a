#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "connect/domain/profile.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace profiles {
namespace {

ProfileRecord g_current{};
ProfileRecord g_factory{};

// The profile files hold credentials that are only scrambled.
constexpr bool kOwnerOnly = true;

bool sameName(const ProfileRecord& r, const std::string& name) { return Field(r.name) == name; }

QByteArray bytesOf(const std::vector<ProfileRecord>& records) {
    return QByteArray(reinterpret_cast<const char*>(records.data()),
                      static_cast<qsizetype>(records.size() * kRecordSize));
}

bool writeConfig(const std::vector<ProfileRecord>& records) {
    return files::WriteAtomic(ConfigPath(), bytesOf(records), kOwnerOnly);
}

bool writeDefaultFile(const ProfileRecord& r) {
    return files::WriteAtomic(DefaultPath(), &r, kRecordSize, kOwnerOnly);
}

// A whole, undamaged config.ran, or false.
bool readIntact(std::vector<ProfileRecord>* records) { return ReadAll(records) == ListResult::Ok; }

}  // namespace

std::string Field(const char* field, std::size_t width) {
    std::size_t n = 0;
    while (n < width && field[n]) ++n;
    return std::string(field, n);
}

void SetField(char* field, std::size_t width, const std::string& text) {
    std::memset(field, 0, width);
    if (width == 0) return;
    std::memcpy(field, text.data(), std::min(text.size(), width - 1));
}

bool Scramble(const std::string& plain, char (&out)[104]) {
    std::memset(out, 0, sizeof out);
    if (plain.size() > sizeof out - 1) return false;
    for (std::size_t i = 0; i < plain.size(); ++i) out[i] = static_cast<char>(~static_cast<unsigned char>(plain[i]));
    return true;
}

std::string Unscramble(const char (&field)[104]) {
    std::string plain;
    for (std::size_t i = 0; i < sizeof field && field[i]; ++i)
        plain.push_back(static_cast<char>(~static_cast<unsigned char>(field[i])));
    return plain;
}

ProfileRecord& CurrentProfile() { return g_current; }
ProfileRecord& FactoryProfile() { return g_factory; }

QString ConfigPath() { return paths::InFolder(QString::fromLatin1(kConfigFile)); }
QString DefaultPath() { return paths::InFolder(QString::fromLatin1(kDefaultFile)); }
QString TempPath() { return paths::InFolder(QString::fromLatin1(kTempFile)); }

ListResult ReadAll(std::vector<ProfileRecord>* records) {
    records->clear();
    const auto data = files::ReadAll(ConfigPath());
    if (!data) return ListResult::CannotOpen;
    const std::size_t whole = static_cast<std::size_t>(data->size()) / kRecordSize;
    records->resize(whole);
    if (whole) std::memcpy(records->data(), data->constData(), whole * kRecordSize);
    return static_cast<std::size_t>(data->size()) % kRecordSize ? ListResult::Damaged : ListResult::Ok;
}

bool LoadDefault() {
    g_current = ProfileRecord{};
    return ReadDefaultFile(&g_current);
}

bool ReadDefaultFile(ProfileRecord* record) {
    const auto data = files::ReadAll(DefaultPath());
    if (!data || static_cast<std::size_t>(data->size()) < kRecordSize) return false;
    std::memcpy(record, data->constData(), kRecordSize);
    return true;
}

bool LoadFactory() {
    std::vector<ProfileRecord> records;
    ReadAll(&records);
    if (records.empty()) return false;
    g_factory = records.front();
    return true;
}

bool Append(const ProfileRecord& record) {
    std::vector<ProfileRecord> records;
    const ListResult r = ReadAll(&records);
    // A missing file is created; a damaged one is left for the user to see.
    if (r == ListResult::Damaged) return false;
    if (r == ListResult::CannotOpen && QFile::exists(ConfigPath())) return false;
    records.push_back(record);
    return writeConfig(records);
}

bool Find(const std::string& name, ProfileRecord* result) {
    std::vector<ProfileRecord> records;
    ReadAll(&records);
    for (const auto& r : records) {
        if (sameName(r, name)) {
            *result = r;
            return true;
        }
    }
    return false;
}

bool Replace(const ProfileRecord& oldRecord, const ProfileRecord& newRecord) {
    std::vector<ProfileRecord> records;
    if (!readIntact(&records)) return false;
    const std::string oldName = Field(oldRecord.name);
    for (auto& r : records)
        if (sameName(r, oldName)) r = newRecord;
    if (!writeConfig(records)) return false;
    if (oldName == Field(g_current.name)) return WriteDefault(newRecord);
    return true;
}

bool WriteDefault(const ProfileRecord& record) {
    if (!writeDefaultFile(record)) return false;
    g_current = record;
    return true;
}

bool SetDefault(const std::string& name) {
    std::vector<ProfileRecord> records;
    if (!readIntact(&records)) return false;
    for (const auto& r : records)
        if (sameName(r, name)) return WriteDefault(r);
    return true;
}

bool Delete(const std::string& name) {
    if (name == Field(g_current.name)) return false;
    std::vector<ProfileRecord> records;
    if (!readIntact(&records)) return false;
    int found = -1;
    for (std::size_t i = 0; i < records.size(); ++i)
        if (sameName(records[i], name)) found = static_cast<int>(i);
    if (found < 0) return false;
    records.erase(records.begin() + found);
    // Built completely beside config.ran, then renamed over it: an interrupted
    // delete leaves either the old file or the new one, never a short one.
    const QByteArray temp = QFile::encodeName(TempPath());
    bool ok = files::WriteAtomic(TempPath(), bytesOf(records), kOwnerOnly);
    if (ok) ok = std::rename(temp.constData(), QFile::encodeName(ConfigPath()).constData()) == 0;
    QFile::remove(TempPath());
    return ok;
}

bool StoreCurrent() {
    if (!QFile::exists(DefaultPath())) return false;
    std::vector<ProfileRecord> records;
    if (!readIntact(&records)) return false;
    if (!writeDefaultFile(g_current)) return false;
    const std::string name = Field(g_current.name);
    bool replaced = false;
    for (auto& r : records) {
        if (sameName(r, name)) {
            r = g_current;
            replaced = true;
            break;
        }
    }
    if (!replaced) records.push_back(g_current);
    return writeConfig(records);
}

ModemParameters ModemParametersOf(const ProfileRecord& r) {
    ModemParameters m;
    m.pdpType = Field(r.pdpType);
    if (Field(r.apnMode) != "1") m.apn = Field(r.apn);
    if (Field(r.pdpMode) != "1") m.pdpAddress = Field(r.pdpAddress);
    return m;
}

bool DefaultModemParameters(ModemParameters* out) {
    ProfileRecord r;
    if (!ReadDefaultFile(&r)) return false;
    *out = ModemParametersOf(r);
    return true;
}

}  // namespace profiles
