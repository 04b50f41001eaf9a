// The two short-lived workers of a data connection. Each works on the
// connection handle it was given (a copy, never the window's member), reports
// back with SendMessage and frees itself when it ends.
#pragma once

#include <atomic>
#include <memory>

#include "platform/dialup.h"
#include "platform/winmsg.h"

// Hangs the connection up once and sends UM_HANGUP_DONE (lParam the result).
class THangup {
public:
    static void Start(dialup::HCONN connection, HWND window);
};

// Waits until its own connection has gone, then sends UM_LINK_DROPPED. Each
// watcher has an event of its own, so a watcher of an earlier connection can
// never take the signal meant for the next one.
class TGetDisconnetcNotify {
public:
    static std::shared_ptr<TGetDisconnetcNotify> Start(dialup::HCONN connection, HWND window);
    // Ends the watcher without a report (the window is going away).
    void Terminate();
    bool Finished() const { return finished_; }
    dialup::HCONN Connection() const { return connection_; }

    // How long to wait before asking again when the service refuses the
    // notification request (never a busy wait).
    static constexpr int kRetryMs = 500;

    TGetDisconnetcNotify(dialup::HCONN connection, HWND window);

private:
    void Run();
    dialup::HCONN connection_;
    HWND window_;
    std::shared_ptr<dialup::Event> event_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
};

// Workers still running (tests wait for 0).
int LiveConnectWorkers();
