// The library's front: start and stop, registration, and the device calls
// handed to the backend chosen at start.
#include "velkdev/front.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <mutex>

#include "platform/files.h"
#include "platform/paths.h"
#include "velkdev/pcdb.h"
#include "velkdev/sim/events.h"
#include "velkdev/velkdev.h"

namespace velk {
namespace {

std::mutex g_life;                     // Velk_Startup / Velk_Shutdown
std::atomic<Backend*> g_backend{nullptr};

QString dbPath() { return QDir(paths::ProgramFolder()).filePath(QStringLiteral("db.dat")); }

}  // namespace

QString ChosenBackendName() {
    const QByteArray env = qgetenv("LINKORA_DEVICE").trimmed();
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    const auto conf = files::ReadAll(QDir(paths::ProgramFolder()).filePath(QStringLiteral("device.conf")));
    if (conf) {
        for (const QByteArray& raw : conf->split('\n')) {
            const QByteArray line = raw.trimmed();
            if (line.isEmpty() || line.startsWith('#')) continue;
            return QString::fromLocal8Bit(line);
        }
    }
    return QStringLiteral("sim");
}

Backend* BackendNamed(const QString& name) {
    if (name == QLatin1String("sim")) return &SimBackend();
    // "at:/dev/ttyUSBn" (real cards over a serial port) is not built yet.
    return nullptr;
}

}  // namespace velk

using velk::Backend;
using velk::g_backend;

