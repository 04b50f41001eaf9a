// Whole-file reads and atomic replacement of configuration files.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <optional>

namespace files {

// Writes data to "<path>.tmp", flushes it to disk and renames it over path,
// so a failing or interrupted write leaves the previous file whole.
// ownerOnly creates the file readable and writable by its owner only.
bool WriteAtomic(const QString& path, const void* data, std::size_t size, bool ownerOnly = false);
inline bool WriteAtomic(const QString& path, const QByteArray& data, bool ownerOnly = false) {
    return WriteAtomic(path, data.constData(), static_cast<std::size_t>(data.size()), ownerOnly);
}
// The whole file, or nothing when it cannot be opened.
std::optional<QByteArray> ReadAll(const QString& path);

}  // namespace files
