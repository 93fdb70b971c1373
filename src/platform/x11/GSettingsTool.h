#pragma once

#include "platform/x11/GSettingsKey.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace vesk::platform {

// Runs the desktop's `gsettings` tool, one process per call, each bounded in
// time: a tool that does not end in time is killed and the call fails. The
// environment is the child's own (a test gives it a key-file backend in a
// temporary folder). Values are GVariant texts as the tool prints and takes
// them ("['<Alt>Tab']", "@as []", "false").
class GSettingsTool {
public:
    struct Result {
        bool ok = false;
        QString output;
        // Why the call failed: the tool's standard error, or why it did not run.
        QString error;
    };

    explicit GSettingsTool(QProcessEnvironment environment = QProcessEnvironment::systemEnvironment(),
                           QString program = QStringLiteral("gsettings"), int timeoutMilliseconds = 5000);

    std::optional<QStringList> listSchemas();
    std::optional<QStringList> listKeys(const QString& schema);
    // Every key of the schema with its current value, in one call.
    std::optional<std::map<QString, QString>> values(const QString& schema);
    Result get(const GSettingsKey& key);
    Result set(const GSettingsKey& key, const QString& value);
    // Back to the schema's default.
    Result reset(const GSettingsKey& key);

    Result run(const QStringList& arguments);

private:
    QProcessEnvironment environment_;
    QString program_;
    int timeoutMilliseconds_;
};

} // namespace vesk::platform
