// The device state machine: one posted message (UM_DEVICE_STATE) whose code
// names the state to enter; each state's action reads the card and posts the
// next code. Also the timers that retry a state, the SIM event, the call and
// data-connection reactions and the freezing of background timers.
#include <QWidget>
#include <cstring>

#include "app/callseam.h"
#include "app/devicestate.h"
#include "app/mainform.h"
#include "app/messagebox.h"
#include "app/passworddlg.h"
#include "app/status_display.h"
#include "app/tray.h"
#include "app/windows.h"
#include "core/allsettings.h"
#include "core/base.h"
#include "core/messages.h"
#include "core/settings_store.h"
#include "core/strings.h"
#include "platform/delay.h"
#include "platform/timer.h"
#include "velkdev/velkdev.h"
#include "widgets/imagebutton.h"

namespace {
using Item = TTrayIcon::Item;

bool isOneOf(int v, std::initializer_list<int> set) {
    for (int x : set)
        if (x == v) return true;
    return false;
}

// Call states in which an outgoing call is being dialled.
bool dialling(int callState) { return isOneOf(callState, {1, 6, 15}); }
// Connection states between idle and connected.
bool dataTransient(int dataState) { return isOneOf(dataState, {1, 2, 4}); }

// A timer of another window, found by its name; null when absent.
TTimer* windowTimer(const char* window, const char* timer) {
    QWidget* w = windows::Find(window);
    if (!w) return nullptr;
    for (QObject* o : w->findChildren<QObject*>(QString::fromLatin1(timer)))
        if (auto* t = dynamic_cast<TTimer*>(o)) return t;
    return nullptr;
}
}  // namespace

void TMainform::postState(std::uint8_t code) { PostMessage(Handle(), UM_DEVICE_STATE, code, 0); }

// --- the machine ---------------------------------------------------------------

void TMainform::deviceStateMessage(std::uint8_t c) {
    // Codes outside 1..22 name no state: nothing is run or stored.
    const bool known = c >= 1 && c <= 22;
    if (known && (c == 1 || c != deviceState_)) {
        // The action sees the previous state. An action that shows a modal
        // box runs a nested loop in which newer states can be handled; the
        // newest handled state is the one that stands, so this code is
        // stored (and announced) only when nothing else was handled meanwhile.
        const unsigned generation = ++stateGeneration_;
        ++actionsRun_[c];
        switch (c) {
        case 12: stateReady(generation); break;
        case 16: stateUnlock(true, generation); break;
        case 19: stateUnlock(false, generation); break;
        case 22: stateLockRefused(generation); break;
        default: runStateAction(c); break;
        }
        if (!superseded(generation)) {
            if (status_) status_->RepaintStatusLine();
            if (!isOneOf(c, {16, 17, 18, 22})) notifyWindows(c);
            deviceState_ = c;
            if (OnDeviceState) OnDeviceState(c);
        }
    }
    StkButton->setEnabled(deviceState_ == 12);
}

void TMainform::runStateAction(std::uint8_t c) {
    switch (c) {
    case 1: stateNoCard(); break;
    case 2: stateCardFound(); break;
    case 3: stateModeCheck(); break;
    case 4: stateSimUnavailable(); break;
    case 6: stateOnline(); break;
    case 7: stateOffline(); break;
    case 8: statePinRequired(); break;
    case 9: statePukRequired(); break;
    case 10: stateSimLocked(); break;
    case 11: stateNetworkUp(); break;
    case 13: stateLockCheck(true); break;
    case 14: stateLockCheck(false); break;
    case 15:
        // The card reports its lock only a while after power-up: wait, ask again.
        platform::Delay(3000);
        postState(13);
        break;
    case 17:
    case 18: postState(16); break;
    case 20:
    case 21: postState(19); break;
    default: break;  // 5 and unknown codes: nothing
    }
}

