#include "connect/workers.h"

#include <thread>

#include "core/messages.h"

namespace {
std::atomic<int> g_live{0};

// The connection has gone when the service no longer knows its handle, or
// knows it only as a failed or ended dial.
bool gone(dialup::HCONN h) {
    dialup::ConnStatus st;
    const std::uint32_t r = dialup::Current().GetConnectStatus(h, &st);
    return r == dialup::ERR_INVALID_HANDLE || (r == 0 && st.state == dialup::CS_Disconnected);
}
}  // namespace

int LiveConnectWorkers() { return g_live; }

void THangup::Start(dialup::HCONN connection, HWND window) {
    ++g_live;
    std::thread([connection, window] {
        const std::uint32_t result = dialup::Current().HangUp(connection);
        SendMessage(window, UM_HANGUP_DONE, 0, static_cast<LPARAM>(result));
        --g_live;
    }).detach();
}

TGetDisconnetcNotify::TGetDisconnetcNotify(dialup::HCONN connection, HWND window)
    : connection_(connection), window_(window), event_(std::make_shared<dialup::Event>()) {}

std::shared_ptr<TGetDisconnetcNotify> TGetDisconnetcNotify::Start(dialup::HCONN connection, HWND window) {
    auto w = std::make_shared<TGetDisconnetcNotify>(connection, window);
    ++g_live;
    std::thread([w] {
        w->Run();
        --g_live;
    }).detach();
    return w;
}

void TGetDisconnetcNotify::Terminate() {
    terminated_ = true;
    event_->Set();
}

void TGetDisconnetcNotify::Run() {
    while (!terminated_) {
        if (dialup::Current().ConnectionNotification(connection_, event_) != 0) {
            // A connection that is already gone cannot be watched: report it.
            if (gone(connection_)) break;
            event_->Wait(kRetryMs);
            continue;
        }
        event_->Wait();
        if (terminated_) break;
        if (gone(connection_)) break;
        // Signalled although the connection still runs: watch again.
    }
    if (!terminated_) SendMessage(window_, UM_LINK_DROPPED, 0, 0);
    finished_ = true;
}
