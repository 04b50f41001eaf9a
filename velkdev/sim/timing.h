// Process-wide timing switch of the simulated card (see control.h).
#pragma once

namespace sim::timing {
bool instant();
void setInstant(bool instant);
}  // namespace sim::timing
