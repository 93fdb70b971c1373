#include "platform/x11/GSettingsTool.h"

#include <QProcess>

namespace vesk::platform {

namespace {

QStringList lines(const QString& output)
{
    return output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

GSettingsTool::GSettingsTool(QProcessEnvironment environment, QString program, int timeoutMilliseconds)
    : environment_(std::move(environment))
    , program_(std::move(program))
    , timeoutMilliseconds_(timeoutMilliseconds)
{
}

GSettingsTool::Result GSettingsTool::run(const QStringList& arguments)
{
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(program_, arguments);
    if (!process.waitForStarted(timeoutMilliseconds_))
        return {false, QString(), QStringLiteral("%1 could not start: %2").arg(program_, process.errorString())};
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMilliseconds_)) {
        process.kill();
        process.waitForFinished(1000);
        return {false, QString(),
                QStringLiteral("%1 %2 did not end within %3 ms")
                    .arg(program_, arguments.join(QLatin1Char(' ')))
                    .arg(timeoutMilliseconds_)};
    }
    Result result;
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    result.error = QString::fromUtf8(process.readAllStandardError()).trimmed();
    result.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (!result.ok && result.error.isEmpty())
        result.error = QStringLiteral("%1 ended with status %2").arg(program_).arg(process.exitCode());
    return result;
}

std::optional<QStringList> GSettingsTool::listSchemas()
{
    const Result result = run({QStringLiteral("list-schemas")});
    if (!result.ok)
        return std::nullopt;
    return lines(result.output);
}

std::optional<QStringList> GSettingsTool::listKeys(const QString& schema)
{
    const Result result = run({QStringLiteral("list-keys"), schema});
    if (!result.ok)
        return std::nullopt;
    return lines(result.output);
}

std::optional<std::map<QString, QString>> GSettingsTool::values(const QString& schema)
{
    const Result result = run({QStringLiteral("list-recursively"), schema});
    if (!result.ok)
        return std::nullopt;
    std::map<QString, QString> values;
    const QString prefix = schema + QLatin1Char(' ');
    for (const QString& line : lines(result.output)) {
        if (!line.startsWith(prefix))
            continue;
        const QString rest = line.mid(prefix.size());
        const qsizetype space = rest.indexOf(QLatin1Char(' '));
        if (space > 0)
            values[rest.left(space)] = rest.mid(space + 1);
    }
    return values;
}

GSettingsTool::Result GSettingsTool::get(const GSettingsKey& key)
{
    Result result = run({QStringLiteral("get"), key.schema, key.key});
    result.output = result.output.trimmed();
    return result;
}

GSettingsTool::Result GSettingsTool::set(const GSettingsKey& key, const QString& value)
{
    return run({QStringLiteral("set"), key.schema, key.key, value});
}

GSettingsTool::Result GSettingsTool::reset(const GSettingsKey& key)
{
    return run({QStringLiteral("reset"), key.schema, key.key});
}

} // namespace vesk::platform
