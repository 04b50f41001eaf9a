#include "connect/domain/driverkeys.h"

#include "platform/registry.h"

namespace driverkeys {
namespace {
const QString kRoot = QStringLiteral("HKEY_LOCAL_MACHINE\\");
const QString kServiceEnum = QStringLiteral("SYSTEM\\CurrentControlSet\\Services\\QELusbmdm6k\\Enum");
const QString kEnum = QStringLiteral("SYSTEM\\CurrentControlSet\\Enum\\");

// The instance path of the last enumerated device.
std::optional<QString> instance() {
    const auto count = registry::GetDword(kRoot + kServiceEnum, QStringLiteral("Count"));
    if (!count || *count == 0) return std::nullopt;
    return registry::GetString(kRoot + kServiceEnum, QString::number(*count - 1));
}
}  // namespace

std::optional<std::string> FriendlyName() {
    const auto inst = instance();
    if (!inst) return std::nullopt;
    const auto name = registry::GetString(kRoot + kEnum + *inst, QStringLiteral("FriendlyName"));
    if (!name) return std::nullopt;
    return name->toStdString();
}

std::optional<QString> DriverClassKey() {
    const auto inst = instance();
    if (!inst) return std::nullopt;
    const auto driver = registry::GetString(kRoot + kEnum + *inst, QStringLiteral("Driver"));
    if (!driver) return std::nullopt;
    return QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Class\\") + *driver;
}

bool WriteRingDetect(const QString& classKey) {
    const QString key = kRoot + classKey;
    if (!registry::KeyExists(key)) return false;   // open without creating
    return registry::SetDword(key, QStringLiteral("QELDriverRingDetect"), 3);
}
}  // namespace driverkeys
