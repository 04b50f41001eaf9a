// The library thread: every callback and every message the library posts to
// the registered window is delivered from here, after a small delay, in the
// order it was scheduled (equal due times keep their order).
//
//   sim::events().post(400, [] { if (auto cb = sim::callbacks().smsArriveNew.load()) cb(0, 3); });
//   sim::events().postMessage(3000, UM_SIM_EVENT, 2, 0);
//
// Rules for tasks: take sim::card().lock() only to read or change state and
// release it before calling a callback (a callback may call back into the
// library, and the interface thread may be waiting on the card lock).
// Timing: with velk_sim::SetInstantTiming(true) every delay counts as 0, so
// tests never wait; velk_sim::Flush() returns once everything due is delivered.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/winmsg.h"
#include "velkdev/velkdev.h"

namespace sim {

class Events {
public:
    // Runs task on the library thread after delayMs (0 in instant timing).
    // Returns false (and drops the task) while the library is not running.
    bool post(int delayMs, std::function<void()> task);
    // A background task (the signal drift, polling): Flush does not wait for it,
    // and it is never scheduled in instant timing.
    bool postBackground(int delayMs, std::function<void()> task);
    // Posts msg to the registered window after delayMs; dropped when no window is registered.
    bool postMessage(int delayMs, UINT msg, WPARAM wParam, LPARAM lParam);
    // True on the library thread itself.
    bool onLibraryThread() const;
    // The delay a task would really get (0 in instant timing).
    int effectiveDelay(int delayMs) const;

    // Used by the front: start the thread, stop it (pending tasks are dropped),
    // and wait until no foreground task is queued or running.
    void start();
    void stop();
    void flush();
    // While held, nothing is delivered (flush returns at once); tests use it
    // to look at the card between a request and its events.
    void hold(bool held);
};
Events& events();

// The callbacks registered through Velk_SetCallBack...; null when none.
// Read them with load() at the moment of calling.
struct Callbacks {
    std::atomic<VelkMeStateChanged> meStateChanged{nullptr};
    std::atomic<VelkZdonNotify> zdonNotify{nullptr};
    std::atomic<VelkSmsArriveNew> smsArriveNew{nullptr};
    std::atomic<VelkSmsSendReport> smsSendReport{nullptr};
    std::atomic<VelkSmsArriveClass0> smsArriveClass0{nullptr};
    std::atomic<VelkCallComing> callComing{nullptr};
    std::atomic<VelkZpasNotify> zpasNotify{nullptr};
    std::atomic<VelkCsqNotify> csqNotify{nullptr};
    void clear();
};
Callbacks& callbacks();

// The window registered with Velk_RegisterAppHandle (null when none).
HWND appWindow();
void setAppWindow(HWND window);

}  // namespace sim
