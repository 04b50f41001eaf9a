// Windows that follow the card's state implement this: after each device
// state change the main window passes the new code (1 to 22) to every
// existing listener in a fixed order. State 12 is "ready": card-dependent
// controls are enabled only then.
#pragma once

#include <cstdint>

class DeviceStateListener {
public:
    virtual ~DeviceStateListener() = default;
    virtual void DeviceStateChanged(std::uint8_t state) = 0;
};

// The windows told of every state change, in the order they are told, by the
// class name they register under (windows::Register).
inline constexpr const char* kDeviceStateListeners[] = {
    "TSetMenuForm",      // settings menu
    "TSet_securityform", // security settings
    "TSet_msgform",      // SMS settings
    "TSet_netform",      // network settings
    "TFrmSmsMain",       // SMS main
    "TFrmContacts",      // phonebook
    "TCall_managerform", // call manager
    "TData_connectform", // data connection
    "TSatMenuDisplayForm", // SIM toolkit menu
    "TSet_SS",           // supplementary services
    "Tussdfrm",          // USSD
};
