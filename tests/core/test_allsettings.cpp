// The all-settings record and "allconfig.ran": load, save, reset, event sounds.
#include <QDir>
#include <QFile>
#include <cstring>

#include "core/allsettings.h"
#include "platform/files.h"
#include "tests/fixture/core_fixture.h"

class AllSettingsTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        QFile::remove(AllSettingsFile());  // start without the shipped file
        AllSettingsRecord() = AllSettings{};
    }
    QByteArray fileBytes() { return files::ReadAll(AllSettingsFile()).value_or(QByteArray()); }
    void writeFile(const QByteArray& b) { ASSERT_TRUE(files::WriteAtomic(AllSettingsFile(), b)); }
    static QByteArray recordBytes(const AllSettings& s) { return QByteArray(reinterpret_cast<const char*>(&s), sizeof s); }
};

TEST_F(AllSettingsTest, MissingFileLeavesZeroRecordAndSoundLookupFails) {
    EXPECT_EQ(LoadAllSettings(), 1);
    EXPECT_EQ(recordBytes(AllSettingsRecord()), QByteArray(4056, '\0'));
    QByteArray name("x");
    EXPECT_EQ(GetEventSound(SOUND_NEW_SMS, &name), 0);
    EXPECT_TRUE(name.isEmpty());
}

TEST_F(AllSettingsTest, SaveWritesTheExactRecordAndLoadReadsIt) {
    AllSettings& s = AllSettingsRecord();
    s.denyStandby = 1;
    std::strcpy(s.smsCentre, "+8613800100500");
    s.smsReference = 0x01020304;
    ASSERT_EQ(SaveAllSettings(), 0);
    const QByteArray bytes = fileBytes();
    ASSERT_EQ(bytes.size(), 4056);
    EXPECT_EQ(bytes.mid(4048, 4), QByteArray("\x04\x03\x02\x01", 4));
    AllSettingsRecord() = AllSettings{};
    ASSERT_EQ(LoadAllSettings(), 0);
    EXPECT_STREQ(AllSettingsRecord().smsCentre, "+8613800100500");
}

