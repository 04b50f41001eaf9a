#include "platform/endsession.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {
namespace {
int g_pipe[2] = {-1, -1};
std::function<void()>* g_handler = nullptr;
bool g_ran = false;

// Only async-signal-safe work here: one byte into the pipe.
void onSignal(int) {
    const char b = 1;
    [[maybe_unused]] auto n = ::write(g_pipe[1], &b, 1);
}

void runOnce() {
    if (g_ran || !g_handler) return;
    g_ran = true;
    (*g_handler)();
}
}  // namespace

void OnEndSession(std::function<void()> handler) {
    delete g_handler;
    g_handler = new std::function<void()>(std::move(handler));
    if (g_pipe[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) return;
        ::fcntl(g_pipe[1], F_SETFL, O_NONBLOCK);
        auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
            char b[16];
            [[maybe_unused]] auto n = ::read(g_pipe[0], b, sizeof b);
            runOnce();
        });
        struct sigaction sa {};
        sa.sa_handler = onSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &sa, nullptr);
        ::sigaction(SIGHUP, &sa, nullptr);
        if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QObject::connect(gui, &QGuiApplication::commitDataRequest, gui, [](QSessionManager&) { runOnce(); });
    }
}

}  // namespace platform
