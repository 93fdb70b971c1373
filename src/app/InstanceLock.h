#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace vesk {

// One instance of the application per data folder: a second one would close
// the first one's running session as crashed and write into its store. The
// lock is the file "Vesk.lock" in the folder, held while the instance lives;
// a lock left behind by a process that no longer runs is taken over.
class InstanceLock {
public:
    static constexpr const char* fileName = "Vesk.lock";
    // A relaunch (after a permission grant, after an update) starts the new
    // instance before the old one has ended; the new one waits this long.
    static constexpr double relaunchWaitSeconds = 5;

    // Takes the lock of `folder` (creating the folder), waiting up to
    // `waitSeconds` for another instance to let go. Null with the reason in
    // `error` when another instance still holds it or the lock file cannot be made.
    static std::unique_ptr<InstanceLock> acquire(const QString& folder, double waitSeconds, QString* error);

    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    QString path() const { return path_; }

private:
    explicit InstanceLock(const QString& path);

    QString path_;
    QLockFile file_;
};

} // namespace vesk
