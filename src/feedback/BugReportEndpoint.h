#pragma once

namespace vesk {

// The report-collecting web service (scheme and host, no path). The report
// form and the crash diagnostics send to the same address.
inline constexpr char bugReportEndpoint[] = "https://reports.vesk.app";

} // namespace vesk
