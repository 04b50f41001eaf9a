#include "platform/power.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>

namespace platform {
namespace {
const char* const kService = "org.freedesktop.login1";
const char* const kPath = "/org/freedesktop/login1";
const char* const kManager = "org.freedesktop.login1.Manager";
}  // namespace

// The inhibitor file descriptors; closing one releases its lock.
struct PowerWatcher::Locks {
    QDBusUnixFileDescriptor delay;
    QDBusUnixFileDescriptor block;
};

PowerWatcher::PowerWatcher(HWND target, QObject* parent)
    : QObject(parent), target_(target), locks_(std::make_unique<Locks>()) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected() || !bus.interface()) return;
    if (!bus.interface()->isServiceRegistered(QString::fromLatin1(kService)).value()) return;
    connected_ = bus.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kManager),
                             QStringLiteral("PrepareForSleep"), this, SLOT(onPrepareForSleep(bool)));
    if (!connected_) return;
    takeLock("delay", false);
    poll_.setInterval(1000);
    connect(&poll_, &QTimer::timeout, this, [this] { Reevaluate(); });
    poll_.start();
}

PowerWatcher::~PowerWatcher() = default;

bool PowerWatcher::takeLock(const char* mode, bool blockLock) {
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                                       QString::fromLatin1(kManager), QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Linkora")
         << (blockLock ? QStringLiteral("A call, a data connection or a card operation is running, or standby is refused")
                       : QStringLiteral("Takes the data card offline before sleeping"))
         << QString::fromLatin1(mode);
    QDBusReply<QDBusUnixFileDescriptor> reply = QDBusConnection::systemBus().call(call, QDBus::Block, 2000);
    if (!reply.isValid()) return false;
    (blockLock ? locks_->block : locks_->delay) = reply.value();
    return true;
}

LRESULT PowerWatcher::Inject(unsigned event) { return SendMessage(target_, kPowerBroadcastMessage, event, 0); }

bool PowerWatcher::Blocking() const { return locks_->block.isValid(); }

bool PowerWatcher::Reevaluate() {
    const bool deny = Inject(PBT_APMQUERYSUSPEND) == BROADCAST_QUERY_DENY;
    if (!connected_) return deny;
    if (deny && !Blocking())
        takeLock("block", true);
    else if (!deny && Blocking())
        locks_->block = QDBusUnixFileDescriptor();
    return deny;
}

void PowerWatcher::onPrepareForSleep(bool start) {
    if (start) {
        // The window finishes its suspend handling before we let go.
        Inject(PBT_APMSUSPEND);
        locks_->delay = QDBusUnixFileDescriptor();
    } else {
        Inject(PBT_APMRESUMEAUTOMATIC);
        takeLock("delay", false);
    }
}

}  // namespace platform
