// The business core: the one object through which windows reach the domain
// objects. It owns them, registers the library's callbacks and turns each
// device event into a window message posted to the registered window.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/winmsg.h"

class TBLSet;
class TBL_sms;
class TBL_pb;
class TBL_Cr;
class TBL_Stk;
class TBL_Ussd;

// Result codes of the core.
enum : std::uint16_t {
    BL_OK = 0,
    BL_ERR_CREATE = 4001,   // creation failed, or there is no core
    BL_ERR_EXISTS = 4002,   // the core already exists
};

class TBL_base : public MessageTarget {
public:
    // Creates the domain objects in their order: settings store, SMS,
    // phonebook, SIM toolkit, call records, USSD.
    TBL_base();
    // Destroys them in their order: SMS, phonebook, call records, settings
    // store, SIM toolkit, USSD; then clears the window handle.
    ~TBL_base() override;

    HWND window = nullptr;      // the registered window (main)
    TBLSet* set = nullptr;
    TBL_sms* sms = nullptr;
    TBL_pb* pb = nullptr;
    TBL_Cr* cr = nullptr;
    TBL_Stk* stk = nullptr;
    TBL_Ussd* ussd = nullptr;

    // Posts to the registered window; a payload posted while no window is
    // registered is handed back (false) so the caller frees it.
    bool Post(UINT msg, WPARAM wParam, LPARAM lParam);

    // The core's own messages: the new-SMS arrival handed over from the
    // library thread.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// The core, null before BL_Startup and after a successful BL_Shutdown.
TBL_base* BL_base();

std::uint16_t BL_Startup(std::uint8_t mode, std::uint16_t second, std::uint16_t third);
std::uint16_t BL_Shutdown();
std::uint16_t BL_RegisterWindow(HWND window, std::uint32_t clear);

// Test seam: makes the next creation of the core fail (4001).
void BL_FailNextCreate();
