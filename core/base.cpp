#include "core/base.h"

#include <memory>

#include "calls/domain/tbl_cr.h"
#include "core/messages.h"
#include "core/payloads.h"
#include "core/settings_store.h"
#include "phonebook/domain/tbl_pb.h"
#include "services/domain/tbl_stk.h"
#include "services/domain/tbl_ussd.h"
#include "sms/domain/bl_sms.h"
#include "sms/domain/tbl_sms.h"
#include "velkdev/velkdev.h"

namespace {
TBL_base* g_base = nullptr;
bool g_failNextCreate = false;

// The library's callbacks run on its threads: they copy and post, nothing more.
// g_base is set before they are registered and cleared only after the library
// has stopped, so reading it here is safe.
template <class Payload>
void postOrFree(UINT msg, Payload* p, bool inWParam) {
    const WPARAM w = inWParam ? reinterpret_cast<WPARAM>(p) : 0;
    const LPARAM l = inWParam ? 0 : reinterpret_cast<LPARAM>(p);
    if (!g_base || !g_base->Post(msg, w, l)) delete p;
}

void onSmsArriveNew(std::uint8_t storage, std::uint32_t index) {
    // The arrival work touches the store's lists; it runs on the interface thread.
    if (g_base) PostMessage(g_base->Handle(), UM_SMS_ARRIVED, storage, static_cast<LPARAM>(index));
}
void onSendReport(std::uint8_t status, const char* number, const char* time) {
    postOrFree(UM_SMS_REPORT, payloads::MakeReport(status, number, time), true);
}
void onClass0(const char* sender, const char* text) {
    postOrFree(UM_SMS_CLASS0, payloads::MakeClass0(sender, text), true);
}
void freeString(UINT msg, const char* text) {
    char* s = payloads::CopyString(text);
    if (!g_base || !g_base->Post(msg, 0, reinterpret_cast<LPARAM>(s))) delete[] s;
}
void onCallComing(const char* caller) { freeString(UM_CALL_INCOMING, caller); }
void onNetType(const char* type) { freeString(UM_NET_TYPE, type); }
void onCsq(std::uint32_t value) {
    if (g_base) g_base->Post(UM_SIGNAL, 0, static_cast<LPARAM>(value));
}
}  // namespace

TBL_base* BL_base() { return g_base; }

void BL_FailNextCreate() { g_failNextCreate = true; }

TBL_base::TBL_base() {
    set = new TBLSet();
    set->RefreshCapacities();  // result ignored: the limits stay 0 until the card answers
    sms = new TBL_sms(*this);
    pb = new TBL_pb(*this);
    stk = new TBL_Stk(*this);
    cr = new TBL_Cr(*this);
    ussd = new TBL_Ussd(*this);
}

TBL_base::~TBL_base() {
    delete sms;
    sms = nullptr;
    delete pb;
    pb = nullptr;
    delete cr;
    cr = nullptr;
    delete set;
    set = nullptr;
    delete stk;
    stk = nullptr;
    delete ussd;
    ussd = nullptr;
    window = nullptr;
}

bool TBL_base::Post(UINT msg, WPARAM wParam, LPARAM lParam) { return window && PostMessage(window, msg, wParam, lParam); }

LRESULT TBL_base::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == UM_SMS_ARRIVED) {
        if (sms) sms->OnArrival(static_cast<std::uint8_t>(wParam), static_cast<std::uint32_t>(lParam));
        return 0;
    }
    return MessageTarget::WndProc(msg, wParam, lParam);
}

std::uint16_t BL_Startup(std::uint8_t mode, std::uint16_t second, std::uint16_t third) {
    const std::uint16_t started = Velk_Startup(mode, second, third);
    if (g_base) return BL_ERR_EXISTS;
    if (g_failNextCreate) {
        g_failNextCreate = false;
        return BL_ERR_CREATE;
    }
    try {
        g_base = new TBL_base();
    } catch (...) {
        g_base = nullptr;
        return BL_ERR_CREATE;
    }
    BL_LoadSms(STORAGE_PC);
    Velk_SetCallBackSmsArriveNew(onSmsArriveNew, 0);
    Velk_SetCallBackSmsSendReportArrive(onSendReport, 0);
    Velk_SetCallBackCallCallComing(onCallComing, 0);
    Velk_SetCallBackZpasNotify(onNetType, 0);
    Velk_SetCallBackSmsArriveClass0(onClass0, 0);
    Velk_SetCallBackCSQNotify(onCsq, 0);
    return started;
}

std::uint16_t BL_Shutdown() {
    const std::uint16_t r = Velk_Shutdown();
    if (r != 0) return r;
    delete g_base;
    g_base = nullptr;
    return 0;
}

std::uint16_t BL_RegisterWindow(HWND window, std::uint32_t clear) {
    if (g_base) g_base->window = clear ? nullptr : window;
    return Velk_RegisterAppHandle(window, clear);
}
