#include "platform/instance.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

QString InstanceLockPath(const QString& name) {
    QString dir = QString::fromLocal8Bit(qgetenv("XDG_RUNTIME_DIR"));
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QStringLiteral("/tmp");
    QString file = name;
    file.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QDir(dir).filePath(file + QStringLiteral(".lock"));
}

SingleInstance::SingleInstance(const QString& name) : path_(InstanceLockPath(name)) {
    const QByteArray p = QFile::encodeName(path_);
    fd_ = ::open(p.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        // Without a lock file we cannot tell; run rather than refuse to start.
        return;
    }
    int r;
    do {
        r = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (r != 0 && errno == EINTR);
    if (r != 0) {
        alreadyExists_ = (errno == EWOULDBLOCK);
        ::close(fd_);
        fd_ = -1;
    }
}

SingleInstance::~SingleInstance() {
    // Held for the life of the process; closing releases it.
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform
