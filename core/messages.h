// Window-message numbers exchanged between Linkora's windows, its workers
// and the device-control library. Payload ownership is noted per message:
// the receiver named frees the heap copy, exactly once.
#pragma once

#include "platform/winmsg.h"

enum : UINT {
    WM_POWERBROADCAST = 536,       // power event; main window
    WM_TRAY_NOTIFY = 1025,         // tray icon's own window: icon id, mouse event

    UM_DEVICE_STATE = 1125,        // wParam state 1..22; main window
    UM_CALL_STATE = 1126,          // wParam call state 0..16
    UM_DATA_STATE = 1127,          // wParam connection state 0..4
    UM_LIB_1128 = 1128,            // from the library; ignored
    UM_OPERATOR_SEARCH = 1129,     // wParam 0..3; manual network selection
    UM_PB_SMS_CLOSED = 1224,       // wParam 1; phonebook window
    UM_CR_SMS_CLOSED = 1324,       // wParam 1; call-records window
    UM_SMS_NEW = 1525,             // wParam SmsRecord* (heap); main keeps it
    UM_SMS_REPORT = 1526,          // wParam SmsReportRecord* (heap); main frees
    UM_CALL_INCOMING = 1527,       // lParam char* caller (heap, may be null); main frees
    UM_NET_TYPE = 1528,            // lParam char* network type (heap); main frees
    UM_OPERATOR_INFO = 1529,       // lParam 212-byte operator record (heap); main frees
    UM_SMS_COUNTS = 1530,          // no handler
    UM_SMS_CLASS0 = 1533,          // wParam SmsClass0Record* (heap); main frees
    UM_SIGNAL = 1534,              // lParam signal value
    UM_USSD_DONE = 1625,
    UM_USSD_BUSY = 1626,           // wParam 1 exchange open, 0 idle
    UM_SIM_EVENT = 3026,           // wParam event code, 2 SIM storage ready
    UM_CALL_RELEASED = 3028,
    UM_CALL_ANSWERED = 3029,
    UM_CALL_IDLE = 3030,
    UM_CALL_MISSED = 3031,
    UM_CALL_DIAL_RESULT = 3032,    // wParam 0, 1 or other
    UM_USSD_RESPONSE = 3125,       // sent; lParam 360-byte record owned by the sender
    UM_STK_MAIN_MENU = 3225,
    UM_STK_SUB_MENU = 3226,
    UM_STK_DISPLAY_TEXT = 3227,
    UM_STK_MENU_UPDATE = 3228,
    UM_STK_SMS_STATE = 3229,
    UM_STK_INPUT = 3230,
    UM_STK_3231 = 3231,            // ignored
    UM_HANGUP_DONE = 11025,        // sent; lParam the hang-up result
    UM_LINK_DROPPED = 11026,       // sent by the disconnect watcher
    UM_PIN_ENTERED = 11224,        // wParam 100 confirmed, 102 cancelled
    UM_PUK_ENTERED = 11225,        // wParam 104 confirmed, 106 cancelled

    // The business core's own: the new-SMS callback hands the storage code
    // (wParam) and index (lParam) to the interface thread, which does the
    // arrival work and then posts UM_SMS_NEW.
    UM_SMS_ARRIVED = 1535,
};

// The dial-up progress message registered under this name.
inline constexpr const char* kRasDialEventName = "RasDialEvent";