void TMainform::notifyWindows(std::uint8_t c) {
    for (const char* name : kDeviceStateListeners)
        if (auto* l = windows::Get<DeviceStateListener>(name)) l->DeviceStateChanged(c);
}

void TMainform::setRssiRunning(bool on) {
    if (status_) status_->Timer_RSSI->SetEnabled(on);
}

// --- the state actions --------------------------------------------------------

void TMainform::stateNoCard() {
    status_->ResetStatusDisplay(1);
    status_->SetNetcard(0, 1163);
    status_->SetSimcard(4, 1057);
    if (TTrayIcon* t = Tray()) t->SetIconIndex(0);
    for (Item i : {Item::PowerOff, Item::Offline, Item::Online, Item::N1, Item::FSettings, Item::Unlock})
        setTrayItem(static_cast<int>(i), false);
    InternetButtonClick();
}

void TMainform::stateCardFound() {
    status_->ResetStatusDisplay(2);
    status_->SetSimcard(4);
    status_->SetNetcard(7, 1164);
    if (TTrayIcon* t = Tray()) t->SetIconIndex(7);
    for (Item i : {Item::PowerOff, Item::Offline, Item::Online, Item::N1}) setTrayItem(static_cast<int>(i), false);
    if (Velk_Echo() != 0) {
        Timer_StateRetry->SetEnabled(true);
        return;
    }
    Timer_StateRetry->SetEnabled(false);
    std::uint8_t supported = 0;
    lockSupported_ = Velk_IsNetSupportLock(&supported) == 0 ? supported : 0;
    postState(3);
}

void TMainform::stateModeCheck() {
    std::uint8_t mode = 0;
    if (Velk_GetOperationMode(&mode) != 0) return;
    if (mode == 5)
        postState(6);
    else if (mode == 1 || mode == 6)
        postState(lockSupported_ ? 14 : 7);
}

void TMainform::stateSimUnavailable() {
    // Without a usable SIM there is no service.
    static const char kNoService[] = "No Service";
    auto text = std::make_unique<char[]>(sizeof kNoService);
    std::memcpy(text.get(), kNoService, sizeof kNoService);
    status_->NetTypeMessage(std::move(text));
    status_->SetSimcard(4, 1057);
    status_->SetNetcardHint(1167);
    if (TTrayIcon* t = Tray()) t->SetIconIndex(4);
    setTrayItem(static_cast<int>(Item::PowerOff), true);
    setTrayItem(static_cast<int>(Item::N1), true);
    setTrayItem(static_cast<int>(Item::Offline), false);
    setTrayItem(static_cast<int>(Item::Online), false);
}

// The network side started: echo off, on to the network state.
void TMainform::cardStart() {
    if (Velk_NetcardStart() == 0) {
        Velk_ClearEcho();
        postState(11);
    }
}

void TMainform::stateOnline() {
    if (TTrayIcon* t = Tray()) t->SetIconIndex(1);
    status_->SetNetcard(1, 1167);
    setTrayItem(static_cast<int>(Item::PowerOff), true);
    setTrayItem(static_cast<int>(Item::Offline), true);
    setTrayItem(static_cast<int>(Item::N1), true);
    setTrayItem(static_cast<int>(Item::Online), false);
    std::uint8_t pin = 0;
    const VELK_RESULT r = Velk_GetPinState(&pin);
    if (r == VELK_E_SIM_UNUSABLE) {
        postState(4);
    } else if (r != 0) {
        simBusyTries_ = 0;
        SimBusyTimer->SetEnabled(true);
    } else if (pin == VELK_PIN_REQUIRED) {
        postState(8);
        Timer_StartTimer();
    } else if (pin == VELK_PUK_REQUIRED) {
        postState(9);
        Timer_StartTimer();
    } else if (lockSupported_) {
        postState(13);
    } else {
        cardStart();
    }
}

