// The card model's own files: its memory sections and the driver's registry keys.
#include <QDir>
#include <QJsonObject>
#include <QString>
#include <algorithm>

#include "platform/paths.h"
#include "platform/registry.h"
#include "velkdev/sim/card_model.h"
#include "velkdev/sim/control.h"
#include "velkdev/sim/memory.h"

namespace sim {

// --- Persistence -------------------------------------------------------------

void saveSim() {
    const Live& l = live();
    QJsonObject o;
    o.insert(QStringLiteral("pin"), QString::fromStdString(l.pin));
    o.insert(QStringLiteral("puk"), QString::fromStdString(l.puk));
    o.insert(QStringLiteral("pinEnabled"), l.pinEnabled);
    o.insert(QStringLiteral("pinLeft"), l.pinLeft);
    o.insert(QStringLiteral("pukLeft"), l.pukLeft);
    o.insert(QStringLiteral("blocked"), l.blockedForGood);
    memory().setSection(QStringLiteral("sim"), o);
}

void saveCard() {
    const Live& l = live();
    QJsonObject o;
    o.insert(QStringLiteral("lockStatus"), l.lockStatus);
    o.insert(QStringLiteral("unlockCode"), QString::fromStdString(l.unlockCode));
    o.insert(QStringLiteral("unlockLeft"), l.unlockLeft);
    memory().setSection(QStringLiteral("card"), o);
}

namespace {
bool digits(const QString& s, int min, int max) {
    if (s.size() < min || s.size() > max) return false;
    for (QChar c : s)
        if (!c.isDigit()) return false;
    return true;
}
}  // namespace

void loadMemory() {
    Live& l = live();
    memory().load(QDir(paths::ProgramFolder()).filePath(QStringLiteral("simcard.dat")));
    // Each value is taken only when it makes sense; a bad one keeps its default.
    const QJsonObject s = memory().section(QStringLiteral("sim")).toObject();
    const QString pin = s.value(QStringLiteral("pin")).toString();
    const QString puk = s.value(QStringLiteral("puk")).toString();
    if (digits(pin, 4, 8)) l.pin = pin.toStdString();
    if (digits(puk, 8, 8)) l.puk = puk.toStdString();
    l.pinEnabled = s.value(QStringLiteral("pinEnabled")).toBool(false);
    l.pinLeft = std::clamp(s.value(QStringLiteral("pinLeft")).toInt(3), 0, 3);
    l.pukLeft = std::clamp(s.value(QStringLiteral("pukLeft")).toInt(10), 0, 10);
    l.blockedForGood = s.value(QStringLiteral("blocked")).toBool(false) || l.pukLeft == 0;
    const QJsonObject c = memory().section(QStringLiteral("card")).toObject();
    const int status = c.value(QStringLiteral("lockStatus")).toInt(VELK_LOCK_NONE);
    l.lockStatus = status >= VELK_LOCK_NONE && status <= VELK_LOCK_FOR_GOOD ? static_cast<std::uint8_t>(status)
                                                                            : VELK_LOCK_NONE;
    const QString code = c.value(QStringLiteral("unlockCode")).toString();
    if (digits(code, 16, 16)) l.unlockCode = code.toStdString();
    l.unlockLeft = std::clamp(c.value(QStringLiteral("unlockLeft")).toInt(5), 0, 5);
    if (memory().section(QStringLiteral("sim")).isUndefined()) saveSim();
    if (memory().section(QStringLiteral("card")).isUndefined()) saveCard();
}

// --- Driver keys ---------------------------------------------------------------

void writeDriverKeys() {
    using velk_sim::kDeviceInstance;
    using velk_sim::kDriverValue;
    using velk_sim::kModemFriendlyName;
    using velk_sim::kServiceEnumKey;
    const QString root = QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\");
    const QString service = QString::fromLatin1(kServiceEnumKey);
    const QString enumKey = root + QStringLiteral("Enum\\") + QString::fromLatin1(kDeviceInstance);
    const QString classKey = root + QStringLiteral("Control\\Class\\") + QString::fromLatin1(kDriverValue);
    // Each write rewrites the store's file: skip what an earlier start left in place.
    if (registry::GetDword(service, QStringLiteral("Count")) == 1u &&
        registry::GetString(enumKey, QStringLiteral("Driver")) == QString::fromLatin1(kDriverValue) &&
        registry::GetDword(classKey, QStringLiteral("QELDriverRingDetect")))
        return;
    registry::SetDword(service, QStringLiteral("Count"), 1);
    registry::SetString(service, QStringLiteral("0"), QString::fromLatin1(kDeviceInstance));
    registry::SetString(enumKey, QStringLiteral("Driver"), QString::fromLatin1(kDriverValue));
    registry::SetString(enumKey, QStringLiteral("FriendlyName"), QString::fromLatin1(kModemFriendlyName));
    registry::SetString(classKey, QStringLiteral("DriverDesc"), QString::fromLatin1(kModemFriendlyName));
    // The values the program writes are the driver's own: set once, then left alone.
    for (const QString& name : {QStringLiteral("QELDriverNetState"), QStringLiteral("QELDriverRingDetect")})
        if (!registry::GetDword(classKey, name)) registry::SetDword(classKey, name, 0);
}

void writeDeviceGone() {
    // The service lists only the devices that are attached.
    registry::SetDword(QString::fromLatin1(velk_sim::kServiceEnumKey), QStringLiteral("Count"), 0);
}

}  // namespace sim
