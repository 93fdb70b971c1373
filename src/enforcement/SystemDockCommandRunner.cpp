#include "enforcement/SystemDockCommandRunner.h"

#include "platform/CommandRunning.h"

namespace vesk {

SystemDockCommandRunner::SystemDockCommandRunner(platform::CommandRunning& commands) : commands_(commands)
{
}

DockCommandResult SystemDockCommandRunner::run(const QString& executablePath, const QStringList& arguments)
{
    return commands_.run(executablePath, arguments);
}

} // namespace vesk
