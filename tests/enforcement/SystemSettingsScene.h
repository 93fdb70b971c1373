#pragma once

#include "LogCapture.h"
#include "core/UserDefaults.h"
#include "enforcement/DockMissionControlFallbackService.h"
#include "enforcement/ScreenshotThumbnailSuppressionService.h"
#include "enforcement/SystemDockCommandRunner.h"
#include "platform/simulated/DesktopCommandRunner.h"
#include "platform/simulated/DesktopTestScene.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

namespace vesk::test {

// The two-display desktop with a user's own Dock and screenshot settings, and
// the application's standard user defaults in a temporary folder. Each Dock
// key stands for one case of the backup: never set, a plain boolean, a
// number where a boolean belongs (read back as text), a fraction.
class SystemSettingsScene : public platform::testing::DesktopTestScene {
protected:
    static inline const QString dock = QStringLiteral("com.apple.dock");
    static inline const QString screencapture = QStringLiteral("com.apple.screencapture");

    static platform::DesktopScenario userScenario()
    {
        platform::DesktopScenario scenario = twoDisplayScenario();
        scenario.defaults[dock] = QVariantMap{
            {QStringLiteral("showMissionControlGestureEnabled"), true},
            {QStringLiteral("showDesktopGestureEnabled"), qlonglong(2)},
            {QStringLiteral("workspaces-auto-swoosh"), true},
            {QStringLiteral("autohide"), false},
            {QStringLiteral("autohide-delay"), 0.5},
            {QStringLiteral("orientation"), QStringLiteral("left")},
        };
        scenario.defaults[screencapture] = QVariantMap{{QStringLiteral("show-thumbnail"), true}};
        return scenario;
    }

    void SetUp() override
    {
        build(userScenario());
        ASSERT_TRUE(folder.isValid());
        defaults = std::make_unique<UserDefaults>(QStringLiteral("standard"), folder.path());
    }

    std::unique_ptr<DockCommandRunning> runner()
    {
        return std::make_unique<SystemDockCommandRunner>(desktop->commandRunner());
    }
    std::unique_ptr<DockMissionControlFallbackService> makeDockFallback()
    {
        return std::make_unique<DockMissionControlFallbackService>(runner(), *defaults);
    }
    std::unique_ptr<ScreenshotThumbnailSuppressionService> makeThumbnailSuppression()
    {
        return std::make_unique<ScreenshotThumbnailSuppressionService>(runner(), *defaults);
    }

    // The commands run so far, one line each, and forgets them.
    QStringList takeCommandLines()
    {
        QStringList lines;
        for (const QStringList& command : desktop->commandRunner().history())
            lines.append(command.join(QLatin1Char(' ')));
        desktop->commandRunner().clearHistory();
        return lines;
    }

    // A key as "defaults read" prints it, "<missing>" when it is not set (the
    // read joins the command history).
    QString readBack(const QString& domain, const QString& key) const
    {
        const platform::CommandResult result = desktop->commandRunner().run(
            platform::DesktopCommandRunner::defaultsPath, {QStringLiteral("read"), domain, key});
        return result.exitStatus == 0 ? result.standardOutput.trimmed() : QStringLiteral("<missing>");
    }

    // The seven Dock keys and the thumbnail key as they read now.
    QStringList settingsReadBack() const
    {
        QStringList values;
        for (const auto& entry : DockMissionControlFallbackService::forcedDockPreferences())
            values.append(entry.key + QLatin1Char('=') + readBack(dock, entry.key));
        values.append(QStringLiteral("show-thumbnail=") + readBack(screencapture, QStringLiteral("show-thumbnail")));
        return values;
    }

    // What the user had before any session.
    static QStringList userSettings()
    {
        return {"mcx-expose-disabled=<missing>",      "showMissionControlGestureEnabled=1",
                "showAppExposeGestureEnabled=<missing>", "showDesktopGestureEnabled=2",
                "workspaces-auto-swoosh=1",           "autohide=0",
                "autohide-delay=0.5",                 "show-thumbnail=1"};
    }

    QJsonObject storedJson(const QString& key) const
    {
        const auto data = defaults->dataForKey(key);
        return data ? QJsonDocument::fromJson(*data).object() : QJsonObject();
    }

    static QJsonObject json(const char* text) { return QJsonDocument::fromJson(QByteArray(text)).object(); }

    QTemporaryDir folder;
    std::unique_ptr<UserDefaults> defaults;
    LogCapture logs;
};

} // namespace vesk::test
