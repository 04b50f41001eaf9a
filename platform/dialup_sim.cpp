#include "platform/dialup_sim.h"

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <cmath>
#include <deque>
#include <map>
#include <thread>

#include "platform/dialup_control.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/registry.h"

using namespace dialup;

namespace {

using Clock = std::chrono::steady_clock;

// Devices a PC typically lists besides the card's modem.
const Device kOtherDevices[] = {
    {"vpn", "WAN Miniport (PPTP)"},
    {"modem", "Standard Modem over Bluetooth link"},
};

struct Conn {
    HCONN handle = 0;
    std::string entryName, deviceType, deviceName, user;
    std::uint32_t state = CS_OpenPort;
    std::uint32_t error = 0;
    bool connected = false;
    bool gone = false;
    double sent = 0, received = 0;
    Clock::time_point connectedAt, lastTraffic;
    std::vector<std::shared_ptr<Event>> watchers;
};

struct Sim {
    std::mutex m;
    std::condition_variable cv;
    std::map<std::string, Entry> entries;
    std::map<HCONN, std::shared_ptr<Conn>> conns;
    HCONN next = 0x5100;
    QString folder;          // the program folder the kept state belongs to
    bool instant = false;
    std::deque<std::uint32_t> failDial, failDialCall, failHangUp;
    int failNotify = 0;
    std::string acceptUser, acceptPassword;
    bool hold = false;
    int releases = 0;   // dials let through while dials are held
    bool growth = true;
    bool modemHidden = false;
    int hangUps = 0;
    DialParams last;
    Clock::time_point lastSave;
};

Sim& sim() {
    static Sim s;
    return s;
}

QString statePath() { return paths::InFolder(QStringLiteral("dialup.state")); }

// The friendly name of the card's modem from its driver keys, or empty.
std::string modemName() {
    const QString service = QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\QELusbmdm6k\\Enum");
    const auto count = registry::GetDword(service, QStringLiteral("Count"));
    if (!count || *count == 0) return {};
    const auto instance = registry::GetString(service, QString::number(*count - 1));
    if (!instance) return {};
    const auto name = registry::GetString(QStringLiteral("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Enum\\") + *instance,
                                          QStringLiteral("FriendlyName"));
    return name ? name->toStdString() : std::string();
}

// A session's traffic: downloads in waves, uploads a fraction of them.
void advanceTraffic(Sim& s, Conn& c) {
    const auto now = Clock::now();
    const double dt = std::chrono::duration<double>(now - c.lastTraffic).count();
    c.lastTraffic = now;
    if (!s.growth || dt <= 0) return;
    const double t = std::chrono::duration<double>(now - c.connectedAt).count() - dt / 2;
    const double rx = 42000 + 30000 * std::sin(t / 7.0) + 12000 * std::sin(t / 2.3 + 1.0);
    const double tx = 1800 + 0.11 * rx + 900 * std::sin(t / 3.1);
    c.received += std::max(1500.0, rx) * dt;
    c.sent += std::max(300.0, tx) * dt;
}

std::uint32_t counter(double bytes) { return static_cast<std::uint32_t>(std::fmod(bytes, 4294967296.0)); }

// Writes the entries and the running connection to the program folder.
void save(Sim& s) {
    QJsonObject root, entries;
    for (const auto& [name, e] : s.entries) {
        QJsonObject o;
        o["options"] = static_cast<qint64>(e.options);
        o["dns"] = static_cast<qint64>(e.dns);
        o["dnsAlt"] = static_cast<qint64>(e.dnsAlt);
        o["number"] = QString::fromStdString(e.phoneNumber);
        o["deviceType"] = QString::fromStdString(e.deviceType);
        o["deviceName"] = QString::fromStdString(e.deviceName);
        entries[QString::fromStdString(name)] = o;
    }
    root["entries"] = entries;
    for (const auto& [h, c] : s.conns) {
        if (!c->connected) continue;
        advanceTraffic(s, *c);
        const qint64 ago = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - c->connectedAt).count();
        QJsonObject o;
        o["entry"] = QString::fromStdString(c->entryName);
        o["deviceType"] = QString::fromStdString(c->deviceType);
        o["deviceName"] = QString::fromStdString(c->deviceName);
        o["user"] = QString::fromStdString(c->user);
        o["connectedAt"] = QDateTime::currentMSecsSinceEpoch() - ago;
        o["savedAt"] = QDateTime::currentMSecsSinceEpoch();
        o["sent"] = c->sent;
        o["received"] = c->received;
        root["connection"] = o;
        break;
    }
    s.lastSave = Clock::now();
    if (root["connection"].isUndefined() && entries.isEmpty()) {
        QFile::remove(statePath());
        return;
    }
    files::WriteAtomic(statePath(), QJsonDocument(root).toJson(QJsonDocument::Compact));
}

