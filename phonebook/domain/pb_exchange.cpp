#include "phonebook/domain/pb_exchange.h"

#include "phonebook/domain/bl_pb.h"
#include "phonebook/domain/pb_files.h"
#include "platform/files.h"

namespace pbfile {

bool WriteText(const QString& path, const std::vector<const _VELK_CONTACT_RECORD*>& records) {
    QByteArray text;
    for (const _VELK_CONTACT_RECORD* r : records) {
        if (!r) continue;
        _VELK_GROUP_RECORD g{};
        g.storage = r->storage;
        const bool named = BL_GetGroupName(static_cast<std::int32_t>(r->groupId), &g) == 0;
        g.name[sizeof g.name - 1] = 0;
        text += TextLine(*r, named ? g.name : "");
    }
    return files::WriteAtomic(path, text);
}

ImportOutcome Import(const QString& path) {
    ImportOutcome out;
    ReadResult read;
    if (!ReadRecords(path, &read)) return out;
    out.opened = true;
    out.skipped = read.badStorage;
    out.fragmentBytes = read.fragmentBytes;
    for (_VELK_CONTACT_RECORD& r : read.records) {
        const _VELK_CONTACT_RECORD* stored = nullptr;
        const std::uint16_t code = BL_AddContact(&r, &stored);
        if (code == 0) {
            ++out.added;
        } else {
            ++out.failed;
            out.lastError = code;
        }
    }
    return out;
}

}  // namespace pbfile
