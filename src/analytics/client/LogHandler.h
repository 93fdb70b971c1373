#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <utility>

namespace vesk::telemetry {

// Where the analytics client's own log lines go: a level filter in front of
// an output function. Its levels are its own (debug 0, info 1, error 2), not
// the application logger's.
class LogHandler {
public:
    enum class LogLevel { debug = 0, info = 1, error = 2 };
    using Output = std::function<void(LogLevel, const QString& message)>;

    // None for a raw value outside 0...2.
    static std::optional<LogLevel> levelFromRaw(int raw);
    // "DEBUG", "INFO", "ERROR".
    static QString levelText(LogLevel level);

    LogHandler(LogLevel logLevel, Output handler);

    // The handler for the running system: its system log at the given level.
    static LogHandler standard(LogLevel logLevel);
    // Writes to the system log: Qt's logging, category "Telemetry.LogHandler",
    // at debug, info or critical after the level.
    static void systemLogOutput(LogLevel level, const QString& message);
    // Writes "[Telemetry: ERROR] message" as one line to standard output.
    static void printOutput(LogLevel level, const QString& message);
    static QString printLine(LogLevel level, const QString& message);

    LogLevel logLevel() const { return logLevel_; }
    bool passes(LogLevel level) const;

    // Builds the message and hands it on only when the level passes.
    template <typename MessageBuilder>
    void log(LogLevel level, MessageBuilder&& message) const
    {
        if (passes(level))
            handler_(level, std::forward<MessageBuilder>(message)());
    }

private:
    LogLevel logLevel_;
    Output handler_;
};

// Logs through a handler the caller may not have; without one the line is dropped.
template <typename MessageBuilder>
void logWith(const std::optional<LogHandler>& handler, LogHandler::LogLevel level, MessageBuilder&& message)
{
    if (handler)
        handler->log(level, std::forward<MessageBuilder>(message));
}

} // namespace vesk::telemetry