void forgetAll(Sim& s, std::vector<std::shared_ptr<Event>>* toSignal) {
    for (auto& [h, c] : s.conns) {
        c->gone = true;
        for (auto& w : c->watchers) toSignal->push_back(w);
        c->watchers.clear();
    }
    s.conns.clear();
    s.entries.clear();
    s.cv.notify_all();
}

// Reads the kept state: the connection that ran on while Linkora was closed.
void load(Sim& s) {
    const auto data = files::ReadAll(statePath());
    if (!data) return;
    const QJsonObject root = QJsonDocument::fromJson(*data).object();
    const QJsonObject entries = root["entries"].toObject();
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        const QJsonObject o = it.value().toObject();
        Entry e;
        e.options = static_cast<std::uint32_t>(o["options"].toInteger());
        e.dns = static_cast<std::uint32_t>(o["dns"].toInteger());
        e.dnsAlt = static_cast<std::uint32_t>(o["dnsAlt"].toInteger());
        e.phoneNumber = o["number"].toString().toStdString();
        e.deviceType = o["deviceType"].toString().toStdString();
        e.deviceName = o["deviceName"].toString().toStdString();
        e.netProtocols = NP_Ip;
        e.framingProtocol = FP_Ppp;
        e.type = ET_Phone;
        s.entries[it.key().toStdString()] = e;
    }
    const QJsonObject o = root["connection"].toObject();
    if (o.isEmpty()) return;
    auto c = std::make_shared<Conn>();
    c->handle = s.next++;
    c->entryName = o["entry"].toString().toStdString();
    c->deviceType = o["deviceType"].toString().toStdString();
    c->deviceName = o["deviceName"].toString().toStdString();
    c->user = o["user"].toString().toStdString();
    c->state = CS_Connected;
    c->connected = true;
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    const qint64 sinceConnect = std::max<qint64>(0, nowMs - o["connectedAt"].toInteger());
    const qint64 sinceSave = std::clamp<qint64>(nowMs - o["savedAt"].toInteger(), 0, sinceConnect);
    c->connectedAt = Clock::now() - std::chrono::milliseconds(sinceConnect);
    c->lastTraffic = Clock::now() - std::chrono::milliseconds(sinceSave);
    c->sent = o["sent"].toDouble();
    c->received = o["received"].toDouble();
    s.conns[c->handle] = c;
}

// The state belongs to the program folder: a new folder starts afresh.
void ensureFolder(Sim& s, std::vector<std::shared_ptr<Event>>* toSignal) {
    const QString folder = paths::ProgramFolder();
    if (folder == s.folder) return;
    forgetAll(s, toSignal);
    s.folder = folder;
    load(s);
}

void signalAll(const std::vector<std::shared_ptr<Event>>& events) {
    for (const auto& e : events) e->Set();
}

// Ends a connection: it leaves the list and its notifications fire.
void endConnection(Sim& s, HCONN h, std::vector<std::shared_ptr<Event>>* toSignal) {
    auto it = s.conns.find(h);
    if (it == s.conns.end()) return;
    auto c = it->second;
    const bool wasUp = c->connected;
    c->gone = true;
    c->connected = false;
    for (auto& w : c->watchers) toSignal->push_back(w);
    c->watchers.clear();
    s.conns.erase(it);
    s.cv.notify_all();
    if (wasUp) save(s);
}

int stepDelay(const Sim& s, std::uint32_t step) {
    if (s.instant) return 0;
    switch (step) {
    case CS_ConnectDevice: return 700;
    case CS_Authenticate: return 500;
    default: return 200;
    }
}

// Where a network reports a failure of this kind.
std::uint32_t failureStep(std::uint32_t code) {
    return code == ERR_AUTHENTICATION_FAILURE ? CS_Authenticate : CS_ConnectDevice;
}

