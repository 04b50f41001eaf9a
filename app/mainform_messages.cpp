// The main window's message map: every device event and every message of
// the other windows arrives here and goes to its owner on the interface
// thread. Heap payloads are taken into owners at this edge; the receiver the
// message table names frees each exactly once.
#include <QWidget>
#include <cstring>
#include <memory>

#include "app/mainform.h"
#include "app/status_display.h"
#include "app/windows.h"
#include "core/messages.h"
#include "core/payloads.h"
#include "platform/codepage.h"
#include "platform/timer.h"
#include "sms/domain/sms_record.h"

void TMainform::SmsRecordDeleter::operator()(SmsRecord* p) const { delete p; }

std::unique_ptr<SmsClass0Record> TMainform::TakeClass0() {
    if (class0_.empty()) return nullptr;
    auto first = std::move(class0_.front());
    class0_.pop_front();
    return first;
}

// Hands a message to another long-lived window's own message map; false
// when that window does not exist (yet).
bool TMainform::forward(const char* window, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* target = dynamic_cast<MessageTarget*>(windows::Find(window));
    if (!target) return false;
    target->WndProc(msg, wParam, lParam);
    return true;
}

LRESULT TMainform::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_POWERBROADCAST:
        return powerBroadcast(wParam);
    case UM_DEVICE_STATE:
        deviceStateMessage(static_cast<std::uint8_t>(wParam));
        return 0;
    case UM_STOP_STATE_RETRY:
        Timer_StateRetry->SetEnabled(false);
        return 0;
    case UM_CALL_STATE:
        callStateMessage(static_cast<int>(wParam));
        return 0;
    case UM_DATA_STATE:
        dataStateMessage(static_cast<int>(wParam));
        return 0;
    case UM_LIB_1128:
    case UM_SMS_COUNTS:
    case UM_STK_3231:
        return 0;

    case UM_SMS_NEW: {
        // Kept as the latest new message until the indication is cleared,
        // replaced, or the window closes.
        newSms_.reset(reinterpret_cast<SmsRecord*>(wParam));
        if (newSms_ && status_)
            status_->ShowNewSms(codepage::ToQString(newSms_->number, sizeof newSms_->number));
        return 0;
    }
    case UM_SMS_REPORT: {
        // The SMS window reads the report during the call; it stays ours.
        std::unique_ptr<SmsReportRecord> report(reinterpret_cast<SmsReportRecord*>(wParam));
        if (report) forward("TFrmSmsMain", msg, reinterpret_cast<WPARAM>(report.get()), 0);
        return 0;
    }
    case UM_SMS_CLASS0: {
        std::unique_ptr<SmsClass0Record> record(reinterpret_cast<SmsClass0Record*>(wParam));
        // Queued until the SMS side shows it (TakeClass0); freed at exit.
        if (record) class0_.push_back(std::move(record));
        return 0;
    }
    case UM_CALL_INCOMING: {
        std::unique_ptr<char[]> caller(reinterpret_cast<char*>(lParam));
        static const char kEmpty[] = "";
        forward("TCall_managerform", msg, 0, reinterpret_cast<LPARAM>(caller ? caller.get() : kEmpty));
        return 0;
    }
    case UM_NET_TYPE:
    case UM_OPERATOR_INFO:
    case UM_SIGNAL:
        if (status_ && status_->HandleMessage(msg, wParam, lParam)) return 0;
        if (msg == UM_NET_TYPE) delete[] reinterpret_cast<char*>(lParam);
        if (msg == UM_OPERATOR_INFO) delete reinterpret_cast<OperatorRecord*>(lParam);
        return 0;

    case UM_USSD_DONE:
        forward("Tussdfrm", msg, wParam, lParam);
        return 0;
    case UM_USSD_BUSY:
        forward("TSet_netform", msg, wParam, lParam);
        return 0;
    case UM_USSD_RESPONSE: {
        // The library waits on this message: copy, answer at once, and hand
        // the copy over afterwards.
        if (!lParam) return 255;
        auto* copy = new std::uint8_t[kUssdResponseSize];
        std::memcpy(copy, reinterpret_cast<const void*>(lParam), kUssdResponseSize);
        if (!PostMessage(Handle(), UM_USSD_HANDOFF, 0, reinterpret_cast<LPARAM>(copy))) delete[] copy;
        return 255;
    }
    case UM_USSD_HANDOFF: {
        std::unique_ptr<std::uint8_t[]> copy(reinterpret_cast<std::uint8_t*>(lParam));
        // The USSD window takes the copy over (and frees it when decoding).
        if (forward("Tussdfrm", UM_USSD_RESPONSE, 0, reinterpret_cast<LPARAM>(copy.get()))) copy.release();
        return 0;
    }

    case UM_SIM_EVENT:
        simEvent(wParam);
        return 0;
    case UM_CALL_RELEASED:
    case UM_CALL_ANSWERED:
    case UM_CALL_IDLE:
    case UM_CALL_MISSED:
    case UM_CALL_DIAL_RESULT:
        forward("TCall_managerform", msg, wParam, lParam);
        return 0;
    case UM_STK_MAIN_MENU:
    case UM_STK_SUB_MENU:
    case UM_STK_DISPLAY_TEXT:
    case UM_STK_MENU_UPDATE:
    case UM_STK_SMS_STATE:
    case UM_STK_INPUT:
        forward("TSatMenuDisplayForm", msg, wParam, lParam);
        return 0;

    case UM_PIN_ENTERED:
        pinEntered(wParam);
        return 0;
    case UM_PUK_ENTERED:
        pukEntered(wParam);
        return 0;
    default:
        return MessageTarget::WndProc(msg, wParam, lParam);
    }
}
