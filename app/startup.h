// Start-up helpers shared by the program and the start-up benchmark.
#pragma once

#include <QString>
#include <vector>

class QWidget;
class TMainform;

namespace startup {

// The single-instance mutex's name.
inline constexpr const char* kMutexName = "QELR725N1,0x12,0xab,0x4f,0x06,0xab,0x1e,0x2c,0x8d,0x9b,0x1d,0x66";
// The text of the box a second start shows (two trailing spaces).
inline constexpr const char* kAlreadyOpen = "Linkora is already open  ";
inline constexpr const char* kTitle = "Linkora";

// Creates the long-lived windows in their order, each hidden, beginning with
// the main window (whose creation step starts the library). Returns them in
// creation order; the main window is first.
std::vector<QWidget*> CreateWindows();
// Frees the windows made by CreateWindows, the main window last (its
// destruction step stops the library).
void DestroyWindows(std::vector<QWidget*>& windows);

}  // namespace startup
