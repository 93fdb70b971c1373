#include "analytics/client/LogHandler.h"

#include <QLoggingCategory>

#include <cstdio>

namespace vesk::telemetry {

namespace {

Q_LOGGING_CATEGORY(telemetryLog, "Telemetry.LogHandler")

} // namespace

std::optional<LogHandler::LogLevel> LogHandler::levelFromRaw(int raw)
{
    if (raw < 0 || raw > 2)
        return std::nullopt;
    return static_cast<LogLevel>(raw);
}

QString LogHandler::levelText(LogLevel level)
{
    switch (level) {
    case LogLevel::debug:
        return QStringLiteral("DEBUG");
    case LogLevel::info:
        return QStringLiteral("INFO");
    case LogLevel::error:
        return QStringLiteral("ERROR");
    }
    return {};
}

LogHandler::LogHandler(LogLevel logLevel, Output handler) : logLevel_(logLevel), handler_(std::move(handler))
{
}

LogHandler LogHandler::standard(LogLevel logLevel)
{
    return LogHandler(logLevel, &LogHandler::systemLogOutput);
}

void LogHandler::systemLogOutput(LogLevel level, const QString& message)
{
    switch (level) {
    case LogLevel::debug:
        qCDebug(telemetryLog).noquote() << message;
        break;
    case LogLevel::info:
        qCInfo(telemetryLog).noquote() << message;
        break;
    case LogLevel::error:
        qCCritical(telemetryLog).noquote() << message;
        break;
    }
}

QString LogHandler::printLine(LogLevel level, const QString& message)
{
    return QStringLiteral("[Telemetry: ") + levelText(level) + QStringLiteral("] ") + message;
}

void LogHandler::printOutput(LogLevel level, const QString& message)
{
    const QByteArray line = printLine(level, message).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), stdout);
    std::fflush(stdout);
}

bool LogHandler::passes(LogLevel level) const
{
    return static_cast<int>(level) >= static_cast<int>(logLevel_);
}

} // namespace vesk::telemetry
