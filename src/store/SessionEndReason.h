#pragma once

#include "core/RawValue.h"

#include <QHashFunctions>
#include <QString>

#include <array>

namespace vesk {

// Why a focus session ended. Stored in the session records as its raw text.
enum class SessionEndReason { timerExpired, manualStop, emergencyExit, noAllowedWindows, appTerminate, crash };

inline QString toRaw(SessionEndReason reason)
{
    switch (reason) {
    case SessionEndReason::timerExpired:
        return QStringLiteral("timerExpired");
    case SessionEndReason::manualStop:
        return QStringLiteral("manualStop");
    case SessionEndReason::emergencyExit:
        return QStringLiteral("emergencyExit");
    case SessionEndReason::noAllowedWindows:
        return QStringLiteral("noAllowedWindows");
    case SessionEndReason::appTerminate:
        return QStringLiteral("appTerminate");
    case SessionEndReason::crash:
        return QStringLiteral("crash");
    }
    return {};
}

template <>
struct EnumCases<SessionEndReason> {
    static constexpr std::array values{SessionEndReason::timerExpired,  SessionEndReason::manualStop,
                                       SessionEndReason::emergencyExit, SessionEndReason::noAllowedWindows,
                                       SessionEndReason::appTerminate,  SessionEndReason::crash};
};

inline size_t qHash(SessionEndReason reason, size_t seed = 0) noexcept
{
    return qHash(toRaw(reason), seed);
}

} // namespace vesk
