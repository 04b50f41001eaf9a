// The system's power events, delivered to a window as the power-broadcast
// message (536) with the event code as first parameter, the way the main
// window's message map expects them.
//
// On Linux the events come from logind over the system bus: PrepareForSleep
// (true) becomes "suspend", PrepareForSleep(false) "resume automatic". A
// "delay" sleep inhibitor is held so the suspend handling runs before the
// system sleeps. logind never asks whether suspend is allowed, so the watcher
// asks the window itself ("query suspend") every second and holds a "block"
// inhibitor while the window would refuse.
#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

#include "platform/winmsg.h"

namespace platform {

enum PowerEvent : unsigned {
    PBT_APMQUERYSUSPEND = 0,
    PBT_APMQUERYSUSPENDFAILED = 2,
    PBT_APMSUSPEND = 4,
    PBT_APMRESUMECRITICAL = 6,
    PBT_APMRESUMESUSPEND = 7,
    PBT_APMRESUMEAUTOMATIC = 18,
};
// The answer that refuses a suspend query; 1 grants it.
inline constexpr LRESULT BROADCAST_QUERY_DENY = 0x424D5144;
inline constexpr UINT kPowerBroadcastMessage = 536;

class PowerWatcher : public QObject {
    Q_OBJECT
public:
    // Watches logind for target (a MessageTarget's handle). Without a system
    // bus or logind the watcher only serves Inject.
    explicit PowerWatcher(HWND target, QObject* parent = nullptr);
    ~PowerWatcher() override;

    // True when logind answered.
    bool Connected() const { return connected_; }
    // Sends event to the target now and returns its answer.
    LRESULT Inject(unsigned event);
    // Asks the target the suspend query and takes or drops the blocking
    // inhibitor to match; returns true when suspend is being refused.
    bool Reevaluate();
    bool Blocking() const;

private Q_SLOTS:
    void onPrepareForSleep(bool start);

private:
    struct Locks;
    bool takeLock(const char* mode, bool blockLock);
    HWND target_;
    bool connected_ = false;
    std::unique_ptr<Locks> locks_;
    QTimer poll_;
};

}  // namespace platform
