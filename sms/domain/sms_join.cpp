#include "sms/domain/sms_join.h"

#include <cstring>
#include <functional>
#include <string>
#include <unordered_map>

#include "platform/codepage.h"
#include "sms/domain/sms_convert.h"

// The groups are found through a table by (number, reference, folder, total)
// and, per key and part number, a cursor past the groups that can never take
// that part again (full, or already holding the part number). Both only ever
// grow, so each cursor moves forward and the join costs linear time.
namespace {

struct Key {
    std::string number;
    std::uint16_t reference;
    std::uint8_t folder;
    std::uint8_t total;
    bool operator==(const Key&) const = default;
};
struct KeyHash {
    std::size_t operator()(const Key& k) const {
        return std::hash<std::string>()(k.number) ^ (static_cast<std::size_t>(k.reference) << 17) ^
               (static_cast<std::size_t>(k.folder) << 33) ^ (static_cast<std::size_t>(k.total) << 41);
    }
};

struct Group {
    std::unique_ptr<SmsRecord> rec;
    int filled = 0;
    bool open() const { return filled < rec->total && filled != SMS_SLOTS; }
    bool holdsPart(std::uint8_t part) const {
        for (const SmsPartSlot& s : rec->partSlots)
            if (s.present && s.partNumber == part) return true;
        return false;
    }
    bool holdsIndex(std::uint16_t index) const {
        for (const SmsPartSlot& s : rec->partSlots)
            if (s.present && s.index == index) return true;
        return false;
    }
};

struct KeyGroups {
    std::vector<std::size_t> groups;    // positions in the group list, in creation order
    std::vector<std::size_t> cursor;    // per part number
};

bool takesPart(const SmsRecord& x) {
    if (!x.concatenated || x.total == 0) return false;
    const int parts = SmsPartCount(x);
    return parts < x.total && parts != SMS_SLOTS;
}

Key keyOf(const SmsRecord& x) {
    return {std::string(x.number, codepage::FieldLength(x.number, sizeof x.number)), x.reference, x.folder, x.total};
}

void put(Group& y, const SmsRecord& x) {
    for (SmsPartSlot& s : y.rec->partSlots) {
        if (s.present && s.index == x.index) return;
        if (!s.present) {
            s.index = x.index;
            s.present = 1;
            s.partNumber = x.partNumber;
            ++y.filled;
            return;
        }
    }
}

}  // namespace

void JoinConcatenated(SmsList& list) {
    std::vector<Group> groups;
    std::unordered_map<Key, KeyGroups, KeyHash> byKey;

    for (const auto& xp : list) {
        const SmsRecord& x = *xp;
        if (!takesPart(x)) continue;
        KeyGroups& kg = byKey[keyOf(x)];
        if (kg.cursor.size() <= x.partNumber) kg.cursor.resize(x.partNumber + 1u, 0);
        std::size_t& cur = kg.cursor[x.partNumber];
        while (cur < kg.groups.size()) {
            const Group& g = groups[kg.groups[cur]];
            if (g.open() && !g.holdsPart(x.partNumber)) break;
            ++cur;
        }
        Group* y = nullptr;
        for (std::size_t j = cur; j < kg.groups.size() && !y; ++j) {
            Group& g = groups[kg.groups[j]];
            if (g.open() && !g.holdsPart(x.partNumber) && !g.holdsIndex(x.index)) y = &g;
        }
        if (!y) {
            Group g;
            g.rec = std::make_unique<SmsRecord>(x);
            std::memset(g.rec->body, 0, sizeof g.rec->body);
            g.filled = SmsPartCount(x);
            kg.groups.push_back(groups.size());
            groups.push_back(std::move(g));
            y = &groups.back();
        }
        if (x.status == SMS_UNREAD) y->rec->status = SMS_UNREAD;
        put(*y, x);
    }
    if (groups.empty()) return;

    // Each group collects the bodies of the concatenated records holding its
    // partSlots' indexes (in list order), which leave the list; then the group is
    // appended. Appended groups are found again like any other record.
    const std::size_t n = list.size();
    std::vector<SmsRecord*> all;
    all.reserve(n + groups.size());
    std::unordered_map<std::uint16_t, std::vector<std::size_t>> byIndex;
    for (std::size_t i = 0; i < n; ++i) {
        all.push_back(list[i].get());
        if (list[i]->concatenated) byIndex[std::uint16_t{list[i]->index}].push_back(i);
    }
    std::vector<bool> removed(n + groups.size(), false);
    for (Group& g : groups) {
        SmsRecord& y = *g.rec;
        for (const SmsPartSlot& s : y.partSlots) {
            if (!s.present) continue;
            const std::uint16_t index = s.index;  // packed: read by value
            auto it = byIndex.find(index);
            if (it == byIndex.end()) continue;
            for (std::size_t pos : it->second) {
                if (removed[pos]) continue;
                const SmsRecord& part = *all[pos];
                smsconv::AppendBody(y, part.body, sizeof part.body);
                removed[pos] = true;
            }
        }
        const std::size_t pos = all.size();
        all.push_back(&y);
        byIndex[std::uint16_t{y.index}].push_back(pos);
    }

    SmsList joined;
    joined.reserve(n + groups.size());
    for (std::size_t i = 0; i < n; ++i)
        if (!removed[i]) joined.push_back(std::move(list[i]));
    for (std::size_t k = 0; k < groups.size(); ++k)
        if (!removed[n + k]) joined.push_back(std::move(groups[k].rec));
    list = std::move(joined);  // the parts taken in are freed here
}
