#include "phonebook/domain/pb_files.h"

#include <cstring>

#include "phonebook/domain/pb_fit.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace pbfile {

QByteArray RecordImage(const std::vector<const _VELK_CONTACT_RECORD*>& records) {
    QByteArray image;
    image.reserve(static_cast<qsizetype>(records.size() * sizeof(_VELK_CONTACT_RECORD)));
    for (const _VELK_CONTACT_RECORD* r : records)
        if (r) image.append(reinterpret_cast<const char*>(r), sizeof *r);
    return image;
}

bool WriteRecords(const QString& path, const std::vector<const _VELK_CONTACT_RECORD*>& records) {
    return files::WriteAtomic(path, RecordImage(records));
}

ReadResult ParseRecords(const QByteArray& image) {
    constexpr std::size_t kSize = sizeof(_VELK_CONTACT_RECORD);
    const auto total = static_cast<std::size_t>(image.size());
    ReadResult out;
    out.fragmentBytes = total % kSize;
    for (std::size_t at = 0; at + kSize <= total; at += kSize) {
        _VELK_CONTACT_RECORD r;
        std::memcpy(&r, image.constData() + at, kSize);
        if (r.storage > 2) {  // would name no storage
            ++out.badStorage;
            continue;
        }
        pbfit::TerminateFields(r);
        out.records.push_back(r);
    }
    return out;
}

bool ReadRecords(const QString& path, ReadResult* out) {
    auto image = files::ReadAll(path);
    if (!image) return false;
    if (out) *out = ParseRecords(*image);
    return true;
}

QByteArray TextLine(const _VELK_CONTACT_RECORD& r, const char* groupName) {
    auto field = [](const char* f, std::size_t width) {
        return QByteArray(f, static_cast<qsizetype>(codepage::FieldLength(f, width)));
    };
    QByteArray line;
    line += field(r.name, sizeof r.name);
    line += '\t';
    line += field(r.numbers[SLOT_MOBILE].number, sizeof r.numbers[0].number);
    line += '\t';
    line += field(r.numbers[SLOT_HOME].number, sizeof r.numbers[0].number);
    line += '\t';
    line += field(r.numbers[SLOT_PHONE1].number, sizeof r.numbers[0].number);
    line += '\t';
    if (groupName) line += field(groupName, sizeof(_VELK_GROUP_RECORD::name));
    line += "\r\n";
    return line;
}

}  // namespace pbfile
