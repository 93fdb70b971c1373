#pragma once

#include "enforcement/DockMissionControlFallbackService.h"
#include "platform/simulated/DesktopCommandRunner.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QStringList>
#include <QVariantMap>

// A user's own Dock and screenshot settings as tests put them on a simulated
// desktop, the command lines a session runs over them, and how they read.
namespace vesk::test {

inline const QString kDockDomain = QStringLiteral("com.apple.dock");
inline const QString kScreencaptureDomain = QStringLiteral("com.apple.screencapture");

// Each Dock key stands for one case of the backup: never set, a plain
// boolean, a number where a boolean belongs (it reads back as text), a
// fraction. Thumbnails are on.
inline void addUserSystemSettings(std::map<QString, QVariantMap>& defaults)
{
    defaults[kDockDomain] = QVariantMap{
        {QStringLiteral("showMissionControlGestureEnabled"), true},
        {QStringLiteral("showDesktopGestureEnabled"), qlonglong(2)},
        {QStringLiteral("workspaces-auto-swoosh"), true},
        {QStringLiteral("autohide"), false},
        {QStringLiteral("autohide-delay"), 0.5},
        {QStringLiteral("orientation"), QStringLiteral("left")},
    };
    defaults[kScreencaptureDomain] = QVariantMap{{QStringLiteral("show-thumbnail"), true}};
}

// The seven Dock keys and the thumbnail key as `systemSettingsReadBack` shows the user's.
inline const QStringList kUserSystemSettings{"mcx-expose-disabled=<missing>",
                                             "showMissionControlGestureEnabled=1",
                                             "showAppExposeGestureEnabled=<missing>",
                                             "showDesktopGestureEnabled=2",
                                             "workspaces-auto-swoosh=1",
                                             "autohide=0",
                                             "autohide-delay=0.5",
                                             "show-thumbnail=1"};

// The Dock fallback's activation over the user's settings: the backup, the forced values, the restart.
inline const QStringList kDockCaptureAndForce{
    "/usr/bin/defaults read com.apple.dock mcx-expose-disabled",
    "/usr/bin/defaults read com.apple.dock showMissionControlGestureEnabled",
    "/usr/bin/defaults read com.apple.dock showAppExposeGestureEnabled",
    "/usr/bin/defaults read com.apple.dock showDesktopGestureEnabled",
    "/usr/bin/defaults read com.apple.dock workspaces-auto-swoosh",
    "/usr/bin/defaults read com.apple.dock autohide",
    "/usr/bin/defaults read com.apple.dock autohide-delay",
    "/usr/bin/defaults write com.apple.dock mcx-expose-disabled -bool true",
    "/usr/bin/defaults write com.apple.dock showMissionControlGestureEnabled -bool false",
    "/usr/bin/defaults write com.apple.dock showAppExposeGestureEnabled -bool false",
    "/usr/bin/defaults write com.apple.dock showDesktopGestureEnabled -bool false",
    "/usr/bin/defaults write com.apple.dock workspaces-auto-swoosh -bool false",
    "/usr/bin/defaults write com.apple.dock autohide -bool true",
    "/usr/bin/defaults write com.apple.dock autohide-delay -float 1000",
    "/usr/bin/killall Dock",
};

// Its restore: a key that was never set is deleted, the others written back as they read.
inline const QStringList kDockRestore{
    "/usr/bin/defaults delete com.apple.dock mcx-expose-disabled",
    "/usr/bin/defaults write com.apple.dock showMissionControlGestureEnabled -bool true",
    "/usr/bin/defaults delete com.apple.dock showAppExposeGestureEnabled",
    "/usr/bin/defaults write com.apple.dock showDesktopGestureEnabled 2",
    "/usr/bin/defaults write com.apple.dock workspaces-auto-swoosh -bool true",
    "/usr/bin/defaults write com.apple.dock autohide -bool false",
    "/usr/bin/defaults write com.apple.dock autohide-delay -float 0.5",
    "/usr/bin/killall Dock",
};

// A key as "defaults read" prints it, "<missing>" when it is not set (the
// read joins the command history).
inline QString readBack(platform::SimulatedDesktop& desktop, const QString& domain, const QString& key)
{
    const platform::CommandResult result = desktop.commandRunner().run(platform::DesktopCommandRunner::defaultsPath,
                                                                       {QStringLiteral("read"), domain, key});
    return result.exitStatus == 0 ? result.standardOutput.trimmed() : QStringLiteral("<missing>");
}

// The seven Dock keys and the thumbnail key as they read now.
inline QStringList systemSettingsReadBack(platform::SimulatedDesktop& desktop)
{
    QStringList values;
    for (const auto& entry : DockMissionControlFallbackService::forcedDockPreferences())
        values.append(entry.key + QLatin1Char('=') + readBack(desktop, kDockDomain, entry.key));
    values.append(QStringLiteral("show-thumbnail=")
                  + readBack(desktop, kScreencaptureDomain, QStringLiteral("show-thumbnail")));
    return values;
}

// The commands run so far, one line each; the history starts afresh.
inline QStringList takeCommandLines(platform::SimulatedDesktop& desktop)
{
    QStringList lines;
    for (const QStringList& command : desktop.commandRunner().history())
        lines.append(command.join(QLatin1Char(' ')));
    desktop.commandRunner().clearHistory();
    return lines;
}

} // namespace vesk::test