void runDial(std::shared_ptr<Conn> c, HWND notifier, UINT message, std::uint32_t failCode) {
    static const std::uint32_t steps[] = {CS_OpenPort,        CS_PortOpened,          CS_ConnectDevice,
                                          CS_DeviceConnected, CS_AllDevicesConnected, CS_Authenticate,
                                          CS_Authenticated,   CS_Connected};
    Sim& s = sim();
    for (std::uint32_t step : steps) {
        std::unique_lock g(s.m);
        s.cv.wait_for(g, std::chrono::milliseconds(stepDelay(s, step)), [&] { return c->gone; });
        if (c->gone) return;
        if (failCode && step == failureStep(failCode)) {
            c->state = step;
            c->error = failCode;
            g.unlock();
            PostMessage(notifier, message, step, static_cast<LPARAM>(failCode));
            return;
        }
        if (step == CS_Connected) {
            // A release given before the dial got here still counts.
            s.cv.wait(g, [&] { return c->gone || !s.hold || s.releases > 0; });
            if (c->gone) return;
            if (s.hold) --s.releases;
            c->connected = true;
            c->connectedAt = c->lastTraffic = Clock::now();
            save(s);
        }
        c->state = step;
        g.unlock();
        PostMessage(notifier, message, step, 0);
    }
}

class SimService : public Service {
public:
    std::uint32_t EnumDevices(std::vector<Device>* devices) override {
        Sim& s = sim();
        devices->assign(std::begin(kOtherDevices), std::end(kOtherDevices));
        std::lock_guard g(s.m);
        const std::string name = modemName();
        if (!name.empty() && !s.modemHidden) devices->push_back({"modem", name});
        return OK;
    }

    std::uint32_t ValidateEntryName(const std::string& name) override {
        Sim& s = sim();
        std::vector<std::shared_ptr<Event>> sig;
        std::lock_guard g(s.m);
        ensureFolder(s, &sig);
        signalAll(sig);
        if (name.empty() || name.size() > kMaxEntryName || name.find_first_of("\\/:*?\"<>|") != std::string::npos ||
            name.front() == ' ' || name.front() == '.')
            return ERR_INVALID_NAME;
        return s.entries.count(name) ? ERR_ALREADY_EXISTS : OK;
    }

    std::uint32_t SetEntryProperties(const std::string& name, const Entry& entry) override {
        if (name.empty() || name.size() > kMaxEntryName) return ERR_INVALID_NAME;
        if (entry.deviceType.size() > kMaxDeviceType || entry.deviceName.size() > kMaxDeviceName ||
            entry.phoneNumber.size() > kMaxPhoneNumber)
            return 87;   // invalid parameter
        Sim& s = sim();
        std::vector<std::shared_ptr<Event>> sig;
        std::lock_guard g(s.m);
        ensureFolder(s, &sig);
        signalAll(sig);
        s.entries[name] = entry;
        save(s);
        return OK;
    }

    std::uint32_t DeleteEntry(const std::string& name) override {
        Sim& s = sim();
        std::lock_guard g(s.m);
        for (const auto& [h, c] : s.conns)
            if (c->entryName == name) return 5;   // in use by a connection
        if (!s.entries.erase(name)) return ERR_CANNOT_FIND_ENTRY;
        save(s);
        return OK;
    }

    std::uint32_t Dial(const DialParams& params, HWND notifier, UINT message, HCONN* handle) override {
        Sim& s = sim();
        std::vector<std::shared_ptr<Event>> sig;
        std::unique_lock g(s.m);
        ensureFolder(s, &sig);
        s.last = params;
        auto e = s.entries.find(params.entryName);
        auto c = std::make_shared<Conn>();
        c->handle = s.next++;
        c->entryName = params.entryName;
        c->user = params.userName;
        if (handle) *handle = c->handle;
        s.conns[c->handle] = c;
        std::uint32_t immediate = 0;
        if (!s.failDialCall.empty()) {
            immediate = s.failDialCall.front();
            s.failDialCall.pop_front();
        } else if (e == s.entries.end()) {
            immediate = ERR_CANNOT_FIND_ENTRY;
        } else {
            for (const auto& [h, other] : s.conns)
                if (other != c && other->deviceName == e->second.deviceName && !other->error) immediate = ERR_PORT_ALREADY_OPEN;
        }
        if (immediate) {
            c->error = immediate;
            return immediate;
        }
        c->deviceType = e->second.deviceType;
        c->deviceName = e->second.deviceName;
        std::uint32_t fail = 0;
        if (!s.failDial.empty()) {
            fail = s.failDial.front();
            s.failDial.pop_front();
        } else if (c->deviceName != modemName() || s.modemHidden) {
            fail = ERR_PORT_NOT_AVAILABLE;
        } else if (!s.acceptUser.empty() && (params.userName != s.acceptUser || params.password != s.acceptPassword)) {
            fail = ERR_AUTHENTICATION_FAILURE;
        }
        g.unlock();
        signalAll(sig);
        std::thread(runDial, c, notifier, message, fail).detach();
        return OK;
    }

