// The main window's sound player `MediaPlayer_Main`: plays the event sounds
// with a priority, so a ring is never cut short by an SMS chime, and repeats
// the ring until it is stopped.
//
// Playback itself goes through a small backend interface: Qt Multimedia
// (QMediaPlayer + QAudioOutput on the GStreamer backend) in the program, a
// recording fake in the tests.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace sound {

// How a playback ended, as the backend reports it: played to its end, the
// device failed while playing, or any other notification (changes nothing).
enum class End { Completed, Failed, Other };

// One playback device: open a file, play it, stop and close it.
class Backend {
public:
    virtual ~Backend() = default;
    // Opens a local file for playback; false when it cannot be opened.
    virtual bool Open(const QString& localPath) = 0;
    // Starts playing from the current position; false on failure.
    virtual bool Play() = 0;
    // Back to the start of the open file; false on failure.
    virtual bool Rewind() = 0;
    // Stops and closes the device; false if that raised an error.
    virtual bool Stop() = 0;
    // The system beep that marks a sound that could not be played.
    virtual void Beep() = 0;
    // Set by the player: called once when a playback started by Play ends.
    std::function<void(End)> OnEnd;
};

// The Qt Multimedia backend. Forces the GStreamer media backend.
std::unique_ptr<Backend> MakeQtBackend();
// What the Qt backend checks before it opens a file: a readable, non-empty
// regular file (the player itself only reports trouble later).
bool CanOpen(const QString& localPath);

// Every TMediaPlayer made after this call takes its backend from f (tests
// install a fake here before the main window exists); an empty f restores
// the Qt backend.
void SetBackendFactory(std::function<std::unique_ptr<Backend>()> f);
std::unique_ptr<Backend> MakeBackend();

// A backend that plays nothing and records every call, for tests.
class RecordingBackend : public Backend {
public:
    bool Open(const QString& localPath) override;
    bool Play() override;
    bool Rewind() override;
    bool Stop() override;
    void Beep() override;

    // Ends the current playback as the device would.
    void Finish(End how = End::Completed);

    // Every call in order: "open <path>", "play", "rewind", "stop", "beep".
    QStringList calls;
    QString openFile;          // the file open now, empty when closed
    bool playing = false;
    int beeps = 0;
    // Paths (or path suffixes) whose Open fails; Play fails while failPlay is set.
    QStringList failOpen;
    bool failPlay = false;
    bool failStop = false;
};

}  // namespace sound

class TMediaPlayer : public QObject {
    Q_OBJECT
public:
    explicit TMediaPlayer(QObject* parent, std::unique_ptr<sound::Backend> backend = sound::MakeBackend());
    ~TMediaPlayer() override;

    // Plays the file at path with priority 1 to 3, or stops with priority 0.
    // Priorities: 1 data connected/disconnected, 2 new SMS, 3 incoming call
    // (repeats until stopped). A path beginning with "." is taken relative
    // to the program folder (".\resource\sound\wav\bird.wav").
    // Returns 0 stopped, 1 stop raised an error, 2 could not play (beeped),
    // 100 otherwise (played, refused for a higher priority, or nothing to stop).
    int PlaySound(const QString& path, int priority);

    // The priority of the sound playing now, 0 when none.
    int Tag = 0;
    // The file playing now (as given), empty when none.
    QString FileName;

    sound::Backend& Backend() const { return *backend_; }

private:
    int stop();
    void ended(sound::End how);
    std::unique_ptr<sound::Backend> backend_;
};
