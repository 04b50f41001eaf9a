// Joining the parts of concatenated messages in one store's list.
#pragma once

#include <memory>
#include <vector>

#include "sms/domain/sms_record.h"

using SmsList = std::vector<std::unique_ptr<SmsRecord>>;

// Puts the parts of each concatenated message together: parts are taken in
// list order and go to the first open group with the same number, reference,
// folder and total that holds neither their index nor their part number
// (else they start a group). A group takes at most five parts. Each group
// becomes one record, appended after the records it replaces, whose body is
// its parts' bodies in the order they were met and whose slots name them.
// Incomplete joined records take part again, so a late part finds its message.
void JoinConcatenated(SmsList& list);
