#pragma once

#include "LogCapture.h"
#include "core/UserDefaults.h"
#include "enforcement/DockMissionControlFallbackService.h"
#include "enforcement/ScreenshotThumbnailSuppressionService.h"
#include "enforcement/SystemDockCommandRunner.h"
#include "platform/x11/GSettingsCommandRunner.h"
#include "platform/x11/GSettingsTool.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>

namespace vesk::platform::testing {

// The real `gsettings` with Debian's desktop schemas over a key-file backend
// in a temporary folder (named only in the tool's child environment), and the
// application's user defaults beside it. Skips without the tool or schemas.
class GSettingsScene : public ::testing::Test {
protected:
    static inline const QString wm = QStringLiteral("org.gnome.desktop.wm.keybindings");
    static inline const QString interface = QStringLiteral("org.gnome.desktop.interface");
    static inline const QString notifications = QStringLiteral("org.gnome.desktop.notifications");

    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
            GTEST_SKIP() << "gsettings (libglib2.0-bin) is not installed";
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("keyfile"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
        user = std::make_unique<GSettingsTool>(environment);
        if (!user->listSchemas().value_or(QStringList()).contains(wm))
            GTEST_SKIP() << "Debian's gsettings-desktop-schemas is not installed";
        defaults = std::make_unique<UserDefaults>(QStringLiteral("standard"), folder.filePath(QStringLiteral("vesk")));
    }

    std::unique_ptr<GSettingsCommandRunner> runnerFor(const QString& xdgCurrentDesktop) const
    {
        return std::make_unique<GSettingsCommandRunner>(std::make_unique<GSettingsTool>(environment),
                                                        xdgCurrentDesktop);
    }

    std::unique_ptr<DockMissionControlFallbackService> dockFallback(CommandRunning& runner) const
    {
        return std::make_unique<DockMissionControlFallbackService>(std::make_unique<SystemDockCommandRunner>(runner),
                                                                   *defaults);
    }
    std::unique_ptr<ScreenshotThumbnailSuppressionService> thumbnailSuppression(CommandRunning& runner) const
    {
        return std::make_unique<ScreenshotThumbnailSuppressionService>(std::make_unique<SystemDockCommandRunner>(
                                                                           runner),
                                                                       *defaults);
    }

    // Schemas of the test's own, compiled into a folder that only the tools' environment names.
    void installSchemas(const QByteArray& xml)
    {
        const QString schemas = folder.filePath(QStringLiteral("schemas"));
        ASSERT_TRUE(QDir().mkpath(schemas));
        QFile file(schemas + QStringLiteral("/vesk-test.gschema.xml"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(xml);
        file.close();
        ASSERT_EQ(QProcess::execute(QStringLiteral("glib-compile-schemas"), {schemas}), 0);
        environment.insert(QStringLiteral("GSETTINGS_SCHEMA_DIR"), schemas);
        user = std::make_unique<GSettingsTool>(environment);
    }

    // Every value of the snapshot's schemas, "<schema> <key>" to its GSettings text.
    std::map<QString, QString> snapshot() const
    {
        std::map<QString, QString> values;
        for (const QString& schema : snapshotSchemas) {
            for (const auto& [key, value] : user->values(schema).value_or(std::map<QString, QString>()))
                values[schema + QLatin1Char(' ') + key] = value;
        }
        EXPECT_GT(values.size(), 100U);
        return values;
    }

    QString value(const QString& schema, const QString& key) const { return user->get({schema, key}).output; }
    void set(const QString& schema, const QString& key, const QString& text) const
    {
        ASSERT_TRUE(user->set({schema, key}, text).ok) << key.toStdString();
    }

    QString keyFile() const { return folder.filePath(QStringLiteral("config/glib-2.0/settings/keyfile")); }
    QStringList runnerLog() const { return logs.messages(QStringLiteral("GSettingsCommandRunner")); }

    QTemporaryDir folder;
    QStringList snapshotSchemas{wm, interface, notifications};
    QProcessEnvironment environment;
    std::unique_ptr<GSettingsTool> user;
    std::unique_ptr<UserDefaults> defaults;
    vesk::test::LogCapture logs;
};

} // namespace vesk::platform::testing
