#include "app/InstanceLock.h"

#include <QDir>

#include <algorithm>
#include <cmath>

namespace vesk {

InstanceLock::InstanceLock(const QString& path) : path_(path), file_(path)
{
    // Held for the instance's whole life, however long: only a holder that
    // no longer runs makes the lock stale, never its age.
    file_.setStaleLockTime(0);
}

std::unique_ptr<InstanceLock> InstanceLock::acquire(const QString& folder, double waitSeconds, QString* error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("Cannot create the data folder %1").arg(folder);
        return nullptr;
    }
    auto lock = std::unique_ptr<InstanceLock>(new InstanceLock(QDir(folder).filePath(QString::fromUtf8(fileName))));
    const int waitMilliseconds = static_cast<int>(std::lround(std::clamp(waitSeconds, 0.0, 60.0) * 1000));
    if (lock->file_.tryLock(waitMilliseconds))
        return lock;

    if (lock->file_.error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host;
        QString application;
        lock->file_.getLockInfo(&pid, &host, &application);
        *error = QStringLiteral("Vesk is already running with the data folder %1 (process %2); "
                                "this instance ends without opening the store")
                     .arg(folder)
                     .arg(pid);
    } else {
        *error = QStringLiteral("Cannot create the lock file %1").arg(lock->path());
    }
    return nullptr;
}

} // namespace vesk
