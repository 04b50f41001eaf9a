// The main window on the simulated card: the fixture starts TMainform (its
// creation step starts the library), records every device state handled,
// answers the modal runs through the window's seams and pumps the event loop
// and the card's thread until both are quiet.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "app/callseam.h"
#include "app/devicestate.h"
#include "app/mainform.h"
#include "app/passworddlg.h"
#include "app/sound.h"
#include "app/status_display.h"
#include "app/tray.h"
#include "app/windows.h"
#include "core/base.h"
#include "core/messages.h"
#include "platform/timer.h"
#include "tests/fixture/ui_fixture.h"
#include "widgets/validatededit.h"
#include "velkdev/sim/control.h"
#include "velkdev/velkdev.h"

// A call window stand-in: reports the call state the test sets.
class FakeCall : public callseam::CallSeam {
public:
    bool IsEmergencyNumber(const QString& n) override { return n == QLatin1String("112"); }
    void Dial(const QString& n) override { dialled.push_back(n); }
    QString DialText() const override { return {}; }
    int CallState() const override { return state; }
    int state = 0;
    std::vector<QString> dialled;
};

// A long-lived window that listens to device states and records them.
class FakeListener : public QWidget, public DeviceStateListener {
public:
    FakeListener(const char* name, std::vector<std::string>* log) : name_(name), log_(log) {
        windows::Register(name, this);
    }
    ~FakeListener() override { windows::Unregister(name_); }
    void DeviceStateChanged(std::uint8_t s) override { log_->push_back(std::string(name_) + ":" + std::to_string(s)); }

private:
    const char* name_;
    std::vector<std::string>* log_;
};

class MainformTest : public UiFixture {
protected:
    void SetUp() override {
        UiFixture::SetUp();
        velk_sim::ResetScenario();
        velk_sim::SetInstantTiming(true);
        velk_sim::SetLockSupported(false);
        velk_sim::ClearFailures();
        sound::SetBackendFactory([] { return std::make_unique<sound::RecordingBackend>(); });
        callseam::Install(&call_);
    }
    void TearDown() override {
        form_.reset();
        callseam::Install(nullptr);
        sound::SetBackendFactory({});
        velk_sim::ClearFailures();
        velk_sim::ResetScenario();
        UiFixture::TearDown();
    }

public:
    // Creates the main window; the first state is posted but not yet handled.
    TMainform& Create() {
        form_ = std::make_unique<TMainform>();
        form_->OnDeviceState = [this](std::uint8_t c) { states_.push_back(c); };
        form_->RunUnlock = [this](QWidget*, bool online) {
            unlockRuns_.push_back(online);
            return unlockAnswer_ ? unlockAnswer_() : 22;
        };
        form_->ExecModal = [this](QDialog* d) { return modalAnswer_ ? modalAnswer_(d) : int(QDialog::Rejected); };
        form_->RunAbout = [this](QWidget*, bool inner, bool read) { aboutRuns_.push_back({inner, read}); };
        form_->StartProcess = [this](const QString& p, const QStringList& a) { started_.push_back(p + "|" + a.join('|')); };
        return *form_;
    }
    // Creates the main window and runs the machine until it rests.
    TMainform& Start() {
        Create();
        Pump();
        return *form_;
    }
    void Pump(int rounds = 40) {
        for (int i = 0; i < rounds; ++i) {
            velk_sim::Flush();
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void Post(UINT msg, WPARAM w, LPARAM l = 0) {
        PostMessage(form_->Handle(), msg, w, l);
        Pump();
    }
    void PostState(std::uint8_t code) { Post(UM_DEVICE_STATE, code); }
    // The states handled since the last call.
    std::vector<int> TakeStates() {
        std::vector<int> s = std::move(states_);
        states_.clear();
        return s;
    }
    TTrayIcon& Tray() { return *form_->Tray(); }
    bool ItemShown(TTrayIcon::Item i) { return Tray().ItemVisible(i); }
    int BoxesWith(unsigned id) const {
        int n = 0;
        for (const auto& b : boxes_) n += b.text == Text(id) ? 1 : 0;
        return n;
    }

    std::unique_ptr<TMainform> form_;
    FakeCall call_;
    std::vector<int> states_;
    std::vector<bool> unlockRuns_;
    std::function<int()> unlockAnswer_;
    std::function<int(QDialog*)> modalAnswer_;
    std::vector<std::pair<bool, bool>> aboutRuns_;
    std::vector<QString> started_;
};

using States = std::vector<int>;
