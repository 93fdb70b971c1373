#pragma once

#include "analytics/AnalyticsDurationBucket.h"
#include "analytics/MonitorCountBucket.h"
#include "analytics/ReflectionReasonCategory.h"
#include "analytics/SetupDurationBucket.h"
#include "store/GoalStatus.h"
#include "store/VeskHelpful.h"

#include <QString>

#include <map>
#include <optional>
#include <type_traits>
#include <variant>

namespace vesk {

// A usage event: a signal name and flat text parameters. Figures leave the
// application only as buckets, flags and counts; no text the user typed.
class AnalyticsEvent {
public:
    struct AppLaunched {
        bool accessibilityGranted = false;
        bool operator==(const AppLaunched&) const = default;
    };
    struct SessionStarted {
        AnalyticsDurationBucket plannedDuration = AnalyticsDurationBucket::under15Minutes;
        int allowedAppCount = 0;
        bool hardcore = false;
        SetupDurationBucket setupDuration = SetupDurationBucket::under10Seconds;
        MonitorCountBucket monitorCount = MonitorCountBucket::one;
        QString stageMode;
        bool hasGoal = false;
        bool operator==(const SessionStarted&) const = default;
    };
    struct SessionEnded {
        QString endReason;
        AnalyticsDurationBucket actualDuration = AnalyticsDurationBucket::under15Minutes;
        int dynamicallyAddedCount = 0;
        bool operator==(const SessionEnded&) const = default;
    };
    struct ReflectionAnswered {
        std::optional<GoalStatus> goalStatus;
        std::optional<VeskHelpful> helpful;
        std::optional<ReflectionReasonCategory> reasonCategory;
        bool operator==(const ReflectionAnswered&) const = default;
    };
    struct ReflectionSkipped {
        bool operator==(const ReflectionSkipped&) const = default;
    };

    using Payload = std::variant<AppLaunched, SessionStarted, SessionEnded, ReflectionAnswered, ReflectionSkipped>;

    template <typename Case>
    requires std::is_constructible_v<Payload, Case> AnalyticsEvent(Case event) : payload_(std::move(event)) { }

    const Payload& payload() const { return payload_; }
    // "app.launched", "session.started", "session.ended", "reflection.answered", "reflection.skipped".
    QString signalName() const;
    std::map<QString, QString> parameters() const;

    bool operator==(const AnalyticsEvent&) const = default;

private:
    Payload payload_;
};

} // namespace vesk
