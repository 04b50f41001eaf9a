#include "platform/delay.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

namespace platform {
namespace {
std::function<void(int)>& hook() {
    static std::function<void(int)> h;
    return h;
}
}  // namespace

void SetDelayHook(std::function<void(int)> h) { hook() = std::move(h); }

void Delay(int ms) {
    if (hook()) {
        hook()(ms);
        return;
    }
    if (QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread()) {
        // Keep the interface alive while waiting: messages and timers are handled.
        QDeadlineTimer deadline(ms);
        do {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(1);
        } while (!deadline.hasExpired());
    } else {
        QThread::msleep(static_cast<unsigned long>(ms < 0 ? 0 : ms));
    }
}
}  // namespace platform
