#pragma once

#include "feedback/BugReportSending.h"

#include <QString>

namespace vesk {

// A sender that sends nothing, until the network transport exists. It keeps
// the endpoint it was configured with.
class NoOpBugReportSender final : public BugReportSending {
public:
    explicit NoOpBugReportSender(QString endpoint) : endpoint_(std::move(endpoint)) {}

    const QString& endpoint() const { return endpoint_; }

private:
    QString endpoint_;
};

} // namespace vesk
