#pragma once

#include "platform/CommandRunning.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace vesk::platform {

class SimulatedDesktop;

// Stands in for running the system's command-line tools against the desktop:
// "/usr/bin/defaults" (read, write with -bool/-int/-float/-string or a plain
// text, delete) on the desktop's defaults domains, and "/usr/bin/killall Dock",
// which restarts the Dock. Any other executable cannot be launched (exit
// status 1). Runs synchronously, on the caller's thread (the main thread).
class DesktopCommandRunner final : public CommandRunning {
public:
    explicit DesktopCommandRunner(SimulatedDesktop& desktop);

    CommandResult run(const QString& executable, const QStringList& arguments) override;
    // Every command run so far: the executable followed by its arguments.
    const std::vector<QStringList>& history() const { return history_; }

    static inline const QString defaultsPath = QStringLiteral("/usr/bin/defaults");
    static inline const QString killallPath = QStringLiteral("/usr/bin/killall");

private:
    CommandResult runDefaults(const QStringList& arguments);
    CommandResult runKillall(const QStringList& arguments);

    SimulatedDesktop& desktop_;
    std::vector<QStringList> history_;
};

} // namespace vesk::platform
