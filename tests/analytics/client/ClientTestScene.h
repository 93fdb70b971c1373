#pragma once

#include "FixedSystemFacts.h"
#include "analytics/client/ClientEnvironment.h"
#include "analytics/client/ClientIdentity.h"
#include "analytics/client/LogHandler.h"
#include "core/UserDefaults.h"
#include "platform/ApplicationActivity.h"
#include "platform/PlatformInterfaces.h"
#include "platform/simulated/DesktopTestScene.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace vesk::telemetry::testing {

// The analytics client's surroundings in virtual time: the simulated desktop
// (Vesk's activity), fixed system facts, the client's defaults suite and the
// cache file in a temporary folder, and a log handler that records lines.
class ClientTestScene : public platform::testing::DesktopTestScene {
protected:
    static inline const QString appID = QStringLiteral("5A1B7C3D-0000-4000-8000-00000000ABCD");

    void SetUp() override
    {
        DesktopTestScene::SetUp();
        ASSERT_TRUE(folder.isValid());
        suite = std::make_unique<UserDefaults>(clientSuiteName(appID), folder.path());
    }

    ClientEnvironment environment()
    {
        return {scheduler, scheduler, facts, desktop->interfaces().applicationActivity, suite.get(), cacheFilePath()};
    }

    QString cacheFilePath() const { return folder.filePath(QStringLiteral("caches/telemetrysignalcache")); }

    // Lines as "[LEVEL] message".
    LogHandler recordingHandler(LogHandler::LogLevel level = LogHandler::LogLevel::debug)
    {
        return LogHandler(level, [this](LogHandler::LogLevel lineLevel, const QString& message) {
            logLines.append(QStringLiteral("[%1] %2").arg(LogHandler::levelText(lineLevel), message));
        });
    }

    void setVeskActive(bool active)
    {
        desktop->activate(active ? desktop->ownPID() : pidOf(QStringLiteral("com.example.editor")), 0);
    }

    QTemporaryDir folder;
    FixedSystemFacts facts;
    std::unique_ptr<UserDefaults> suite;
    QStringList logLines;
};

} // namespace vesk::telemetry::testing