VELK_API VELK_RESULT Velk_Startup(std::uint8_t, std::uint16_t, std::uint16_t) {
    std::lock_guard<std::mutex> g(velk::g_life);
    if (g_backend.load()) return VELK_OK;  // already running: nothing changes
    Backend* backend = velk::BackendNamed(velk::ChosenBackendName());
    if (!backend) return VELK_E_UNSUPPORTED;
    if (VELK_RESULT r = pcdb::open(velk::dbPath())) return r;
    sim::events().start();
    if (VELK_RESULT r = backend->Start()) {
        sim::events().stop();
        backend->FinishStop();
        pcdb::close();
        return r;
    }
    g_backend.store(backend);
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_Shutdown() {
    // From a callback the library thread would have to wait for itself.
    if (sim::events().onLibraryThread()) return VELK_E_BUSY;
    std::lock_guard<std::mutex> g(velk::g_life);
    Backend* backend = g_backend.exchange(nullptr);
    if (!backend) return VELK_OK;
    backend->BeginStop();
    sim::events().stop();
    backend->FinishStop();
    pcdb::close();
    sim::callbacks().clear();
    sim::setAppWindow(nullptr);
    return VELK_OK;
}

VELK_API VELK_RESULT Velk_RegisterAppHandle(HWND window, std::uint32_t clear) {
    sim::setAppWindow(clear ? nullptr : window);
    return VELK_OK;
}

#define VELK_REGISTER(fn, type, member)                          \
    VELK_API VELK_RESULT fn(type cb, std::uint32_t) {            \
        sim::callbacks().member.store(cb);                        \
        return VELK_OK;                                           \
    }
VELK_REGISTER(Velk_SetCallBackMeStateChanged, VelkMeStateChanged, meStateChanged)
VELK_REGISTER(Velk_SetCallBackZdonNotify, VelkZdonNotify, zdonNotify)
VELK_REGISTER(Velk_SetCallBackSmsArriveNew, VelkSmsArriveNew, smsArriveNew)
VELK_REGISTER(Velk_SetCallBackSmsSendReportArrive, VelkSmsSendReport, smsSendReport)
VELK_REGISTER(Velk_SetCallBackSmsArriveClass0, VelkSmsArriveClass0, smsArriveClass0)
VELK_REGISTER(Velk_SetCallBackCallCallComing, VelkCallComing, callComing)
VELK_REGISTER(Velk_SetCallBackZpasNotify, VelkZpasNotify, zpasNotify)
VELK_REGISTER(Velk_SetCallBackCSQNotify, VelkCsqNotify, csqNotify)
#undef VELK_REGISTER

// Device calls: straight to the running backend.
#define VELK_FORWARD(fn, method, params, args)                  \
    VELK_API VELK_RESULT fn params {                            \
        Backend* b = g_backend.load();                           \
        return b ? b->method args : VELK_E_NOT_STARTED;          \
    }
VELK_FORWARD(Velk_Echo, Echo, (), ())
VELK_FORWARD(Velk_ClearEcho, ClearEcho, (), ())
VELK_FORWARD(Velk_Poweroff, Poweroff, (std::uint8_t until), (until))
VELK_FORWARD(Velk_enableCheckCard, EnableCheckCard, (), (true))
VELK_FORWARD(Velk_disableCheckCard, EnableCheckCard, (), (false))
VELK_FORWARD(Velk_GetOperationMode, GetOperationMode, (std::uint8_t * mode), (mode))
VELK_FORWARD(Velk_SetOperationMode, SetOperationMode, (std::uint8_t mode), (mode))
VELK_FORWARD(Velk_NetcardStart, NetcardStart, (), ())
VELK_FORWARD(Velk_NetcardStop, NetcardStop, (), ())
VELK_FORWARD(Velk_TestSimState, TestSimState, (), ())
VELK_FORWARD(Velk_GetPinState, GetPinState, (std::uint8_t * state), (state))
VELK_FORWARD(Velk_QueryPINLeftTimes, QueryPINLeftTimes, (std::uint8_t * pin, std::uint8_t* puk), (pin, puk))
VELK_FORWARD(Velk_SetPin, SetPin, (const char* code, const char* newPin), (code, newPin))
VELK_FORWARD(Velk_IfPinEnable, IfPinEnable, (std::uint8_t * enabled), (enabled))
VELK_FORWARD(Velk_SetPinEnable, SetPinEnable, (std::uint8_t enable, const char* pin), (enable, pin))
VELK_FORWARD(Velk_ChangePinPasswd, ChangePinPasswd, (const char* oldPin, const char* newPin), (oldPin, newPin))
VELK_FORWARD(Velk_IsNetSupportLock, IsNetSupportLock, (std::uint8_t * supported), (supported))
VELK_FORWARD(Velk_GetNetLockStatus, GetNetLockStatus, (std::uint8_t * status), (status))
VELK_FORWARD(Velk_UnlockNet, UnlockNet, (const char* code, std::uint8_t* outcome), (code, outcome))
VELK_FORWARD(Velk_QueryImei, QueryImei, (char* imei), (imei))
VELK_FORWARD(Velk_GetSoftwareVersion, GetSoftwareVersion, (char* version, char* inner), (version, inner))
VELK_FORWARD(Velk_GetBoardVersion, GetBoardVersion, (char* version), (version))
VELK_FORWARD(Velk_GetCsq, GetCsq, (std::uint32_t * signal), (signal))
VELK_FORWARD(Velk_GetNetworkPara, GetNetworkPara, (_VELK_NETWORK_PARA * para), (para))
VELK_FORWARD(Velk_GetZdonPara, GetZdonPara, (_VELK_ZDON_PARA * para), (para))
VELK_FORWARD(Velk_GetEmergencyCall, GetEmergencyCall, (_VELK_EMERGENCY_LIST * list), (list))
VELK_FORWARD(Velk_GetFieldSizes, GetFieldSizes, (_VELK_FIELD_SIZES * sizes), (sizes))
VELK_FORWARD(Velk_SetSmsConfig, SetSmsConfig, (_VELK_SMS_CONFIG config), (config))
VELK_FORWARD(Velk_SetModemPara, SetModemPara, (const char* type, const char* apn, const char* address),
             (type, apn, address))
VELK_FORWARD(Velk_OpenAT, OpenAT, (), ())
VELK_FORWARD(Velk_CloseAT, CloseAT, (std::uint8_t forConnection), (forConnection))
VELK_FORWARD(Velk_setIsDialing, SetIsDialing, (std::uint8_t dialing), (dialing))
VELK_FORWARD(Velk_ATDAbort, ATDAbort, (), ())
#undef VELK_FORWARD

// Backup and restore of the computer store.
VELK_API VELK_RESULT Velk_BackUpDBToFile(const char* path) {
    if (!g_backend.load()) return VELK_E_NOT_STARTED;
    if (!path || !*path) return VELK_E_BAD_ARGUMENT;
    const QString target = paths::NativePath(QString::fromLocal8Bit(path));
    // Copying the store over itself would destroy it.
    if (QFileInfo(target).absoluteFilePath() == QFileInfo(velk::dbPath()).absoluteFilePath()) return VELK_OK;
    return pcdb::backupTo(target);
}

VELK_API VELK_RESULT Velk_LoadDBFromFile(const char* path) {
    if (!g_backend.load()) return VELK_E_NOT_STARTED;
    if (!path || !*path) return VELK_E_BAD_ARGUMENT;
    const QString source = paths::NativePath(QString::fromLocal8Bit(path));
    if (QFileInfo(source).absoluteFilePath() == QFileInfo(velk::dbPath()).absoluteFilePath()) return VELK_OK;
    return pcdb::restoreFrom(source);
}
