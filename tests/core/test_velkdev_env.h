// A started library on the simulated card in a temporary program folder,
// instant timing, and a recorder for every callback and posted message.
#pragma once

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/winmsg.h"
#include "velkdev/sim/control.h"
#include "velkdev/velkdev.h"

struct Recorded {
    std::mutex m;
    std::vector<int> cardEvents;
    std::vector<std::string> networkTypes;
    std::vector<_VELK_ZDON_NOTIFY> operators;
    std::vector<std::uint32_t> csqValues;
    void clear() {
        std::lock_guard<std::mutex> g(m);
        cardEvents.clear();
        networkTypes.clear();
        operators.clear();
        csqValues.clear();
    }
    template <class T>
    T copy(const T& v) {
        std::lock_guard<std::mutex> g(m);
        return v;
    }
};
inline Recorded& recorded() {
    static Recorded r;
    return r;
}

inline void onCardEvent(std::uint8_t e) {
    std::lock_guard<std::mutex> g(recorded().m);
    recorded().cardEvents.push_back(e);
}
inline void onNetType(const char* t) {
    std::lock_guard<std::mutex> g(recorded().m);
    recorded().networkTypes.emplace_back(t ? t : "");
}
inline void onOperator(const void* r) {
    std::lock_guard<std::mutex> g(recorded().m);
    recorded().operators.push_back(*static_cast<const _VELK_ZDON_NOTIFY*>(r));
}
inline void onCsq(std::uint32_t v) {
    std::lock_guard<std::mutex> g(recorded().m);
    recorded().csqValues.push_back(v);
}

// The registered window: records what the library posts to it.
class RecordingWindow : public MessageTarget {
public:
    LRESULT WndProc(UINT msg, WPARAM w, LPARAM l) override {
        messages.push_back({msg, w});
        return 0;
    }
    std::vector<std::pair<UINT, WPARAM>> messages;
};

class VelkdevEnv : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        qunsetenv("LINKORA_DEVICE");
        ASSERT_TRUE(paths::UseProgramFolder(dir_.path()));
        registry::SetFile(dir_.filePath(QStringLiteral("registry.ini")));
        velk_sim::ResetScenario();
        velk_sim::SetInstantTiming(true);
        velk_sim::ClearFailures();
        recorded().clear();
        if (autoStart_) Start();
    }
    void TearDown() override {
        EXPECT_EQ(Velk_Shutdown(), 0);
        velk_sim::ResetScenario();
        registry::SetFile(QString());
    }
    void Start() {
        // Registered first: in instant timing the start-up events come at once.
        Velk_SetCallBackMeStateChanged(onCardEvent, 0);
        Velk_SetCallBackZpasNotify(onNetType, 0);
        Velk_SetCallBackZdonNotify(onOperator, 0);
        Velk_SetCallBackCSQNotify(onCsq, 0);
        Velk_RegisterAppHandle(window_.Handle(), 0);
        ASSERT_EQ(Velk_Startup(0, 400, 0), 0);
        Settle();
    }
    void Restart() {
        ASSERT_EQ(Velk_Shutdown(), 0);
        Start();
    }
    // Everything the library thread has pending, then the posted messages.
    void Settle() {
        velk_sim::Flush();
        QCoreApplication::processEvents();
    }
    QString FilePath(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

    bool autoStart_ = true;
    QTemporaryDir dir_;
    RecordingWindow window_;
};
