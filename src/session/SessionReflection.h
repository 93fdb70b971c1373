#pragma once

#include "analytics/ReflectionReasonCategory.h"
#include "logging/VeskLogger.h"
#include "session/SessionReflectionPrompt.h"
#include "session/SessionServices.h"
#include "store/GoalStatus.h"
#include "store/SessionEndReason.h"
#include "store/VeskHelpful.h"

#include <QDateTime>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

namespace vesk {

// The reflection prompt after a session: prepared by the stop, answered or
// dismissed from the reflection card. A save the store refuses leaves the
// prompt, so that the answers can be saved again. `changed` tells the
// manager's observers of every change of the prompt.
class SessionReflection {
public:
    SessionReflection(const SessionServices& services, std::function<void()> changed);

    const std::optional<SessionReflectionPrompt>& pendingPrompt() const { return pendingPrompt_; }

    // The prompt for the session that just ended; none without its identity or start.
    void prepare(const std::optional<QUuid>& focusSessionID, const std::optional<QDateTime>& startedAt,
                 const QDateTime& stoppedAt, int durationSeconds, SessionEndReason endReason,
                 const std::optional<QString>& goal);
    void save(std::optional<GoalStatus> goalStatus, std::optional<VeskHelpful> helpful,
              const std::optional<QString>& note, std::optional<ReflectionReasonCategory> reasonCategory,
              const QDateTime& answeredAt);
    void dismiss();
    void clear();

private:
    void assign(std::optional<SessionReflectionPrompt> prompt);

    const SessionServices& services_;
    const std::function<void()> changed_;
    VeskLogger logger_{QStringLiteral("SessionManager")};
    std::optional<SessionReflectionPrompt> pendingPrompt_;
};

} // namespace vesk
