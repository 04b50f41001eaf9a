#include "phonebook/domain/pb_groups.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

void GroupTable::Load(std::uint8_t storage) {
    std::fill(entries_.begin(), entries_.end(), _VELK_GROUP_RECORD{});
    count_ = 0;
    _VELK_GROUP_RECORD g{};
    g.storage = storage;
    for (VELK_RESULT r = Velk_GetFirstGroup(&g); r == 0; r = Velk_GetNextGroup(&g)) {
        if (count_ >= entries_.size()) break;
        Terminate(g);
        entries_[count_++] = g;
        g = _VELK_GROUP_RECORD{};
        g.storage = storage;
    }
}

bool GroupTable::Append(const _VELK_GROUP_RECORD& g) {
    if (count_ >= entries_.size()) return false;
    entries_[count_] = g;
    Terminate(entries_[count_]);
    ++count_;
    return true;
}

bool GroupTable::Remove(std::int32_t id) {
    for (std::uint32_t i = 0; i < count_; ++i) {
        if (entries_[i].id != id) continue;
        std::move(entries_.begin() + i + 1, entries_.begin() + count_, entries_.begin() + i);
        entries_[--count_] = _VELK_GROUP_RECORD{};
        return true;
    }
    return false;
}

_VELK_GROUP_RECORD* GroupTable::Find(std::int32_t id) {
    for (std::uint32_t i = 0; i < count_; ++i)
        if (entries_[i].id == id) return &entries_[i];
    return nullptr;
}

std::int32_t GroupTable::NextId() const {
    std::int32_t highest = 2008;
    for (std::uint32_t i = 0; i < count_; ++i) {
        const std::int32_t id = entries_[i].id;  // packed: read by value
        highest = std::max(highest, id);
    }
    return highest == INT32_MAX ? highest : highest + 1;  // no overflow on a hostile id
}
