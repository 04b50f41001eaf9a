// Window handles and numbered messages between windows and threads.
//
// A window (or any long-lived receiver) derives from MessageTarget and gets a
// handle. PostMessage queues a message for the target's thread and is safe
// from any thread; SendMessage runs the handler at once when called on the
// target's thread and otherwise blocks until that thread has handled it.
// A handle whose target has been destroyed is refused, never dereferenced.
#pragma once

#include <cstdint>

using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
struct HWND__;
using HWND = HWND__*;

class QObject;
class MessageReceiver;

class MessageTarget {
public:
    MessageTarget();
    virtual ~MessageTarget();
    MessageTarget(const MessageTarget&) = delete;
    MessageTarget& operator=(const MessageTarget&) = delete;

    HWND Handle() const { return handle_; }

    // The message map. Unhandled messages go to DefWindowProc.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) { return 0; }

private:
    MessageReceiver* receiver_;
    HWND handle_;
};

bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// True while the handle names a live target.
bool IsWindow(HWND hwnd);
// A message number of its own for a name, the same for every caller in the
// process (used for the dial-up progress message).
UINT RegisterWindowMessage(const char* name);
