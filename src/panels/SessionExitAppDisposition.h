#pragma once

#include <QString>

namespace vesk {

// What a stop does with the allowed applications.
enum class SessionExitAppDisposition { leaveOpen, terminateAllowedApps };

inline QString toRaw(SessionExitAppDisposition disposition)
{
    switch (disposition) {
    case SessionExitAppDisposition::leaveOpen:
        return QStringLiteral("leaveOpen");
    case SessionExitAppDisposition::terminateAllowedApps:
        return QStringLiteral("terminateAllowedApps");
    }
    return {};
}

} // namespace vesk
