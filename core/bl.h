// The business-layer facade: flat functions that forward to the core's domain
// objects. Windows include this one header. Every function checks that the
// core exists and answers 4001 (a count of 0) when it does not.
#pragma once

#include "core/base.h"
#include "core/settings_store.h"
#include "sms/domain/bl_sms.h"
#include "phonebook/domain/bl_pb.h"
#include "calls/domain/bl_cr.h"
