#pragma once

#include "store/FocusSession.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace vesk {

class Clock;

// The history's figures over a list of sessions.
struct FocusSessionStatistics {
    qint64 sessionCount = 0;
    // Sessions with a goal status, a helpfulness answer or a note that is not blank.
    qint64 answeredCount = 0;
    qint64 doneCount = 0;
    qint64 partialCount = 0;
    qint64 failedCount = 0;
    qint64 helpfulYesCount = 0;
    qint64 helpfulSomewhatCount = 0;
    qint64 helpfulNoCount = 0;
    // Mean of yes 1, somewhat 0.5, no 0 over the sessions that answered; none
    // when none did.
    std::optional<double> helpfulScore;
    // Sum of every session's effective duration.
    qint64 totalFocusSeconds = 0;

    bool operator==(const FocusSessionStatistics&) const = default;

    // "75 %", or "—" without a score.
    QString percentText() const;
    // "59 min" below an hour; from an hour on the hours with at most one
    // decimal in German form ("1,5 h", "2 h"), a tie rounding to the even
    // tenth (4500 s: "1,2 h").
    QString focusMinutesText() const;
    // "3 · 1 · 0": done, partial, failed.
    QString outcomeCountsText() const;
};

// The figures of `sessions`; an open-ended session still running counts up to
// the clock's now, read anew for each session.
FocusSessionStatistics computeHistoryStatistics(const std::vector<std::shared_ptr<FocusSession>>& sessions,
                                                const Clock& clock);

} // namespace vesk
