#pragma once

#include "platform/ApplicationSpec.h"
#include "platform/DisplaySpec.h"
#include "platform/SimulatedDesktop.h"
#include "platform/WindowSpec.h"

#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Pieces of a simulated desktop as tests build it in code.
namespace vesk::test {

inline platform::WindowSpec windowSpec(QRectF quartzBounds, double alpha = 1.0, int layer = 0)
{
    platform::WindowSpec spec;
    spec.bounds = quartzBounds;
    spec.alpha = alpha;
    spec.layer = layer;
    return spec;
}

// Named after the last part of its bundle identifier.
inline platform::ApplicationSpec application(const QString& bundleID, std::vector<platform::WindowSpec> windows)
{
    platform::ApplicationSpec spec;
    spec.bundleIdentifier = bundleID;
    spec.name = bundleID.section('.', -1);
    spec.windows = std::move(windows);
    return spec;
}

// The bundle identifier of a window owner as the application looks it up:
// ours for our own process, none for an application that has quit.
inline std::function<std::optional<QString>(qint32)> bundleIdentifierLookup(const platform::SimulatedDesktop& desktop)
{
    return [&desktop](qint32 pid) -> std::optional<QString> {
        if (pid == desktop.ownPID())
            return desktop.ownApplication().bundleIdentifier;
        const platform::DesktopApplication* app = desktop.application(pid);
        if (!app || app->terminated)
            return std::nullopt;
        return app->bundleIdentifier;
    };
}

} // namespace vesk::test
