// Control of the simulated dial-up service, for tests and demos: make dials
// fail the way a network does, hold a dial, drop the line, set the traffic,
// and restart as Linkora would (a connection keeps running in between).
#pragma once

#include <cstdint>
#include <string>

#include "platform/dialup.h"

namespace dialup_sim {

// Forgets every connection and entry, removes the kept state, clears the
// failures and restores the default timing and traffic.
void Reset();
// Every delay 0 (tests); default off: a dial takes about two seconds.
void SetInstantTiming(bool instant);
// The next dial fails with this code at the step where a network reports it
// (676 busy and 679 no carrier while connecting the device, 691 refused
// credentials while authenticating, others at the device step).
void FailNextDial(std::uint32_t code);
// The next Dial call returns this code at once (a handle is still given out).
void FailNextDialCall(std::uint32_t code);
// The next hang-up returns this code and leaves the connection up.
void FailNextHangUp(std::uint32_t code);
// The next `count` disconnection-notification requests fail.
void FailNotifications(int count);
// Only these credentials are accepted (691 otherwise); empty user: any.
void SetAcceptedCredentials(const std::string& user, const std::string& password);
// true: dials stop before connecting; each ReleaseDial() lets one through
// (also one that has not got that far yet).
void HoldDials(bool hold);
void ReleaseDial();
// The line drops: the connection goes away and its notifications fire.
void DropLine();
// The counters of the running connection; growth off keeps them as set.
void SetCounters(std::uint32_t sent, std::uint32_t received);
void SetTrafficGrowth(bool grow);
// Linkora restarts: every connection is forgotten without hanging up, then
// the connection kept in the program folder ("dialup.state") is found again.
void Restart();
// The modem device is listed only while the card's driver keys name it;
// false hides it whatever the keys say, true follows the keys again.
void SetModemAvailable(bool available);

// Readings.
bool Connected();                  // a connection is up
int ConnectionCount();             // dialling or up
int HangUpCount();                 // hang-ups since Reset
bool EntryExists(const std::string& name);
dialup::Entry EntryOf(const std::string& name);
dialup::DialParams LastDial();

}  // namespace dialup_sim