TEST_F(AllSettingsTest, FailingWriteKeepsThePreviousFileWhole) {
    AllSettingsRecord().autoNetMode = 2;
    ASSERT_EQ(SaveAllSettings(), 0);
    const QByteArray before = fileBytes();
    // The write goes through "<file>.tmp": a folder in its place makes it fail.
    ASSERT_TRUE(QDir().mkpath(AllSettingsFile() + QStringLiteral(".tmp")));
    AllSettingsRecord().autoNetMode = 1;
    EXPECT_EQ(SaveAllSettings(), 1);
    EXPECT_TRUE(ResetAllSettings()) << "true reports the reset was not written";
    EXPECT_EQ(ResetEventSound(SOUND_CONNECTED), 0);
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(AllSettingsTest, ResetAppliesDefaultsAndKeepsTheRest) {
    AllSettings& s = AllSettingsRecord();
    s.netSelectWay = 1;
    s.autoNetMode = 2;
    s.denyStandby = 0;
    std::strcpy(s.smsCentre, "+100");
    s.newSms.muted = 1;
    s.pinProtection = 1;
    s.smsReference = 99;
    s.callerIdentity = 2;
    ASSERT_EQ(SaveAllSettings(), 0);  // the file exists: PIN protection is kept

    EXPECT_FALSE(ResetAllSettings());
    const struct {
        int event;
        const EventSound* sound;
    } sounds[] = {{SOUND_NEW_SMS, &s.newSms},
                  {SOUND_INCOMING_CALL, &s.incomingCall},
                  {SOUND_CONNECTED, &s.connected},
                  {SOUND_DISCONNECTED, &s.disconnected}};
    for (const auto& e : sounds) {
        EXPECT_EQ(e.sound->muted, 0);
        EXPECT_STREQ(e.sound->file, DefaultEventSound(e.event));
    }
    EXPECT_EQ(s.netSelectWay, 0);
    EXPECT_EQ(s.denyStandby, 1);
    EXPECT_STREQ(s.smsValidity, "3");
    EXPECT_STREQ(s.smsReport, "1");
    EXPECT_EQ(s.autoNetMode, 2);
    EXPECT_STREQ(s.smsCentre, "+100");
    EXPECT_EQ(s.pinProtection, 1);
    EXPECT_EQ(s.smsReference, 99u);
    EXPECT_EQ(s.callerIdentity, 2);
    EXPECT_EQ(fileBytes(), recordBytes(s));
}

TEST_F(AllSettingsTest, ResetWithoutAFileClearsPinProtection) {
    AllSettingsRecord().pinProtection = 1;
    EXPECT_FALSE(ResetAllSettings());
    EXPECT_EQ(AllSettingsRecord().pinProtection, 0);
}

TEST_F(AllSettingsTest, EventSoundsComeFromTheFileAndHonourMute) {
    AllSettings& s = AllSettingsRecord();
    ASSERT_FALSE(ResetAllSettings());
    s.incomingCall.muted = 1;
    ASSERT_EQ(SaveAllSettings(), 0);
    s.newSms.file[0] = 0;  // memory differs from the file: the file is read

    QByteArray name;
    EXPECT_EQ(GetEventSound(SOUND_NEW_SMS, &name), 1);
    EXPECT_EQ(name, QByteArray(".\\resource\\sound\\wav\\bird.wav"));
    EXPECT_EQ(GetEventSound(SOUND_INCOMING_CALL, &name), 1);
    EXPECT_TRUE(name.isEmpty()) << "a muted event has no sound";
    EXPECT_EQ(GetEventSound(7, &name), 1);
    EXPECT_TRUE(name.isEmpty());
}

TEST_F(AllSettingsTest, ResetEventSoundRestoresTheNameButKeepsTheMute) {
    AllSettings f{};
    f.incomingCall.muted = 1;
    std::strcpy(f.incomingCall.file, "/home/me/ring-a-long-name.wav");
    writeFile(recordBytes(f));
    EXPECT_EQ(ResetEventSound(SOUND_INCOMING_CALL), 1);
    const QByteArray bytes = fileBytes();
    ASSERT_EQ(bytes.size(), 4056);
    AllSettings back;
    std::memcpy(&back, bytes.constData(), sizeof back);
    EXPECT_EQ(back.incomingCall.muted, 1);
    EXPECT_STREQ(back.incomingCall.file, ".\\resource\\sound\\wav\\stelephone.wav");
    // The whole old name is gone, not just overwritten at the front.
    EXPECT_EQ(QByteArray(back.incomingCall.file, 1000).count('\0'), 1000 - int(std::strlen(back.incomingCall.file)));
    for (int bad : {0, 5, -1}) EXPECT_EQ(ResetEventSound(bad), 0) << bad;
}

TEST_F(AllSettingsTest, FilesOfTheWrongSizeAreReadWithinBounds) {
    // A short file fills only what it has; the rest stays as it was (zeros at start).
    AllSettings f{};
    f.netSelectWay = 1;
    f.denyStandby = 1;
    writeFile(recordBytes(f).left(20));
    ASSERT_EQ(LoadAllSettings(), 0);
    EXPECT_EQ(AllSettingsRecord().denyStandby, 1);
    EXPECT_EQ(AllSettingsRecord().smsReference, 0u);
    QByteArray name("x");
    EXPECT_EQ(GetEventSound(SOUND_CONNECTED, &name), 1);
    EXPECT_TRUE(name.isEmpty());

    // A long file gives its first 4056 bytes only; an unterminated sound name
    // is read as at most 999 bytes.
    AllSettings g{};
    std::memset(g.connected.file, 'a', sizeof g.connected.file);
    writeFile(recordBytes(g) + QByteArray(500, '\x7f'));
    ASSERT_EQ(LoadAllSettings(), 0);
    EXPECT_EQ(AllSettingsRecord().unused4053[2], 0);
    EXPECT_EQ(GetEventSound(SOUND_CONNECTED, &name), 1);
    EXPECT_EQ(name, QByteArray(999, 'a'));
}