void TMainform::stateOffline() {
    if (isOneOf(deviceState_, {3, 13, 14, 16, 17, 18, 19, 20, 21})) {
        // Found offline while starting up: bring the card online by itself.
        if (Velk_SetOperationMode(5) == 0) postState(3);
        setTrayItem(static_cast<int>(Item::About), true);
        setTrayItem(static_cast<int>(Item::Exit), true);
        return;
    }
    status_->ResetStatusDisplay(7);
    status_->SetNetcard(7, 1165);
    status_->SetSimcard(4, 1057);
    if (TTrayIcon* t = Tray()) t->SetIconIndex(7);
    setTrayItem(static_cast<int>(Item::Online), true);
    for (Item i : {Item::Offline, Item::N1, Item::FSettings}) setTrayItem(static_cast<int>(i), false);
}

void TMainform::statePinRequired() {
    dialogs_->FreePuk();  // a PUK dialog left up is stale now
    setTrayItem(static_cast<int>(Item::PowerOff), true);
    setTrayItem(static_cast<int>(Item::N1), true);
    for (Item i : {Item::Offline, Item::Online, Item::FSettings}) setTrayItem(static_cast<int>(i), false);
    setEnabled(true);
    std::uint8_t pinLeft = 0, pukLeft = 0;
    std::optional<int> attempts;
    if (Velk_QueryPINLeftTimes(&pinLeft, &pukLeft) == 0) attempts = pinLeft;
    dialogs_->OpenPin(this, attempts);
}

void TMainform::statePukRequired() {
    dialogs_->FreePin();  // the PIN is blocked: its dialog is stale
    setTrayItem(static_cast<int>(Item::PowerOff), true);
    setTrayItem(static_cast<int>(Item::N1), true);
    for (Item i : {Item::Offline, Item::Online, Item::FSettings}) setTrayItem(static_cast<int>(i), false);
    std::uint8_t pinLeft = 0, pukLeft = 0;
    std::optional<int> attempts;
    if (Velk_QueryPINLeftTimes(&pinLeft, &pukLeft) == 0) attempts = pukLeft;
    dialogs_->OpenPuk(this, attempts);
}

void TMainform::stateSimLocked() {
    status_->ResetStatusDisplay(10);
    status_->SetSimcard(9, 1093);
    status_->SetNetcardHint(1167);
    if (TTrayIcon* t = Tray()) t->SetIconIndex(9);
    setTrayItem(static_cast<int>(Item::PowerOff), true);
    setTrayItem(static_cast<int>(Item::N1), true);
    setTrayItem(static_cast<int>(Item::Offline), false);
    setTrayItem(static_cast<int>(Item::Online), false);
}

void TMainform::stateNetworkUp() {
    if (lockSupported_) {
        // With a lock check the network side is started only now.
        if (Velk_NetcardStart() != 0) return;
        Velk_ClearEcho();
    }
    setTrayItem(static_cast<int>(Item::About), true);
    setTrayItem(static_cast<int>(Item::Exit), true);
    status_->SetSimcard(8, 1071);
    status_->SetNetcardHint(1167);
    if (dataState_ != 3) {
        // The connection picture shows "not connected" (no sound: nothing ended).
        status_->Timer_Internet->SetEnabled(false);
        status_->Image_Internet->SetPicture(artwork::ImageList::TrayMain, 6);
        status_->Image_Internet->setToolTip(GetString(1072));
    }
    if (TTrayIcon* t = Tray()) {
        if (dataState_ == 3) {
            if (t->Uses(artwork::ImageList::Internet) && t->Animating()) t->SetIconIndex(3);
        } else {
            t->SetIconIndex(2);
        }
    }
    setTrayItem(static_cast<int>(Item::PowerOff), true);
    setTrayItem(static_cast<int>(Item::Offline), true);
    setTrayItem(static_cast<int>(Item::N1), true);
    setTrayItem(static_cast<int>(Item::Online), false);
    status_->ReadNetworkInfo();
    status_->PollSignal();
    setRssiRunning(true);
    std::uint8_t pinOn = 0;
    if (Velk_IfPinEnable(&pinOn) == 0) AllSettingsRecord().pinProtection = pinOn;
    if (Velk_TestSimState() == 0)
        postState(12);
    else
        Timer_CPMS->SetEnabled(true);
}

