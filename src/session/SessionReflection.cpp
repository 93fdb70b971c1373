#include "session/SessionReflection.h"

#include "core/TextFormat.h"
#include "store/GoalRule.h"

namespace vesk {

SessionReflection::SessionReflection(const SessionServices& services, std::function<void()> changed)
    : services_(services)
    , changed_(std::move(changed))
{
}

void SessionReflection::assign(std::optional<SessionReflectionPrompt> prompt)
{
    if (pendingPrompt_ == prompt)
        return;
    pendingPrompt_ = std::move(prompt);
    changed_();
}

void SessionReflection::clear()
{
    assign(std::nullopt);
}

void SessionReflection::prepare(const std::optional<QUuid>& focusSessionID, const std::optional<QDateTime>& startedAt,
                                const QDateTime& stoppedAt, int durationSeconds, SessionEndReason endReason,
                                const std::optional<QString>& goal)
{
    if (!focusSessionID || !startedAt) {
        assign(std::nullopt);
        logger_.log(VeskLogLevel::warning, QStringLiteral("Skipped post-session reflection prompt because session "
                                                          "identity or start date was missing"));
        return;
    }
    assign(SessionReflectionPrompt{*focusSessionID, *startedAt, stoppedAt, durationSeconds, endReason, goal});
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Prepared post-session reflection prompt — focusSessionID=%1, hasGoal=%2")
                    .arg(uuidText(*focusSessionID), boolText(goal.has_value())));
}

void SessionReflection::save(std::optional<GoalStatus> goalStatus, std::optional<VeskHelpful> helpful,
                             const std::optional<QString>& note, std::optional<ReflectionReasonCategory> reasonCategory,
                             const QDateTime& answeredAt)
{
    if (!pendingPrompt_) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring reflection save because no pending reflection is available"));
        return;
    }
    const QUuid focusSessionID = pendingPrompt_->id;
    const std::optional<QString> normalizedNote = noteRule(note);
    const auto stored = services_.sessionStore->updateSessionReflection(focusSessionID, goalStatus, helpful,
                                                                        normalizedNote, answeredAt);
    if (!stored) {
        // The card stays, so the answers can be saved again.
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Failed to save post-session reflection: ") + stored.error().description);
        return;
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral(
                    "Post-session reflection saved — focusSessionID=%1, goalStatus=%2, veskHelpful=%3, hasNote=%4")
                    .arg(uuidText(focusSessionID), goalStatus ? toRaw(*goalStatus) : QStringLiteral("nil"),
                         helpful ? toRaw(*helpful) : QStringLiteral("nil"), boolText(normalizedNote.has_value())));
    services_.analytics->track(AnalyticsEvent::ReflectionAnswered{goalStatus, helpful, reasonCategory});
    assign(std::nullopt);
}

void SessionReflection::dismiss()
{
    if (!pendingPrompt_) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring reflection dismissal because no pending reflection is available"));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Post-session reflection dismissed without saving — focusSessionID=")
                                        + uuidText(pendingPrompt_->id));
    services_.analytics->track(AnalyticsEvent::ReflectionSkipped{});
    assign(std::nullopt);
}

} // namespace vesk
