#include "app/sound.h"

#include <QApplication>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

#include "platform/paths.h"

namespace sound {
namespace {

// QMediaPlayer opens asynchronously; a file that is not there or cannot be
// read is refused at once so the caller can fall back to the default sound.
class QtBackend : public Backend {
public:
    QtBackend() {
        player_.setAudioOutput(&output_);
        QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged, [this](QMediaPlayer::MediaStatus s) {
            if (s == QMediaPlayer::EndOfMedia) report(End::Completed);
            else if (s == QMediaPlayer::InvalidMedia) report(End::Failed);
        });
        QObject::connect(&player_, &QMediaPlayer::errorOccurred,
                         [this](QMediaPlayer::Error e, const QString&) {
                             if (e != QMediaPlayer::NoError) report(End::Failed);
                         });
    }
    bool Open(const QString& localPath) override {
        if (!CanOpen(localPath)) return false;
        active_ = false;
        player_.setSource(QUrl::fromLocalFile(QFileInfo(localPath).absoluteFilePath()));
        return player_.error() == QMediaPlayer::NoError;
    }
    bool Play() override {
        active_ = true;
        player_.play();
        return player_.error() == QMediaPlayer::NoError;
    }
    bool Rewind() override {
        player_.setPosition(0);
        return player_.error() == QMediaPlayer::NoError;
    }
    bool Stop() override {
        // A stop is not an end of playback: nothing is reported for it.
        active_ = false;
        player_.stop();
        player_.setSource(QUrl());
        return true;
    }
    void Beep() override { QApplication::beep(); }

private:
    void report(End how) {
        if (!active_) return;
        active_ = false;
        if (OnEnd) OnEnd(how);
    }
    QMediaPlayer player_;
    QAudioOutput output_;
    bool active_ = false;
};

std::function<std::unique_ptr<Backend>()>& factory() {
    static std::function<std::unique_ptr<Backend>()> f;
    return f;
}

}  // namespace

bool CanOpen(const QString& localPath) {
    const QFileInfo fi(localPath);
    return fi.isFile() && fi.isReadable() && fi.size() > 0;
}

std::unique_ptr<Backend> MakeQtBackend() {
    // Qt may pick the ffmpeg media backend; the program plays through GStreamer.
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
    return std::make_unique<QtBackend>();
}

void SetBackendFactory(std::function<std::unique_ptr<Backend>()> f) { factory() = std::move(f); }

std::unique_ptr<Backend> MakeBackend() {
    if (factory()) return factory()();
    return MakeQtBackend();
}

bool RecordingBackend::Open(const QString& localPath) {
    calls << QStringLiteral("open ") + localPath;
    for (const QString& bad : failOpen)
        if (localPath.endsWith(bad)) return false;
    openFile = localPath;
    return true;
}

bool RecordingBackend::Play() {
    calls << QStringLiteral("play");
    if (failPlay) return false;
    playing = true;
    return true;
}

bool RecordingBackend::Rewind() {
    calls << QStringLiteral("rewind");
    return true;
}

bool RecordingBackend::Stop() {
    calls << QStringLiteral("stop");
    playing = false;
    openFile.clear();
    return !failStop;
}

void RecordingBackend::Beep() {
    calls << QStringLiteral("beep");
    ++beeps;
}

void RecordingBackend::Finish(End how) {
    if (!playing) return;
    playing = false;
    if (OnEnd) OnEnd(how);
}

}  // namespace sound

TMediaPlayer::TMediaPlayer(QObject* parent, std::unique_ptr<sound::Backend> backend)
    : QObject(parent), backend_(std::move(backend)) {
    setObjectName(QStringLiteral("MediaPlayer_Main"));
    backend_->OnEnd = [this](sound::End how) { ended(how); };
}

TMediaPlayer::~TMediaPlayer() {
    backend_->OnEnd = nullptr;
}

int TMediaPlayer::stop() {
    FileName.clear();
    Tag = 0;
    return backend_->Stop() ? 0 : 1;
}

int TMediaPlayer::PlaySound(const QString& path, int priority) {
    if (priority == 0) {
        if (Tag == 0) return 100;
        return stop();
    }
    if (priority < 0 || priority > 3) return 100;
    if (Tag > priority) return 100;
    if (Tag != 0) stop();

    QString file = path;
    if (file.startsWith(QLatin1Char('.')))
        file = paths::ProgramFolder() + QLatin1Char('/') + file.mid(2);
    FileName = path;
    Tag = priority;
    if (!backend_->Open(paths::NativePath(file)) || !backend_->Play()) {
        // Nothing plays: forget the file so the next sound is not refused
        // for a priority that no longer sounds.
        backend_->Stop();
        FileName.clear();
        Tag = 0;
        backend_->Beep();
        return 2;
    }
    return 100;
}

void TMediaPlayer::ended(sound::End how) {
    if (how == sound::End::Completed) {
        if (Tag == 3) {
            // The ring repeats until it is stopped.
            if (!backend_->Rewind() || !backend_->Play()) {
                FileName.clear();
                Tag = 0;
            }
            return;
        }
        Tag = 0;
    } else if (how == sound::End::Failed) {
        // The device gave up while playing: nothing sounds any more, so no
        // priority may be held that would refuse the next sound.
        FileName.clear();
        Tag = 0;
        backend_->Beep();
    }
}
