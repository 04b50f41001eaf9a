// The exchange-file commands of the phonebook screens, on top of the facade:
// writing the text file with group names, exporting and importing records.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "velkdev/velkdev.h"

namespace pbfile {

// Writes "phonebook.txt" lines for the records, in order, with each group's
// name looked up in the record's storage. False when the file cannot be written.
bool WriteText(const QString& path, const std::vector<const _VELK_CONTACT_RECORD*>& records);

struct ImportOutcome {
    bool opened = false;        // the file could be read
    int added = 0;              // contacts added
    int failed = 0;             // usable records the store refused
    std::size_t skipped = 0;    // records naming no storage
    std::size_t fragmentBytes = 0;  // trailing partial record, ignored
    std::uint16_t lastError = 0;    // the last refusal's code
};
// Adds every whole record of a "phonebook.dat" file to the storage its
// storage byte names.
ImportOutcome Import(const QString& path);

}  // namespace pbfile
