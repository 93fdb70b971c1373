#pragma once

#include <QStringList>

namespace vesk::platform {

// How the workspace opens an application.
struct OpenConfiguration {
    bool activates = true;
    bool hides = false;
    bool createsNewApplicationInstance = false;
    QStringList arguments;

    bool operator==(const OpenConfiguration&) const = default;
};

} // namespace vesk::platform
