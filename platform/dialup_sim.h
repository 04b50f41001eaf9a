// The simulated dial-up service. Its modem is the data card's: a device of
// type "modem" named by the friendly name the card's driver keys give. A dial
// reports its progress, connects after a short delay and then counts traffic
// that grows like a real session. The running connection is kept in
// "dialup.state" in the program folder, so it survives a restart of Linkora.
// Control: dialup_control.h.
#pragma once

#include "platform/dialup.h"

namespace dialup_sim {
dialup::Service& Service();
}
