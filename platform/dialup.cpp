#include "platform/dialup.h"

#include <atomic>
#include <chrono>

#include "platform/dialup_sim.h"

namespace dialup {

void Event::Set() {
    {
        std::lock_guard g(m_);
        signalled_ = true;
    }
    cv_.notify_one();
}

bool Event::Wait(int timeoutMs) {
    std::unique_lock g(m_);
    if (timeoutMs < 0) {
        cv_.wait(g, [this] { return signalled_; });
    } else if (!cv_.wait_for(g, std::chrono::milliseconds(timeoutMs), [this] { return signalled_; })) {
        return false;
    }
    signalled_ = false;
    return true;
}

namespace {
std::atomic<Service*> g_service{nullptr};
}

Service& Current() {
    Service* s = g_service.load();
    return s ? *s : dialup_sim::Service();
}

void SetService(Service* service) { g_service.store(service); }

}  // namespace dialup
