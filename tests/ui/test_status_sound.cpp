// The sound player: priorities, stopping, the repeating ring, failures, and
// the program-folder paths of stored sound names.
#include <QDir>
#include <QFile>

#include "app/sound.h"
#include "platform/paths.h"
#include "tests/fixture/ui_fixture.h"

namespace {

class SoundTest : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        auto backend = std::make_unique<sound::RecordingBackend>();
        rec_ = backend.get();
        player_ = std::make_unique<TMediaPlayer>(nullptr, std::move(backend));
    }
    QString inFolder(const char* rel) const { return QDir(paths::ProgramFolder()).filePath(QString::fromLatin1(rel)); }

    sound::RecordingBackend* rec_ = nullptr;
    std::unique_ptr<TMediaPlayer> player_;
};

TEST_F(SoundTest, StopReportsWhetherSomethingWasPlaying) {
    EXPECT_EQ(player_->PlaySound(QString(), 0), 100);
    EXPECT_TRUE(rec_->calls.isEmpty());
    ASSERT_EQ(player_->PlaySound(QStringLiteral("/tmp/a.wav"), 1), 100);
    EXPECT_EQ(player_->PlaySound(QString(), 0), 0);
    EXPECT_EQ(player_->Tag, 0);
    EXPECT_TRUE(player_->FileName.isEmpty());
    EXPECT_EQ(rec_->calls.last(), QStringLiteral("stop"));
    // A device that fails to stop: result 1, and nothing counts as playing.
    player_->PlaySound(QStringLiteral("/tmp/a.wav"), 2);
    rec_->failStop = true;
    EXPECT_EQ(player_->PlaySound(QString(), 0), 1);
    EXPECT_EQ(player_->Tag, 0);
}

TEST_F(SoundTest, PriorityRules) {
    const struct {
        int playing, next, result, tagAfter;
        bool stopped;
    } cases[] = {
        {3, 2, 100, 3, false},  // the SMS sound does not cut the ring
        {3, 1, 100, 3, false},
        {2, 1, 100, 2, false},
        {2, 3, 100, 3, true},   // the ring takes over from the SMS sound
        {1, 2, 100, 2, true},
        {2, 2, 100, 2, true},   // the same priority replaces
        {0, 1, 100, 1, false},
        {2, 4, 100, 2, false},  // priorities outside 0..3 do nothing
        {2, -1, 100, 2, false},
    };
    for (const auto& c : cases) {
        player_->PlaySound(QString(), 0);
        if (c.playing) ASSERT_EQ(player_->PlaySound(QStringLiteral("/tmp/first.wav"), c.playing), 100);
        rec_->calls.clear();
        EXPECT_EQ(player_->PlaySound(QStringLiteral("/tmp/next.wav"), c.next), c.result)
            << c.playing << " then " << c.next;
        EXPECT_EQ(player_->Tag, c.tagAfter) << c.playing << " then " << c.next;
        EXPECT_EQ(rec_->calls.contains(QStringLiteral("stop")), c.stopped) << c.playing << " then " << c.next;
        const bool opened = rec_->calls.contains(QStringLiteral("open /tmp/next.wav"));
        EXPECT_EQ(opened, c.tagAfter == c.next && c.next >= 1) << c.playing << " then " << c.next;
    }
}

TEST_F(SoundTest, RingRepeatsOtherSoundsPlayOnce) {
    player_->PlaySound(QStringLiteral("/tmp/ring.wav"), 3);
    for (int i = 0; i < 4; ++i) rec_->Finish(sound::End::Completed);
    EXPECT_EQ(rec_->calls.count(QStringLiteral("rewind")), 4);
    EXPECT_TRUE(rec_->playing);
    EXPECT_EQ(player_->Tag, 3);
    player_->PlaySound(QString(), 0);
    EXPECT_FALSE(rec_->playing);

    player_->PlaySound(QStringLiteral("/tmp/sms.wav"), 2);
    rec_->Finish(sound::End::Completed);
    EXPECT_EQ(player_->Tag, 0);
    EXPECT_FALSE(rec_->playing);
    // Once it ended, a lower priority plays again and a stop has nothing to stop.
    EXPECT_EQ(player_->PlaySound(QString(), 0), 100);
    EXPECT_EQ(player_->PlaySound(QStringLiteral("/tmp/up.wav"), 1), 100);
    EXPECT_EQ(player_->Tag, 1);
}

TEST_F(SoundTest, OtherNotificationsChangeNothingAndFailuresFreeThePlayer) {
    player_->PlaySound(QStringLiteral("/tmp/sms.wav"), 2);
    rec_->OnEnd(sound::End::Other);
    EXPECT_EQ(player_->Tag, 2);
    // The device failing in mid-play must not hold priority 2 for ever.
    rec_->Finish(sound::End::Failed);
    EXPECT_EQ(player_->Tag, 0);
    EXPECT_EQ(rec_->beeps, 1);
    EXPECT_EQ(player_->PlaySound(QStringLiteral("/tmp/up.wav"), 1), 100);
    EXPECT_EQ(player_->Tag, 1);
}

TEST_F(SoundTest, FileThatWillNotPlayBeepsAndHoldsNoPriority) {
    rec_->failOpen << QStringLiteral("missing.wav");
    EXPECT_EQ(player_->PlaySound(QStringLiteral("/tmp/missing.wav"), 3), 2);
    EXPECT_EQ(rec_->beeps, 1);
    EXPECT_EQ(player_->Tag, 0);
    EXPECT_EQ(player_->PlaySound(QStringLiteral("/tmp/ok.wav"), 1), 100);
    rec_->failPlay = true;
    EXPECT_EQ(player_->PlaySound(QStringLiteral("/tmp/ok.wav"), 2), 2);
    EXPECT_EQ(rec_->beeps, 2);
    EXPECT_EQ(player_->Tag, 0);
}

TEST_F(SoundTest, StoredNamesAreTakenFromTheProgramFolder) {
    player_->PlaySound(QStringLiteral(".\\resource\\sound\\wav\\bird.wav"), 2);
    EXPECT_EQ(rec_->openFile, inFolder("resource/sound/wav/bird.wav"));
    EXPECT_EQ(player_->FileName, QStringLiteral(".\\resource\\sound\\wav\\bird.wav"));
    player_->PlaySound(QStringLiteral("/usr/share/sounds/x.wav"), 2);
    EXPECT_EQ(rec_->openFile, QStringLiteral("/usr/share/sounds/x.wav"));
}

TEST_F(SoundTest, DefaultSoundsAreShippedAndMissingFilesAreRefused) {
    for (const char* name : {"bird", "stelephone", "chimes", "tada"}) {
        QFile f(inFolder("resource/sound/wav/") + QString::fromLatin1(name) + QStringLiteral(".wav"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << name;
        const QByteArray head = f.read(12);
        EXPECT_TRUE(head.startsWith("RIFF") && head.endsWith("WAVE")) << name;
        EXPECT_GT(f.size(), 8000) << name;
    }
    // The Qt player is not made here: its audio layer leaks inside the system's
    // sound library. Its file check is the same function.
    EXPECT_TRUE(sound::CanOpen(inFolder("resource/sound/wav/bird.wav")));
    EXPECT_FALSE(sound::CanOpen(inFolder("resource/sound/wav/none.wav")));
    EXPECT_FALSE(sound::CanOpen(inFolder("resource/sound/wav")));  // a folder
    QFile empty(inFolder("empty.wav"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    EXPECT_FALSE(sound::CanOpen(inFolder("empty.wav")));
}

}  // namespace
