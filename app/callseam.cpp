#include "app/callseam.h"

#include <cstring>

#include "velkdev/velkdev.h"

namespace callseam {
namespace {
CallSeam* installed = nullptr;
}  // namespace

bool CardEmergencySeam::IsEmergencyNumber(const QString& number) {
    const QString wanted = number.trimmed();
    if (wanted.isEmpty()) return false;
    _VELK_EMERGENCY_LIST list{};
    if (Velk_GetEmergencyCall(&list) != 0) return false;
    for (const auto& entry : list.number) {
        // Entries are NUL-terminated within their 36 bytes; a full entry
        // without a terminator is read only up to its end.
        const QString n = QString::fromLatin1(entry, static_cast<qsizetype>(strnlen(entry, sizeof entry)));
        if (!n.isEmpty() && n == wanted) return true;
    }
    return false;
}

// Without a call window there is nothing to dial with.
void CardEmergencySeam::Dial(const QString&) {}

CallSeam& Current() {
    static CardEmergencySeam fallback;
    return installed ? *installed : fallback;
}

void Install(CallSeam* seam) { installed = seam; }

}  // namespace callseam
