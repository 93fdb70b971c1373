#pragma once

#include "enforcement/DockCommandRunning.h"

namespace vesk::platform {
class CommandRunning;
}

namespace vesk {

// Runs the tools through the platform's command runner (the simulated
// desktop's on this build). The runner outlives this object.
class SystemDockCommandRunner final : public DockCommandRunning {
public:
    explicit SystemDockCommandRunner(platform::CommandRunning& commands);

    DockCommandResult run(const QString& executablePath, const QStringList& arguments) override;

private:
    platform::CommandRunning& commands_;
};

} // namespace vesk
