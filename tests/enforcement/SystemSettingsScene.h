#pragma once

#include "LogCapture.h"
#include "SystemSettingsSpecs.h"
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

// The two-display desktop with a user's own Dock and screenshot settings
// (SystemSettingsSpecs.h), and the application's standard user defaults in a
// temporary folder.
class SystemSettingsScene : public platform::testing::DesktopTestScene {
protected:
    static inline const QString dock = kDockDomain;
    static inline const QString screencapture = kScreencaptureDomain;

    static platform::DesktopScenario userScenario()
    {
        platform::DesktopScenario scenario = twoDisplayScenario();
        addUserSystemSettings(scenario.defaults);
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

    QStringList takeCommandLines() { return test::takeCommandLines(*desktop); }
    QString readBack(const QString& domain, const QString& key) { return test::readBack(*desktop, domain, key); }
    QStringList settingsReadBack() { return systemSettingsReadBack(*desktop); }

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
