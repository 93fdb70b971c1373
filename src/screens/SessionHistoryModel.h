#pragma once

#include "logging/VeskLogger.h"
#include "screens/FocusSessionStatistics.h"
#include "store/FocusSession.h"

#include <QObject>

#include <memory>
#include <vector>

namespace vesk {

class Clock;
class ModelContext;

// What the history sheet shows: the finished sessions, newest first, and
// their figures, fetched anew whenever the store saves, so a session that
// ends or is answered while the sheet is open appears at once.
class SessionHistoryModel final : public QObject {
    Q_OBJECT

public:
    SessionHistoryModel(ModelContext& context, const Clock& clock, QObject* parent = nullptr);

    const std::vector<std::shared_ptr<FocusSession>>& sessions() const { return sessions_; }
    const FocusSessionStatistics& statistics() const { return statistics_; }
    const Clock& clock() const { return clock_; }

    // Reads the store again; a failed read keeps what was shown.
    void refresh();

signals:
    void changed();

private:
    ModelContext& context_;
    const Clock& clock_;
    std::vector<std::shared_ptr<FocusSession>> sessions_;
    FocusSessionStatistics statistics_;
    const VeskLogger logger_{QStringLiteral("SessionHistoryView")};
};

} // namespace vesk
