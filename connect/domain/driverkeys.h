// The card driver's registry keys: the modem's friendly name (the dial-up
// device to use), the driver's class key and the ring-detect value written
// there when a data connection ends.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace driverkeys {
// The friendly name of the last enumerated device; nothing when a key or
// value is missing.
std::optional<std::string> FriendlyName();
// "SYSTEM\CurrentControlSet\Control\Class\" + the device's driver value.
std::optional<QString> DriverClassKey();
// Writes "QELDriverRingDetect" = 3 into an existing class key.
bool WriteRingDetect(const QString& classKey);
}  // namespace driverkeys
