// The dial-up service: the operations the data-connection window relies on
// (devices, phonebook entries, dialling with progress messages to a window,
// status, statistics, hang-up, running connections, disconnection
// notification, error texts). Codes and states keep the classic numbers.
// The simulated service (dialup_sim.h) pairs with the simulated card.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/winmsg.h"

namespace dialup {

using HCONN = std::uintptr_t;   // 0: no connection

// Results.
enum : std::uint32_t {
    OK = 0,
    ERR_INVALID_HANDLE = 6,
    ERR_INVALID_NAME = 123,
    ERR_ALREADY_EXISTS = 183,
    ERR_PORT_ALREADY_OPEN = 602,
    ERR_CANNOT_FIND_ENTRY = 623,
    ERR_PORT_NOT_AVAILABLE = 633,
    ERR_LINE_BUSY = 676,
    ERR_NO_ANSWER = 678,
    ERR_NO_CARRIER = 679,
    ERR_AUTHENTICATION_FAILURE = 691,
    ERR_NO_TEXT = 1,   // GetErrorString: no text for the code
};

// Dial progress states (wParam of the dial-event message).
enum : std::uint32_t {
    CS_OpenPort = 0,
    CS_PortOpened = 1,
    CS_ConnectDevice = 2,
    CS_DeviceConnected = 3,
    CS_AllDevicesConnected = 4,
    CS_Authenticate = 5,
    CS_Authenticated = 14,
    CS_Connected = 0x2000,
    CS_Disconnected = 0x2001,
};

// Entry options and kinds.
enum : std::uint32_t {
    EO_SpecificIpAddr = 0x02,
    EO_SpecificNameServers = 0x04,
    EO_RemoteDefaultGateway = 0x10,
    EO_RequirePAP = 0x00040000,
    EO_RequireCHAP = 0x08000000,
    NP_Ip = 4,
    FP_Ppp = 1,
    ET_Phone = 1,
};

// Field limits of the classic records (characters, without the NUL).
inline constexpr std::size_t kMaxEntryName = 256;
inline constexpr std::size_t kMaxPhoneNumber = 128;
inline constexpr std::size_t kMaxUserName = 256;
inline constexpr std::size_t kMaxPassword = 256;
inline constexpr std::size_t kMaxDeviceType = 16;
inline constexpr std::size_t kMaxDeviceName = 128;

struct Device {
    std::string type;   // "modem", "isdn", "vpn", ...
    std::string name;
};

struct Entry {
    std::uint32_t options = 0;
    std::uint32_t ipAddress = 0;     // a.b.c.d as bytes a, b, c, d in that order
    std::uint32_t dns = 0;
    std::uint32_t dnsAlt = 0;
    std::string phoneNumber;
    std::string deviceType;
    std::string deviceName;
    std::uint32_t netProtocols = 0;
    std::uint32_t framingProtocol = 0;
    std::uint32_t type = 0;
};

struct DialParams {
    std::string entryName, phoneNumber, callbackNumber, userName, password, domain;
};

struct ConnStatus {
    std::uint32_t state = 0;
    std::uint32_t error = 0;
    std::string deviceType, deviceName;
};

struct Stats {
    std::uint32_t bytesSent = 0;
    std::uint32_t bytesReceived = 0;
    std::uint32_t durationMs = 0;
};

struct Connection {
    HCONN handle = 0;
    std::string entryName;
    std::string deviceName;
};

// An auto-reset event: Set wakes one wait (or the next one).
class Event {
public:
    void Set();
    // True when signalled within timeoutMs (negative: no time-out).
    bool Wait(int timeoutMs = -1);

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool signalled_ = false;
};

class Service {
public:
    virtual ~Service() = default;
    virtual std::uint32_t EnumDevices(std::vector<Device>* devices) = 0;
    // ERR_INVALID_NAME: unusable; ERR_ALREADY_EXISTS: the entry exists; 0: free.
    virtual std::uint32_t ValidateEntryName(const std::string& name) = 0;
    virtual std::uint32_t SetEntryProperties(const std::string& name, const Entry& entry) = 0;
    virtual std::uint32_t DeleteEntry(const std::string& name) = 0;
    // Returns at once; progress comes as `message` (wParam state, lParam error)
    // posted to notifier. *handle is set whenever a connection was begun.
    virtual std::uint32_t Dial(const DialParams& params, HWND notifier, UINT message, HCONN* handle) = 0;
    // ERR_INVALID_HANDLE once the connection is gone.
    virtual std::uint32_t GetConnectStatus(HCONN handle, ConnStatus* status) = 0;
    virtual std::uint32_t GetConnectionStatistics(HCONN handle, Stats* stats) = 0;
    virtual std::uint32_t ClearConnectionStatistics(HCONN handle) = 0;
    virtual std::uint32_t HangUp(HCONN handle) = 0;
    virtual std::uint32_t EnumConnections(std::vector<Connection>* connections) = 0;
    // Sets event once the connection has gone (at once if it has already).
    virtual std::uint32_t ConnectionNotification(HCONN handle, std::shared_ptr<Event> event) = 0;
    // 0 and the text, or ERR_NO_TEXT.
    virtual std::uint32_t GetErrorString(std::uint32_t code, std::string* text) = 0;
};

// The service in use: the simulated one unless another was set.
Service& Current();
// Tests or another backend; null restores the simulated service.
void SetService(Service* service);

}  // namespace dialup
