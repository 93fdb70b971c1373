#pragma once

#include "platform/CommandResult.h"

#include <QString>
#include <QStringList>

namespace vesk::platform {

// Runs the system's command-line tools ("/usr/bin/defaults", "/usr/bin/killall")
// synchronously, on the caller's thread.
class CommandRunning {
public:
    virtual ~CommandRunning() = default;
    virtual CommandResult run(const QString& executable, const QStringList& arguments) = 0;
};

} // namespace vesk::platform
