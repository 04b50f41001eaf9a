// A storage's group table: group records in load order, at most `capacity`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "velkdev/velkdev.h"

class GroupTable {
public:
    explicit GroupTable(std::size_t capacity) : entries_(capacity) {}

    // Reloads from the library's walk of `storage`; groups beyond the
    // capacity are not kept. Every name is terminated inside its field.
    void Load(std::uint8_t storage);
    // Appends a record when there is room; false when the table is full.
    bool Append(const _VELK_GROUP_RECORD& g);
    // Removes the entry with this id, moving the later ones up; false if none.
    bool Remove(std::int32_t id);
    _VELK_GROUP_RECORD* Find(std::int32_t id);
    // One more than the larger of 2008 and the highest id held.
    std::int32_t NextId() const;

    const _VELK_GROUP_RECORD* Entries() const { return entries_.data(); }
    std::uint32_t Count() const { return count_; }
    std::size_t Capacity() const { return entries_.size(); }

    // Terminates a group name read from outside inside its field.
    static void Terminate(_VELK_GROUP_RECORD& g) { g.name[sizeof g.name - 1] = 0; }

private:
    std::vector<_VELK_GROUP_RECORD> entries_;  // zero-filled beyond count_
    std::uint32_t count_ = 0;
};
