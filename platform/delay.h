// Waits inside logic: process pending messages, then wait. Tests replace the
// wait with a recorder so that nothing sleeps.
#pragma once

#include <functional>

namespace platform {
void Delay(int ms);
// Replaces Delay for the whole process; an empty function restores the real one.
void SetDelayHook(std::function<void(int)> hook);
}  // namespace platform
