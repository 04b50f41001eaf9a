// The end of the process from outside: SIGTERM or SIGHUP (a log-out ends the
// session's processes so), and the desktop session's end. Each runs the
// handler once, on the interface thread.
#pragma once

#include <functional>

namespace platform {
// Installs the handler; call once, on the interface thread, after the
// application object exists.
void OnEndSession(std::function<void()> handler);
}  // namespace platform
