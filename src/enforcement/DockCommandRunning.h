#pragma once

#include "platform/CommandResult.h"

#include <QString>
#include <QStringList>

namespace vesk {

// Exit status, standard output and standard error of a tool that has ended.
using DockCommandResult = platform::CommandResult;

// Runs a command-line tool ("/usr/bin/defaults", "/usr/bin/killall") with its
// arguments passed one by one, no shell involved, and returns once it has
// ended. A tool that cannot be started gives exit status 1 with the reason as
// its standard error. Used by the Dock fallback and the screenshot-thumbnail
// suppression.
class DockCommandRunning {
public:
    virtual ~DockCommandRunning() = default;
    virtual DockCommandResult run(const QString& executablePath, const QStringList& arguments) = 0;
};

} // namespace vesk
