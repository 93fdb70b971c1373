#pragma once

#include "logging/VeskLogLevel.h"

#include <QString>

#include <optional>

namespace vesk {

// One logger per owning type, named after it. Logging goes to the system log
// (Qt's logging, category "<subsystem>.<component>") and to the current
// Markdown log file. Loggers are cheap to copy and hold no file state.
class VeskLogger {
public:
    explicit VeskLogger(QString component);

    const QString& component() const { return component_; }
    // The system-log category this logger writes under now.
    QString categoryName() const;
    // Never fails, may be called from any thread.
    void log(VeskLogLevel level, const QString& message) const;

    // The system log's subsystem, the first part of every logger's category:
    // the main bundle's identifier, "com.vesk" while the bundle has none.
    static QString subsystem();
    // Start-up names the running application's bundle identifier.
    static void setMainBundleIdentifier(const std::optional<QString>& bundleIdentifier);
    // The component of a logger's category, none for any other category.
    static std::optional<QString> componentOfCategory(const QString& category);

private:
    QString component_;
};

} // namespace vesk
