#pragma once

#include <QString>

namespace vesk {

enum class VeskLogLevel { debug = 0, info = 1, warning = 2, error = 3 };

// One logger per owning type, named after it. Logging goes to the system log
// (Qt's logging, category = component) and to the current Markdown log file.
class VeskLogger {
public:
    explicit VeskLogger(QString component);

    const QString& component() const { return component_; }
    // Never fails, may be called from any thread.
    void log(VeskLogLevel level, const QString& message) const;

private:
    QString component_;
};

} // namespace vesk