void TMainform::stateReady(unsigned generation) {
    status_->SetNetcard(1, 1167);
    status_->SetSimcard(5, 1095);
    if (!status_->Timer_RSSI->Enabled()) {
        status_->PollSignal();
        setRssiRunning(true);
    }
    if (TTrayIcon* t = Tray())
        if (dataState_ == 3 && t->Uses(artwork::ImageList::Internet) && t->Animating()) t->SetIconIndex(3);
    for (Item i : {Item::PowerOff, Item::Offline, Item::N1, Item::FSettings}) setTrayItem(static_cast<int>(i), true);
    setTrayItem(static_cast<int>(Item::Online), false);

    ModemPara para;
    const std::optional<bool> read = DefaultModemPara(&para);
    if (read.has_value()) {
        if (*read) {
            Velk_SetModemPara(para.pdpType.constData(), para.apn.constData(), para.pdpAddress.constData());
        } else {
            ShowMessageBox(this, GetString(1018) + QStringLiteral("defaultcfg.ran"), 2);
            // The box ran a nested loop: a newer state (the card gone, say)
            // may have been handled; then this one is over.
            if (superseded(generation)) return;
        }
    }
    if (BL_base() && BL_base()->set->RefreshCapacities() != 0) GetCardSettingsTimer->SetEnabled(true);
}

void TMainform::stateLockCheck(bool online) {
    std::uint8_t status = 0;
    if (Velk_GetNetLockStatus(&status) != 0) return;
    std::uint8_t next;
    switch (status) {
    case 1: next = online ? 11 : 7; break;
    case 2: next = online ? 16 : 19; break;
    case 3: next = online ? 17 : 20; break;
    case 4: next = online ? 18 : 21; break;
    case 5: next = online ? 15 : 7; break;
    default: next = 22; break;
    }
    postState(next);
}

void TMainform::stateUnlock(bool online, unsigned generation) {
    for (Item i : {Item::Unlock, Item::PowerOff, Item::Offline, Item::Online, Item::About, Item::Exit})
        setTrayItem(static_cast<int>(i), false);
    setTrayItem(static_cast<int>(Item::N1), true);
    setEnabled(false);
    const int next = RunUnlock(this, online);
    setEnabled(true);
    if (superseded(generation)) return;
    if (next != 0) postState(static_cast<std::uint8_t>(next));
}

void TMainform::stateLockRefused(unsigned generation) {
    for (Item i : {Item::Unlock, Item::PowerOff, Item::About, Item::Exit}) setTrayItem(static_cast<int>(i), true);
    ShowMessageBox(this, GetString(1154), 2);
    if (superseded(generation)) return;
    postState(4);
}

// --- PIN and PUK ----------------------------------------------------------------

void TMainform::pinEntered(WPARAM code) {
    if (code == 100) {
        setEnabled(true);
        TPasswordDlg* dlg = dialogs_->Pin();
        if (!dlg) return;  // nothing was asked (a stray message)
        const QByteArray pin = dlg->Password1().toLatin1();
        dialogs_->FreePin();
        const VELK_RESULT r = Velk_SetPin(pin.constData(), nullptr);
        if (r == 0) {
            postState(6);
        } else if (r == VELK_E_WRONG_CODE) {
            ShowMessageBox(this, GetString(1025), 2);
            postState(6);
        } else if (r == VELK_E_BLOCKED) {
            ShowMessageBox(this, GetString(1034), 2);
            postState(6);
        }
    } else if (code == 102) {
        setEnabled(true);
        postState(10);
        dialogs_->FreePin();
    }
}

