// What the data-connection windows need from the main window and its status
// display, as replaceable hooks: the windows work (and are tested) without a
// main window, and the main window fills the hooks when it creates them.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/winmsg.h"

struct ConnectHost {
    std::function<void(const QString&)> SetMainTitle;
    // False when the network-type text reads "No Service".
    std::function<bool()> HasNetworkService;
    std::function<void()> ShowConnected;       // connected indication, sound
    std::function<void()> ShowDisconnected;    // not-connected indication, sound
    std::function<void(const QString&)> SetNetworkType;
    std::function<void()> UpdateDriverNetState;
    std::function<bool()> CallInProgress;      // a voice call exists
    std::function<std::uint8_t()> DeviceState; // the main window's device state code
    // Windows told of every connection state (1127): the main window and the
    // settings pages that listen.
    std::function<std::vector<HWND>()> DataStateReceivers;
};

// The hooks in use; unset hooks do nothing (and report service, no call).
ConnectHost& Host();
// Restores the defaults (tests).
void ResetHost();

// Helpers that respect unset hooks.
namespace host {
void SetMainTitle(const QString& t);
bool HasNetworkService();
void ShowConnected();
void ShowDisconnected();
void SetNetworkType(const QString& t);
void UpdateDriverNetState();
bool CallInProgress();
std::uint8_t DeviceState();
std::vector<HWND> DataStateReceivers();
}  // namespace host
