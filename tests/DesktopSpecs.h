#pragma once

#include "platform/simulated/ApplicationSpec.h"
#include "platform/simulated/DisplaySpec.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "platform/simulated/WindowSpec.h"

#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// Pieces of a simulated desktop as tests build it in code.
namespace vesk::test {

// Named "Display <id>".
inline platform::DisplaySpec display(quint32 id, QRectF quartzBounds, int spaces = 1)
{
    platform::DisplaySpec spec;
    spec.displayID = id;
    spec.bounds = quartzBounds;
    spec.name = QStringLiteral("Display %1").arg(id);
    spec.spaceCount = spaces;
    return spec;
}

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

using BundleIdentifierOfProcess = std::function<std::optional<QString>(qint32 pid)>;

// The bundle identifier of a running application's process; none for an
// application that has quit and for our own process, whose windows are then
// left out of the snapshots.
inline BundleIdentifierOfProcess applicationBundleIdentifierLookup(const platform::SimulatedDesktop& desktop)
{
    return [&desktop](qint32 pid) -> std::optional<QString> {
        const platform::DesktopApplication* app = desktop.application(pid);
        if (!app || app->terminated)
            return std::nullopt;
        return app->bundleIdentifier;
    };
}

// The bundle identifier of a window owner as the application looks it up:
// ours for our own process, none for an application that has quit.
inline BundleIdentifierOfProcess bundleIdentifierLookup(const platform::SimulatedDesktop& desktop)
{
    return [&desktop, applications = applicationBundleIdentifierLookup(desktop)](qint32 pid) {
        if (pid == desktop.ownPID())
            return desktop.ownApplication().bundleIdentifier;
        return applications(pid);
    };
}

} // namespace vesk::test