void TMainform::pukEntered(WPARAM code) {
    if (code == 104) {
        TPasswordDlg* puk = dialogs_->Puk();
        TPasswordDlg* newPin = dialogs_->NewPin();
        if (!puk || !newPin) return;
        const int answer = ExecModal(newPin);
        // The dialogs may have been replaced while the new-PIN dialog was up.
        if (dialogs_->Puk() != puk || dialogs_->NewPin() != newPin) return;
        if (answer == QDialog::Accepted) {
            const QByteArray code1 = puk->Password1().toLatin1();
            const QByteArray pin = newPin->Password1().toLatin1();
            dialogs_->FreePuk();
            const VELK_RESULT r = Velk_SetPin(code1.constData(), pin.constData());
            if (r == 0) {
                postState(6);
            } else if (r == VELK_E_WRONG_CODE) {
                ShowMessageBox(this, GetString(1026), 2);
                postState(6);
            } else if (r == VELK_E_BLOCKED) {
                ShowMessageBox(this, GetString(1054), 2);
                postState(6);
            }
        } else {
            dialogs_->FreePuk();
            postState(10);
        }
    } else if (code == 106) {
        postState(10);
        dialogs_->FreePuk();
    }
}

// --- timers ---------------------------------------------------------------------

void TMainform::Timer_StateRetryTimer() { stateCardFound(); }

void TMainform::SimBusyTimerTimer() {
    // With a lock check the timer keeps running after posting 13, so that a
    // lock check that read nothing is asked again. Once the machine has gone
    // on (network up, ready, unlock, no card) it must not be sent back.
    const bool stillWaiting = deviceState_ == 6 || deviceState_ == 13;
    if (simBusyTries_ >= 5 || !stillWaiting) {
        SimBusyTimer->SetEnabled(false);
        simBusyTries_ = 0;
        return;
    }
    if (CallState() == callseam::kDialling) return;
    std::uint8_t pin = 0;
    if (Velk_GetPinState(&pin) != 0) {
        ++simBusyTries_;
        return;
    }
    if (pin == VELK_PIN_REQUIRED || pin == VELK_PUK_REQUIRED) {
        postState(pin == VELK_PIN_REQUIRED ? 8 : 9);
        Timer_StartTimer();
        SimBusyTimer->SetEnabled(false);
        simBusyTries_ = 0;
    } else if (lockSupported_) {
        postState(13);
        ++simBusyTries_;
    } else if (Velk_NetcardStart() == 0) {
        Velk_ClearEcho();
        postState(11);
        SimBusyTimer->SetEnabled(false);
        simBusyTries_ = 0;
    } else {
        ++simBusyTries_;
    }
}

void TMainform::Timer_CPMSTimer() {
    if (Velk_TestSimState() == 0) {
        Timer_CPMS->SetEnabled(false);
        postState(12);
    }
}

void TMainform::GetCardSettingsTimerTimer() {
    if (deviceState_ != 12) {
        GetCardSettingsTimer->SetEnabled(false);
        return;
    }
    if (!BL_base() || BL_base()->set->RefreshCapacities() != 0) return;
    GetCardSettingsTimer->SetEnabled(false);
    // The SMS and phonebook windows load once the limits are known.
    for (const char* name : {"TFrmSmsMain", "TFrmContacts"})
        if (auto* l = windows::Get<DeviceStateListener>(name)) l->DeviceStateChanged(12);
}

// --- events ---------------------------------------------------------------------

void TMainform::simEvent(WPARAM event) {
    if (dialling(CallState())) return;
    if (deviceState_ == 11 && event == 2) {
        Timer_CPMS->SetEnabled(false);
        Velk_TestSimState();
        postState(12);
    }
}

