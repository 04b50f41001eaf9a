#include "core/allsettings.h"

#include <QFile>
#include <cstring>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "velkdev/velkdev.h"

namespace {
AllSettings g_settings{};

EventSound* soundOf(AllSettings& s, int event) {
    switch (event) {
    case SOUND_NEW_SMS: return &s.newSms;
    case SOUND_INCOMING_CALL: return &s.incomingCall;
    case SOUND_CONNECTED: return &s.connected;
    case SOUND_DISCONNECTED: return &s.disconnected;
    default: return nullptr;
    }
}

// Reads the file into rec. A file of another size is read as far as it goes
// (at most 4056 bytes); the rest of rec keeps its bytes. Returns false when
// the file cannot be opened.
bool readFile(AllSettings& rec) {
    QFile f(AllSettingsFile());
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray data = f.read(sizeof rec);
    std::memcpy(&rec, data.constData(), static_cast<std::size_t>(data.size()));
    return true;
}

bool writeFile(const AllSettings& rec) { return files::WriteAtomic(AllSettingsFile(), &rec, sizeof rec); }

void setSoundName(EventSound& s, int event) {
    std::memset(s.file, 0, sizeof s.file);
    std::strncpy(s.file, DefaultEventSound(event), sizeof s.file - 1);
}
}  // namespace

AllSettings& AllSettingsRecord() { return g_settings; }

QString AllSettingsFile() { return paths::InFolder(QStringLiteral("\\allconfig.ran")); }

const char* DefaultEventSound(int event) {
    switch (event) {
    case SOUND_NEW_SMS: return ".\\resource\\sound\\wav\\bird.wav";
    case SOUND_INCOMING_CALL: return ".\\resource\\sound\\wav\\stelephone.wav";
    case SOUND_CONNECTED: return ".\\resource\\sound\\wav\\chimes.wav";
    case SOUND_DISCONNECTED: return ".\\resource\\sound\\wav\\tada.wav";
    default: return "";
    }
}

void PassSmsConfigToCard() {
    _VELK_SMS_CONFIG c{};
    // At most 33 characters and a NUL, whatever the 34-byte field holds.
    codepage::CopyText(c.centre, sizeof c.centre, g_settings.smsCentre, sizeof g_settings.smsCentre);
    c.validity = g_settings.smsValidity[0];
    const QByteArray report(g_settings.smsReport, static_cast<qsizetype>(codepage::FieldLength(g_settings.smsReport, 2)));
    bool ok = false;
    const int value = report.toInt(&ok);
    c.statusReport = (ok && value == 0) ? 1 : 0;
    c.store = g_settings.smsStore;
    Velk_SetSmsConfig(c);  // the card's answer is not examined
}

int LoadAllSettings() {
    if (!readFile(g_settings)) return 1;
    PassSmsConfigToCard();
    return 0;
}

int SaveAllSettings() { return writeFile(g_settings) ? 0 : 1; }

bool ResetAllSettings() {
    const bool existed = QFile::exists(AllSettingsFile());
    AllSettings& s = g_settings;
    s.netSelectWay = 0;
    s.denyStandby = 1;
    std::memcpy(s.smsValidity, "3", 2);
    std::memcpy(s.smsReport, "1", 2);
    for (int e = SOUND_NEW_SMS; e <= SOUND_DISCONNECTED; ++e) {
        EventSound* snd = soundOf(s, e);
        snd->muted = 0;
        setSoundName(*snd, e);
    }
    if (!existed) s.pinProtection = 0;
    return !writeFile(s);
}

int GetEventSound(int event, QByteArray* name) {
    if (name) name->clear();
    AllSettings file{};
    if (!readFile(file)) return 0;
    const EventSound* s = soundOf(file, event);
    if (s && !s->muted && name)
        *name = QByteArray(s->file, static_cast<qsizetype>(codepage::FieldLength(s->file, sizeof s->file - 1)));
    return 1;
}

int ResetEventSound(int event) {
    AllSettings file{};
    if (!soundOf(file, event)) return 0;
    if (!readFile(file)) return 0;
    setSoundName(*soundOf(file, event), event);
    return writeFile(file) ? 1 : 0;
}
