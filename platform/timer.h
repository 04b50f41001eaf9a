// A timer with the classic component semantics the windows rely on:
// enabling a running timer does not restart it, disabling a stopped one does
// nothing, and changing the interval of a running timer restarts it.
// Tag is a free counter the owner uses for animation frames.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

class TTimer : public QObject {
public:
    explicit TTimer(QObject* parent, const char* name, int interval, bool enabled,
                    std::function<void()> onTimer = {});

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    int Interval() const { return interval_; }
    void SetInterval(int ms);
    void SetOnTimer(std::function<void()> f) { onTimer_ = std::move(f); }

    // Runs the handler as a tick would (tests and callers that want a tick now).
    void Fire();

    int Tag = 0;

private:
    void apply();
    QTimer timer_;
    int interval_;
    bool enabled_;
    std::function<void()> onTimer_;
};
