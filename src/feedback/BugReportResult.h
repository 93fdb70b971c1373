#pragma once

#include <QString>

namespace vesk {

// How a submission ended: sent, saved as a file (and revealed) instead, or
// neither.
struct BugReportResult {
    enum class Kind { exported, success, failed };

    Kind kind = Kind::failed;
    // The written report text; exported only.
    QString exportedPath;

    static BugReportResult exported(QString path) { return {Kind::exported, std::move(path)}; }
    static BugReportResult success() { return {Kind::success, {}}; }
    static BugReportResult failed() { return {Kind::failed, {}}; }

    bool operator==(const BugReportResult&) const = default;
};

} // namespace vesk
