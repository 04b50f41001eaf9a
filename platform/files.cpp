#include "platform/files.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace files {

bool WriteAtomic(const QString& path, const void* data, std::size_t size, bool ownerOnly) {
    const QByteArray target = QFile::encodeName(path);
    const QByteArray tmp = target + ".tmp";
    mode_t mode = ownerOnly ? 0600 : 0644;
    struct stat st {};
    if (!ownerOnly && ::stat(target.constData(), &st) == 0) mode = st.st_mode & 0777;
    const int fd = ::open(tmp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) return false;
    const char* p = static_cast<const char*>(data);
    std::size_t left = size;
    bool ok = true;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n <= 0) {
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && ownerOnly) ::chmod(tmp.constData(), 0600);
    if (ok && ::rename(tmp.constData(), target.constData()) != 0) ok = false;
    if (!ok) ::unlink(tmp.constData());
    return ok;
}

std::optional<QByteArray> ReadAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return f.readAll();
}

}  // namespace files
