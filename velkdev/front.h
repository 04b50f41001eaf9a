// The front of the library: life cycle, callback registration and the
// backend chosen at Velk_Startup ("sim" the simulated card; real cards later).
// The device calls of velkdev_device.h go through the chosen backend.
#pragma once

#include <QString>

#include "velkdev/velkdev.h"

namespace velk {

class Backend {
public:
    virtual ~Backend() = default;
    // Powers the card side up (the computer store is already open).
    virtual VELK_RESULT Start() = 0;
    // Marks the backend stopped: calls made from now on fail.
    virtual void BeginStop() = 0;
    // After the library thread has stopped: power down and release.
    virtual void FinishStop() = 0;

    virtual VELK_RESULT Echo() = 0;
    virtual VELK_RESULT ClearEcho() = 0;
    virtual VELK_RESULT Poweroff(std::uint8_t untilReinserted) = 0;
    virtual VELK_RESULT EnableCheckCard(bool enable) = 0;
    virtual VELK_RESULT GetOperationMode(std::uint8_t* mode) = 0;
    virtual VELK_RESULT SetOperationMode(std::uint8_t mode) = 0;
    virtual VELK_RESULT NetcardStart() = 0;
    virtual VELK_RESULT NetcardStop() = 0;
    virtual VELK_RESULT TestSimState() = 0;
    virtual VELK_RESULT GetPinState(std::uint8_t* state) = 0;
    virtual VELK_RESULT QueryPINLeftTimes(std::uint8_t* pinLeft, std::uint8_t* pukLeft) = 0;
    virtual VELK_RESULT SetPin(const char* code, const char* newPin) = 0;
    virtual VELK_RESULT IfPinEnable(std::uint8_t* enabled) = 0;
    virtual VELK_RESULT SetPinEnable(std::uint8_t enable, const char* pin) = 0;
    virtual VELK_RESULT ChangePinPasswd(const char* oldPin, const char* newPin) = 0;
    virtual VELK_RESULT IsNetSupportLock(std::uint8_t* supported) = 0;
    virtual VELK_RESULT GetNetLockStatus(std::uint8_t* status) = 0;
    virtual VELK_RESULT UnlockNet(const char* code, std::uint8_t* outcome) = 0;
    virtual VELK_RESULT QueryImei(char* imei36) = 0;
    virtual VELK_RESULT GetSoftwareVersion(char* version100, char* inner100) = 0;
    virtual VELK_RESULT GetBoardVersion(char* version100) = 0;
    virtual VELK_RESULT GetCsq(std::uint32_t* signal) = 0;
    virtual VELK_RESULT GetNetworkPara(_VELK_NETWORK_PARA* para) = 0;
    virtual VELK_RESULT GetZdonPara(_VELK_ZDON_PARA* para) = 0;
    virtual VELK_RESULT GetEmergencyCall(_VELK_EMERGENCY_LIST* list) = 0;
    virtual VELK_RESULT GetFieldSizes(_VELK_FIELD_SIZES* sizes) = 0;
    virtual VELK_RESULT SetSmsConfig(const _VELK_SMS_CONFIG& config) = 0;
    virtual VELK_RESULT SetModemPara(const char* pdpType, const char* apn, const char* pdpAddress) = 0;
    virtual VELK_RESULT OpenAT() = 0;
    virtual VELK_RESULT CloseAT(std::uint8_t forConnection) = 0;
    virtual VELK_RESULT SetIsDialing(std::uint8_t dialing) = 0;
    virtual VELK_RESULT ATDAbort() = 0;
};

// The backend named by LINKORA_DEVICE, else by the first line of
// "device.conf" in the program folder, else "sim". Null for a name no
// backend answers to.
QString ChosenBackendName();
Backend* BackendNamed(const QString& name);
// The simulated card's backend.
Backend& SimBackend();

}  // namespace velk
