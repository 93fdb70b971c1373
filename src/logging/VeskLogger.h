#pragma once

#include "logging/VeskLogLevel.h"

#include <QString>

class QLoggingCategory;

namespace vesk {

// One logger per owning type, named after it. Logging goes to the system log
// (Qt's logging, category = component) and to the current Markdown log file.
// Loggers are cheap to copy and hold no file state.
class VeskLogger {
public:
    explicit VeskLogger(QString component);

    const QString& component() const { return component_; }
    // Never fails, may be called from any thread.
    void log(VeskLogLevel level, const QString& message) const;

private:
    QString component_;
    const QLoggingCategory* category_;
};

} // namespace vesk
