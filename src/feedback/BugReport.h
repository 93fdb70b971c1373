#pragma once

#include "feedback/BugReportCategory.h"
#include "feedback/BugReportMetadata.h"

#include <QString>

#include <optional>

namespace vesk {

// One report as the user typed it (or as the crash diagnostics built it).
// Texts are kept as typed; only the wire and the exported text trim them.
struct BugReport {
    BugReportCategory category = BugReportCategory::bug;
    QString title;
    QString description;
    std::optional<QString> contactEmail;
    bool includeLogs = true;
    BugReportMetadata metadata;

    // Title and description both hold more than blanks.
    bool isValid() const;
    // The contact address trimmed; none when absent or blank.
    std::optional<QString> trimmedContactEmail() const;
    // The German text the file fallback writes (no title; lines joined by
    // "\n", no newline at the end).
    QString plainTextBody() const;
};

// The ISO 8601 form of reports: UTC with a trailing Z, whole seconds.
QString reportTimestampText(const QDateTime& timestamp);

} // namespace vesk
