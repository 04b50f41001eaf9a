// The single-instance lock. A named, system-wide lock stands for the
// program's mutex: a lock file named after the mutex name under
// $XDG_RUNTIME_DIR (else /tmp), held with flock for the life of the process.
// The kernel drops the lock when the process ends, so a crashed instance
// never leaves a stale lock behind.
#pragma once

#include <QString>

namespace platform {

class SingleInstance {
public:
    // Creates (or opens) the lock named name and tries to take it.
    explicit SingleInstance(const QString& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when another process holds the lock ("the mutex already existed").
    bool AlreadyExists() const { return alreadyExists_; }
    // The lock file used.
    const QString& Path() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
    bool alreadyExists_ = false;
};

// The lock file a name maps to: <runtime dir>/<name>.lock, with '/' in the
// name replaced so the name stays one file.
QString InstanceLockPath(const QString& name);

}  // namespace platform