    std::uint32_t GetConnectStatus(HCONN handle, ConnStatus* status) override {
        Sim& s = sim();
        std::lock_guard g(s.m);
        auto it = s.conns.find(handle);
        if (it == s.conns.end()) return ERR_INVALID_HANDLE;
        status->state = it->second->state;
        status->error = it->second->error;
        status->deviceType = it->second->deviceType;
        status->deviceName = it->second->deviceName;
        return OK;
    }

    std::uint32_t GetConnectionStatistics(HCONN handle, Stats* stats) override {
        Sim& s = sim();
        std::lock_guard g(s.m);
        auto it = s.conns.find(handle);
        if (it == s.conns.end()) return ERR_INVALID_HANDLE;
        Conn& c = *it->second;
        *stats = Stats{};
        if (!c.connected) return OK;
        advanceTraffic(s, c);
        stats->bytesSent = counter(c.sent);
        stats->bytesReceived = counter(c.received);
        stats->durationMs = static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - c.connectedAt).count());
        if (Clock::now() - s.lastSave > std::chrono::seconds(5)) save(s);
        return OK;
    }

    std::uint32_t ClearConnectionStatistics(HCONN handle) override {
        Sim& s = sim();
        std::lock_guard g(s.m);
        auto it = s.conns.find(handle);
        if (it == s.conns.end()) return ERR_INVALID_HANDLE;
        advanceTraffic(s, *it->second);
        it->second->sent = it->second->received = 0;
        return OK;
    }

    std::uint32_t HangUp(HCONN handle) override {
        Sim& s = sim();
        {
            std::lock_guard g(s.m);
            if (!s.conns.count(handle)) return ERR_INVALID_HANDLE;
            if (!s.failHangUp.empty()) {
                const std::uint32_t code = s.failHangUp.front();
                s.failHangUp.pop_front();
                return code;
            }
        }
        // Taking the line down takes a moment, as on a real modem.
        if (!sim().instant) std::this_thread::sleep_for(std::chrono::milliseconds(400));
        std::vector<std::shared_ptr<Event>> sig;
        {
            std::lock_guard g(s.m);
            ++s.hangUps;
            endConnection(s, handle, &sig);
        }
        signalAll(sig);
        return OK;
    }

    std::uint32_t EnumConnections(std::vector<Connection>* connections) override {
        Sim& s = sim();
        std::vector<std::shared_ptr<Event>> sig;
        std::lock_guard g(s.m);
        ensureFolder(s, &sig);
        signalAll(sig);
        connections->clear();
        for (const auto& [h, c] : s.conns)
            if (!c->error) connections->push_back({h, c->entryName, c->deviceName});
        return OK;
    }

    std::uint32_t ConnectionNotification(HCONN handle, std::shared_ptr<Event> event) override {
        Sim& s = sim();
        std::lock_guard g(s.m);
        if (s.failNotify > 0) {
            --s.failNotify;
            return 31;   // the device does not answer
        }
        auto it = s.conns.find(handle);
        if (it == s.conns.end()) return ERR_INVALID_HANDLE;
        it->second->watchers.push_back(std::move(event));
        return OK;
    }

    std::uint32_t GetErrorString(std::uint32_t code, std::string* text) override {
        static const std::map<std::uint32_t, const char*> texts = {
            {ERR_INVALID_HANDLE, "The connection handle is not valid."},
            {ERR_INVALID_NAME, "The connection name is not valid."},
            {ERR_PORT_ALREADY_OPEN, "The modem is already in use by another connection."},
            {ERR_CANNOT_FIND_ENTRY, "The connection entry could not be found."},
            {ERR_PORT_NOT_AVAILABLE, "The modem is not available or is being used by another program."},
            {ERR_LINE_BUSY, "The line is busy."},
            {ERR_NO_ANSWER, "The network did not answer."},
            {ERR_NO_CARRIER, "No carrier was detected: the network did not take the call."},
            {ERR_AUTHENTICATION_FAILURE, "The network refused the user name or password."},
        };
        auto it = texts.find(code);
        if (it == texts.end()) return ERR_NO_TEXT;
        *text = it->second;
        return OK;
    }
};

}  // namespace

namespace dialup_sim {

dialup::Service& Service() {
    static SimService s;
    return s;
}

void Reset() {
    Sim& s = sim();
    std::vector<std::shared_ptr<Event>> sig;
    {
        std::lock_guard g(s.m);
        forgetAll(s, &sig);
        s.folder = paths::ProgramFolder();
        QFile::remove(statePath());
        s.failDial.clear();
        s.failDialCall.clear();
        s.failHangUp.clear();
        s.failNotify = 0;
        s.acceptUser.clear();
        s.acceptPassword.clear();
        s.hold = false;
        s.releases = 0;
        s.growth = true;
        s.modemHidden = false;
        s.hangUps = 0;
        s.last = DialParams{};
    }
    signalAll(sig);
}

void SetInstantTiming(bool instant) {
    std::lock_guard g(sim().m);
    sim().instant = instant;
}
void FailNextDial(std::uint32_t code) {
    std::lock_guard g(sim().m);
    sim().failDial.push_back(code);
}
void FailNextDialCall(std::uint32_t code) {
    std::lock_guard g(sim().m);
    sim().failDialCall.push_back(code);
}
void FailNextHangUp(std::uint32_t code) {
    std::lock_guard g(sim().m);
    sim().failHangUp.push_back(code);
}
void FailNotifications(int count) {
    std::lock_guard g(sim().m);
    sim().failNotify = count;
}
void SetAcceptedCredentials(const std::string& user, const std::string& password) {
    std::lock_guard g(sim().m);
    sim().acceptUser = user;
    sim().acceptPassword = password;
}
void HoldDials(bool hold) {
    std::lock_guard g(sim().m);
    sim().hold = hold;
    if (hold) sim().releases = 0;
    sim().cv.notify_all();
}
void ReleaseDial() {
    std::lock_guard g(sim().m);
    ++sim().releases;
    sim().cv.notify_all();
}
void DropLine() {
    Sim& s = sim();
    std::vector<std::shared_ptr<Event>> sig;
    {
        std::lock_guard g(s.m);
        HCONN up = 0;
        for (const auto& [h, c] : s.conns)
            if (c->connected) up = h;
        if (up) endConnection(s, up, &sig);
    }
    signalAll(sig);
}
void SetCounters(std::uint32_t sent, std::uint32_t received) {
    Sim& s = sim();
    std::lock_guard g(s.m);
    for (auto& [h, c] : s.conns) {
        if (!c->connected) continue;
        advanceTraffic(s, *c);
        c->sent = sent;
        c->received = received;
    }
}
void SetTrafficGrowth(bool grow) {
    Sim& s = sim();
    std::lock_guard g(s.m);
    for (auto& [h, c] : s.conns)
        if (c->connected) advanceTraffic(s, *c);
    s.growth = grow;
}
void Restart() {
    Sim& s = sim();
    std::vector<std::shared_ptr<Event>> sig;
    {
        std::lock_guard g(s.m);
        save(s);
        forgetAll(s, &sig);
        load(s);
    }
    signalAll(sig);
}
void SetModemAvailable(bool available) {
    std::lock_guard g(sim().m);
    sim().modemHidden = !available;
}
bool Connected() {
    std::lock_guard g(sim().m);
    for (const auto& [h, c] : sim().conns)
        if (c->connected) return true;
    return false;
}
int ConnectionCount() {
    std::lock_guard g(sim().m);
    int n = 0;
    for (const auto& [h, c] : sim().conns)
        if (!c->error) ++n;
    return n;
}
int HangUpCount() {
    std::lock_guard g(sim().m);
    return sim().hangUps;
}
bool EntryExists(const std::string& name) {
    std::lock_guard g(sim().m);
    return sim().entries.count(name) > 0;
}
dialup::Entry EntryOf(const std::string& name) {
    std::lock_guard g(sim().m);
    auto it = sim().entries.find(name);
    return it == sim().entries.end() ? dialup::Entry{} : it->second;
}
dialup::DialParams LastDial() {
    std::lock_guard g(sim().m);
    return sim().last;
}

}  // namespace dialup_sim
