#pragma once

#include "feedback/BugReport.h"
#include "feedback/BugReportSendError.h"

#include <QString>

#include <functional>
#include <optional>

namespace vesk {

// Called on the main thread when a send has ended: no error means the
// endpoint accepted the report.
using BugReportSendCompletion = std::function<void(std::optional<BugReportSendError> error)>;

// The transport of bug reports: the report service and the crash diagnostics
// hold their sender through this interface, so that another transport can
// stand in.
class BugReportSending {
public:
    virtual ~BugReportSending() = default;
    // Sends the report with the gzip file at `attachmentPath` (when given) as
    // its "log" part. Main thread only; the completion always runs, later.
    virtual void send(const BugReport& report, const std::optional<QString>& attachmentPath,
                      BugReportSendCompletion completion) = 0;
};

} // namespace vesk
