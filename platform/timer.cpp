#include "platform/timer.h"

TTimer::TTimer(QObject* parent, const char* name, int interval, bool enabled, std::function<void()> onTimer)
    : QObject(parent), interval_(interval), enabled_(enabled), onTimer_(std::move(onTimer)) {
    setObjectName(QString::fromLatin1(name));
    connect(&timer_, &QTimer::timeout, this, [this] { Fire(); });
    apply();
}

void TTimer::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    apply();
}

void TTimer::SetInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    apply();
}

void TTimer::Fire() {
    if (onTimer_) onTimer_();
}

void TTimer::apply() {
    // An interval of 0 never fires, as with the component this models.
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}
