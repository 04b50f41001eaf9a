#include "connect/connect_host.h"

#include <QWidget>

#include "app/windows.h"

namespace {
ConnectHost g_host;
}

ConnectHost& Host() { return g_host; }
void ResetHost() { g_host = ConnectHost{}; }

namespace host {
void SetMainTitle(const QString& t) {
    if (g_host.SetMainTitle) g_host.SetMainTitle(t);
}
bool HasNetworkService() { return g_host.HasNetworkService ? g_host.HasNetworkService() : true; }
void ShowConnected() {
    if (g_host.ShowConnected) g_host.ShowConnected();
}
void ShowDisconnected() {
    if (g_host.ShowDisconnected) g_host.ShowDisconnected();
}
void SetNetworkType(const QString& t) {
    if (g_host.SetNetworkType) g_host.SetNetworkType(t);
}
void UpdateDriverNetState() {
    if (g_host.UpdateDriverNetState) g_host.UpdateDriverNetState();
}
bool CallInProgress() { return g_host.CallInProgress && g_host.CallInProgress(); }
std::uint8_t DeviceState() { return g_host.DeviceState ? g_host.DeviceState() : 0; }

std::vector<HWND> DataStateReceivers() {
    if (g_host.DataStateReceivers) return g_host.DataStateReceivers();
    // Without a main window: the settings pages that exist.
    std::vector<HWND> out;
    for (const char* name : {"TSet_netform", "TSet_securityform", "TSet_SS", "TSet_msgform", "TSet_soundform"})
        if (auto* t = dynamic_cast<MessageTarget*>(windows::Find(name))) out.push_back(t->Handle());
    return out;
}
}  // namespace host
