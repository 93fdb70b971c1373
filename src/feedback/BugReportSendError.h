#pragma once

#include <QString>

namespace vesk {

// Why a report did not reach the endpoint. No path of this system raises
// noMailAccount; it stays for a transport that would.
enum class BugReportSendError { notConfigured, noMailAccount, transportFailed };

inline QString toText(BugReportSendError error)
{
    switch (error) {
    case BugReportSendError::notConfigured:
        return QStringLiteral("notConfigured");
    case BugReportSendError::noMailAccount:
        return QStringLiteral("noMailAccount");
    case BugReportSendError::transportFailed:
        return QStringLiteral("transportFailed");
    }
    return {};
}

} // namespace vesk