void TMainform::callStateMessage(int s) {
    callState_ = s;
    auto rssiByState = [this] { setRssiRunning(deviceState_ == 11 || deviceState_ == 12); };
    auto fsettings = [this](bool on) { enableTrayItem(static_cast<int>(Item::FSettings), on); };
    if (dialling(s)) {
        Velk_setIsDialing(1);
        FreezeBackgroundTimers();
        DisableTools();
        Timer_CPMS->SetEnabled(false);
        Timer_StateRetry->SetEnabled(false);
        setRssiRunning(false);
        fsettings(false);
    } else if (s == 0) {
        Velk_setIsDialing(0);
        if (!dataTransient(dataState_)) {
            EnableTools();
            rssiByState();
            if ((deviceState_ == 11 || deviceState_ == 12) && dataState_ != 3) fsettings(true);
        }
        ThawBackgroundTimers();
    } else if (isOneOf(s, {3, 5, 8, 12, 14})) {
        Velk_setIsDialing(0);
        if (!dataTransient(dataState_)) {
            EnableTools();
            rssiByState();
        }
        ThawBackgroundTimers();
        fsettings(false);
    } else {
        Velk_setIsDialing(0);
        fsettings(false);
    }
}

void TMainform::dataStateMessage(int d) {
    auto fsettings = [this](bool on) { enableTrayItem(static_cast<int>(Item::FSettings), on); };
    const int call = CallState();
    switch (d) {
    case 0:
        dataState_ = 0;
        if (!dialling(call)) {
            EnableTools();
            setRssiRunning(deviceState_ == 11 || deviceState_ == 12);
        }
        if (call == 0) fsettings(true);
        break;
    case 1:
    case 2:
    case 4:
        dataState_ = static_cast<std::uint8_t>(d);
        DisableTools();
        setRssiRunning(false);
        fsettings(false);
        break;
    case 3:
        dataState_ = 3;
        if (!dialling(call)) {
            EnableTools();
            setRssiRunning(deviceState_ == 11 || deviceState_ == 12);
        }
        fsettings(false);
        break;
    default: break;
    }
}

// --- background timers ------------------------------------------------------------

void TMainform::FreezeBackgroundTimers() {
    // Frozen again (a call passing through several dialling states): the
    // states saved first are the ones to give back, so only stop again.
    const bool again = frozen_.on;
    frozen_.on = true;
    if (!again) frozen_.state = deviceState_;
    auto save = [again](TTimer* t, bool& slot) {
        if (!again) slot = t && t->Enabled();
        if (t) t->SetEnabled(false);
    };
    save(Timer_CPMS, frozen_.cpms);
    save(Timer_StateRetry, frozen_.stateRetry);
    save(GetCardSettingsTimer, frozen_.cardSettings);
    save(windowTimer("TFrmContacts", "TimerLoadSIMData"), frozen_.loadSim);
    save(windowTimer("TFrmSmsMain", "tmrSmsInitSet"), frozen_.smsInit);
    save(windowTimer("TFrmSmsMain", "tmrLoadMeMsg"), frozen_.loadMe);
    save(windowTimer("TFrmSmsMain", "tmrLoadSimMsg"), frozen_.loadSimMsg);
}

void TMainform::ThawBackgroundTimers() {
    if (!frozen_.on) return;
    frozen_.on = false;
    auto restore = [](TTimer* t, bool was) {
        if (t) t->SetEnabled(was);
    };
    restore(Timer_CPMS, frozen_.cpms);
    restore(Timer_StateRetry, frozen_.stateRetry);
    restore(GetCardSettingsTimer, frozen_.cardSettings);
    restore(windowTimer("TFrmContacts", "TimerLoadSIMData"), frozen_.loadSim);
    restore(windowTimer("TFrmSmsMain", "tmrSmsInitSet"), frozen_.smsInit);
    restore(windowTimer("TFrmSmsMain", "tmrLoadMeMsg"), frozen_.loadMe);
    restore(windowTimer("TFrmSmsMain", "tmrLoadSimMsg"), frozen_.loadSimMsg);
}
