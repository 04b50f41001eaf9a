#include "velkdev/sim/events.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>

#include "velkdev/sim/timing.h"

namespace sim {
namespace {

using Clock = std::chrono::steady_clock;

struct Task {
    bool background;
    std::function<void()> fn;
};

struct Queue {
    std::mutex m;
    std::condition_variable cv;
    // Ordered by due time, then by the order of scheduling.
    std::map<std::tuple<Clock::time_point, std::uint64_t>, Task> tasks;
    std::uint64_t seq = 0;
    std::size_t foregroundQueued = 0;
    bool foregroundRunning = false;
    bool running = false;
    bool held = false;
    std::thread thread;
    std::thread::id threadId;
    // A program that ends without Velk_Shutdown must not die on a running thread.
    ~Queue() {
        {
            std::lock_guard<std::mutex> g(m);
            running = false;
            cv.notify_all();
        }
        if (thread.joinable()) thread.join();
    }
};

Queue& queue() {
    static Queue q;
    return q;
}

void loop() {
    Queue& q = queue();
    std::unique_lock<std::mutex> l(q.m);
    while (q.running) {
        if (q.tasks.empty() || q.held) {
            q.cv.wait(l);
            continue;
        }
        auto first = q.tasks.begin();
        const Clock::time_point due = std::get<0>(first->first);
        if (due > Clock::now()) {
            q.cv.wait_until(l, due);
            continue;
        }
        Task task = std::move(first->second);
        q.tasks.erase(first);
        if (!task.background) {
            --q.foregroundQueued;
            q.foregroundRunning = true;
        }
        l.unlock();
        try {
            task.fn();
        } catch (...) {
            // A failing task must not take the library thread down with it.
        }
        l.lock();
        q.foregroundRunning = false;
        q.cv.notify_all();
    }
}

bool schedule(int delayMs, std::function<void()> fn, bool background) {
    Queue& q = queue();
    if (background && timing::instant()) return false;
    const int delay = events().effectiveDelay(delayMs);
    std::lock_guard<std::mutex> g(q.m);
    if (!q.running) return false;
    const auto due = Clock::now() + std::chrono::milliseconds(delay);
    q.tasks.emplace(std::make_tuple(due, q.seq++), Task{background, std::move(fn)});
    if (!background) ++q.foregroundQueued;
    q.cv.notify_all();
    return true;
}

std::atomic<HWND> g_window{nullptr};

}  // namespace

bool Events::post(int delayMs, std::function<void()> task) { return schedule(delayMs, std::move(task), false); }

bool Events::postBackground(int delayMs, std::function<void()> task) {
    return schedule(delayMs, std::move(task), true);
}

bool Events::postMessage(int delayMs, UINT msg, WPARAM wParam, LPARAM lParam) {
    return post(delayMs, [msg, wParam, lParam] {
        if (HWND w = appWindow()) PostMessage(w, msg, wParam, lParam);
    });
}

bool Events::onLibraryThread() const {
    Queue& q = queue();
    std::lock_guard<std::mutex> g(q.m);
    return q.running && std::this_thread::get_id() == q.threadId;
}

int Events::effectiveDelay(int delayMs) const { return timing::instant() || delayMs < 0 ? 0 : delayMs; }

void Events::start() {
    Queue& q = queue();
    std::lock_guard<std::mutex> g(q.m);
    if (q.running) return;
    q.running = true;
    q.tasks.clear();
    q.foregroundQueued = 0;
    q.thread = std::thread(loop);
    q.threadId = q.thread.get_id();
}

void Events::stop() {
    Queue& q = queue();
    std::thread t;
    {
        std::lock_guard<std::mutex> g(q.m);
        if (!q.running) return;
        q.running = false;
        t = std::move(q.thread);
        q.cv.notify_all();
    }
    if (t.joinable()) t.join();
    std::lock_guard<std::mutex> g(q.m);
    q.tasks.clear();
    q.foregroundQueued = 0;
    q.foregroundRunning = false;
    q.threadId = {};
    q.cv.notify_all();
}

void Events::flush() {
    Queue& q = queue();
    std::unique_lock<std::mutex> l(q.m);
    if (std::this_thread::get_id() == q.threadId) return;  // would wait for itself
    q.cv.wait(l, [&] { return !q.running || q.held || (q.foregroundQueued == 0 && !q.foregroundRunning); });
}

void Events::hold(bool held) {
    Queue& q = queue();
    std::lock_guard<std::mutex> g(q.m);
    q.held = held;
    q.cv.notify_all();
}

Events& events() {
    static Events e;
    return e;
}

void Callbacks::clear() {
    meStateChanged = nullptr;
    zdonNotify = nullptr;
    smsArriveNew = nullptr;
    smsSendReport = nullptr;
    smsArriveClass0 = nullptr;
    callComing = nullptr;
    zpasNotify = nullptr;
    csqNotify = nullptr;
}

Callbacks& callbacks() {
    static Callbacks c;
    return c;
}

HWND appWindow() { return g_window.load(); }
void setAppWindow(HWND window) { g_window.store(window); }

}  // namespace sim
