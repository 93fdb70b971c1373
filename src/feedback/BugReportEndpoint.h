#pragma once

#include <QString>

namespace vesk {

// The report-collecting web service (scheme and host, no path). The report
// form and the crash diagnostics send to the same address.
inline constexpr char bugReportEndpoint[] = "https://reports.vesk.app";

// The environment variable that replaces the address for tests and scripted
// runs; set but empty, reports are not configured to go anywhere.
inline constexpr char bugReportEndpointVariable[] = "VESK_BUG_REPORT_ENDPOINT";

// The address reports go to: the variable's value when it is set, else the
// built-in address.
QString bugReportEndpointText();

} // namespace vesk
