#pragma once

#include "core/RawValue.h"
#include "store/SessionEndReason.h"

#include <QString>

#include <array>

namespace vesk {

// Why a stop of the session is asked for. Each end reason can be asked for by
// its own name; two requests name where they come from and end as another
// reason: the emergency hotkey (emergencyExit) and the manager's own teardown
// (appTerminate). Being a closed set, no request can end a session as a crash
// by a slip of the pen.
enum class SessionStopReason {
    timerExpired,
    manualStop,
    emergencyExit,
    noAllowedWindows,
    appTerminate,
    crash,
    emergencyHotkey,
    deinit,
};

template <>
struct EnumCases<SessionStopReason> {
    static constexpr std::array values{SessionStopReason::timerExpired,    SessionStopReason::manualStop,
                                       SessionStopReason::emergencyExit,   SessionStopReason::noAllowedWindows,
                                       SessionStopReason::appTerminate,    SessionStopReason::crash,
                                       SessionStopReason::emergencyHotkey, SessionStopReason::deinit};
};

// The end reason the session's record keeps for the request.
inline SessionEndReason endReason(SessionStopReason reason)
{
    switch (reason) {
    case SessionStopReason::timerExpired:
        return SessionEndReason::timerExpired;
    case SessionStopReason::manualStop:
        return SessionEndReason::manualStop;
    case SessionStopReason::emergencyExit:
    case SessionStopReason::emergencyHotkey:
        return SessionEndReason::emergencyExit;
    case SessionStopReason::noAllowedWindows:
        return SessionEndReason::noAllowedWindows;
    case SessionStopReason::appTerminate:
    case SessionStopReason::deinit:
        return SessionEndReason::appTerminate;
    case SessionStopReason::crash:
        return SessionEndReason::crash;
    }
    return SessionEndReason::crash;
}

// The request's own text, as the stop writes it into its log line: its end
// reason's raw text, but for the two requests that name where they come from.
inline QString toRaw(SessionStopReason reason)
{
    if (reason == SessionStopReason::emergencyHotkey)
        return QStringLiteral("emergencyHotkey");
    if (reason == SessionStopReason::deinit)
        return QStringLiteral("deinit");
    return toRaw(endReason(reason));
}

} // namespace vesk
