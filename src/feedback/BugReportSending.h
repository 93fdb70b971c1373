#pragma once

namespace vesk {

// The transport of bug reports: the report form and the crash diagnostics
// hold their sender through this interface, so that another transport can
// stand in. The send operation arrives with the report model.
class BugReportSending {
public:
    virtual ~BugReportSending() = default;
};

} // namespace vesk
