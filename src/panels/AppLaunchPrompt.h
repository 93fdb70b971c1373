#pragma once

#include <QString>
#include <QUuid>

namespace vesk {

// The allow-or-block question for an application launched during a session.
struct AppLaunchPrompt {
    // New for every prompt.
    QUuid id;
    QString bundleID;
    QString appName;

    bool operator==(const AppLaunchPrompt&) const = default;
};

} // namespace vesk
