#pragma once

#include <QString>

namespace vesk::platform {

// What a command-line tool left behind when it ended.
struct CommandResult {
    int exitStatus = 0;
    QString standardOutput;
    QString standardError;

    bool operator==(const CommandResult&) const = default;
};

} // namespace vesk::platform
