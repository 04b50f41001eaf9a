#include "platform/winmsg.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <map>
#include <mutex>
#include <set>
#include <string>

namespace {

const QEvent::Type kWinMsgEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

struct WinMsgEvent : QEvent {
    WinMsgEvent(UINT m, WPARAM w, LPARAM l) : QEvent(kWinMsgEventType), msg(m), wParam(w), lParam(l) {}
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

// Live handles. Posting holds the lock so that a target cannot be destroyed
// between the check and the post; Qt drops queued events of a deleted object.
std::mutex g_lock;
std::set<HWND> g_live;

}  // namespace

class MessageReceiver : public QObject {
public:
    explicit MessageReceiver(MessageTarget* t) : target(t) {}
    bool event(QEvent* e) override {
        if (e->type() == kWinMsgEventType) {
            auto* m = static_cast<WinMsgEvent*>(e);
            target->WndProc(m->msg, m->wParam, m->lParam);
            return true;
        }
        return QObject::event(e);
    }
    MessageTarget* target;
};

MessageTarget::MessageTarget() : receiver_(new MessageReceiver(this)), handle_(reinterpret_cast<HWND>(receiver_)) {
    std::lock_guard<std::mutex> g(g_lock);
    g_live.insert(handle_);
}

MessageTarget::~MessageTarget() {
    {
        std::lock_guard<std::mutex> g(g_lock);
        g_live.erase(handle_);
    }
    delete receiver_;
}

LRESULT MessageTarget::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProc(msg, wParam, lParam); }

bool IsWindow(HWND hwnd) {
    std::lock_guard<std::mutex> g(g_lock);
    return hwnd && g_live.count(hwnd);
}

bool PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::lock_guard<std::mutex> g(g_lock);
    if (!hwnd || !g_live.count(hwnd)) return false;
    QCoreApplication::postEvent(reinterpret_cast<MessageReceiver*>(hwnd), new WinMsgEvent(msg, wParam, lParam));
    return true;
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MessageReceiver* r = nullptr;
    {
        std::lock_guard<std::mutex> g(g_lock);
        if (!hwnd || !g_live.count(hwnd)) return 0;
        r = reinterpret_cast<MessageReceiver*>(hwnd);
    }
    if (r->thread() == QThread::currentThread()) return r->target->WndProc(msg, wParam, lParam);
    LRESULT result = 0;
    // The receiver may go away while we wait; the blocking call is then
    // dropped by Qt and we return 0.
    QMetaObject::invokeMethod(
        r, [&] { result = r->target->WndProc(msg, wParam, lParam); }, Qt::BlockingQueuedConnection);
    return result;
}

UINT RegisterWindowMessage(const char* name) {
    static std::mutex lock;
    static std::map<std::string, UINT> names;
    std::lock_guard<std::mutex> g(lock);
    auto it = names.find(name);
    if (it != names.end()) return it->second;
    const UINT id = 0xC000 + static_cast<UINT>(names.size());
    names.emplace(name, id);
    return id;
}
