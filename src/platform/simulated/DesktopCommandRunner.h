#pragma once

#include "platform/CommandRunning.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace vesk::platform {

class SimulatedDesktop;

// Stands in for running the system's command-line tools against the desktop:
// "/usr/bin/defaults" (read, write with -bool/-int/-float/-string or a plain
// text, delete) on the desktop's defaults domains, and "/usr/bin/killall Dock",
// which restarts the Dock. Any other executable cannot be launched (exit
// status 1). Runs synchronously, on the caller's thread (the main thread).
// Failures print what the tools print: "defaults" starts its message with a
// blank line and a line naming itself, which callers trim.
class DesktopCommandRunner final : public CommandRunning {
public:
    explicit DesktopCommandRunner(SimulatedDesktop& desktop);

    CommandResult run(const QString& executable, const QStringList& arguments) override;
    // Every command asked for so far, also those that could not start: the
    // executable followed by its arguments.
    const std::vector<QStringList>& history() const { return history_; }
    void clearHistory() { history_.clear(); }

    // While set, no tool can start: every command fails with exit status 1
    // and this reason on standard error.
    void setLaunchFailure(std::optional<QString> reason) { launchFailure_ = std::move(reason); }
    // Called before each command runs (`finished` false) and after it ended
    // (true), with the command line; a test may crash Vesk's process there.
    void setCommandObserver(std::function<void(const QStringList& commandLine, bool finished)> observer)
    {
        observer_ = std::move(observer);
    }

    static inline const QString defaultsPath = QStringLiteral("/usr/bin/defaults");
    static inline const QString killallPath = QStringLiteral("/usr/bin/killall");

private:
    CommandResult runDefaults(const QStringList& arguments);
    CommandResult runKillall(const QStringList& arguments);

    CommandResult runTool(const QString& executable, const QStringList& arguments);

    SimulatedDesktop& desktop_;
    std::vector<QStringList> history_;
    std::optional<QString> launchFailure_;
    std::function<void(const QStringList&, bool)> observer_;
};

} // namespace vesk::platform
