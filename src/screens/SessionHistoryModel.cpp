#include "screens/SessionHistoryModel.h"

#include "store/FinishedSessions.h"

namespace vesk {

SessionHistoryModel::SessionHistoryModel(ModelContext& context, const Clock& clock, QObject* parent)
    : QObject(parent)
    , context_(context)
    , clock_(clock)
{
    connect(&context_, &ModelContext::saved, this, &SessionHistoryModel::refresh);
    refresh();
}

void SessionHistoryModel::refresh()
{
    auto fetched = fetchFinishedSessions(context_);
    if (!fetched) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Failed to read the finished sessions — ") + fetched.error().description);
        return;
    }
    sessions_ = std::move(fetched).value();
    statistics_ = computeHistoryStatistics(sessions_, clock_);
    emit changed();
}

} // namespace vesk
