// The phonebook exchange files.
//
// "phonebook.dat": whole contact records of 3494 bytes, back to back, exactly
// as held in memory, no header or trailer.
// "phonebook.txt": one line per contact in the system code page, ended by
// CR LF: name, mobile, home number, phone 1 and group name, tab-separated.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <vector>

#include "velkdev/velkdev.h"

namespace pbfile {

inline const char* const kRecordFileName = "phonebook.dat";
inline const char* const kTextFileName = "phonebook.txt";

// The records as one "phonebook.dat" image.
QByteArray RecordImage(const std::vector<const _VELK_CONTACT_RECORD*>& records);
// Writes the image atomically; false when the file cannot be written.
bool WriteRecords(const QString& path, const std::vector<const _VELK_CONTACT_RECORD*>& records);

struct ReadResult {
    std::vector<_VELK_CONTACT_RECORD> records;  // the usable chunks, in file order
    std::size_t badStorage = 0;                  // chunks skipped for a storage byte not 0, 1 or 2
    std::size_t fragmentBytes = 0;               // bytes of a trailing partial chunk, ignored
};
// Splits an image into whole records. Every text field and number slot of a
// record is terminated inside its width.
ReadResult ParseRecords(const QByteArray& image);
// Reads a file; false when it cannot be opened.
bool ReadRecords(const QString& path, ReadResult* out);

// One line of "phonebook.txt" for a contact and its group's name.
QByteArray TextLine(const _VELK_CONTACT_RECORD& r, const char* groupName);

}  // namespace pbfile
