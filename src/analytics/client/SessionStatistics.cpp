#include "analytics/client/SessionStatistics.h"

#include "analytics/client/SystemFactsProviding.h"
#include "core/Clock.h"
#include "core/Scheduler.h"
#include "core/UserDefaults.h"
#include "platform/ApplicationActivity.h"

#include <QFileInfo>
#include <QPointer>

#include <numeric>

namespace vesk::telemetry {

namespace {

const QString kRecentSessionsKey = QStringLiteral("recentSessions");
const QString kDeletedSessionsCountKey = QStringLiteral("deletedSessionsCount");
const QString kFirstSessionDateKey = QStringLiteral("firstSessionDate");
const QString kDistinctDaysUsedKey = QStringLiteral("distinctDaysUsed");

// The start of a session whose start was never recorded.
const QDateTime kDistantPast(QDate(1, 1, 1), QTime(0, 0), Qt::UTC);

} // namespace

SessionStatistics::SessionStatistics(const ClientEnvironment& environment, InternalSignalSender sendInternalSignal,
                                     QObject* parent)
    : QObject(parent)
    , scheduler_(environment.scheduler)
    , clock_(environment.clock)
    , systemFacts_(environment.systemFacts)
    , suite_(environment.clientSuite)
    , sendInternalSignal_(std::move(sendInternalSignal))
    , currentSessionStartedAt_(kDistantPast)
{
    if (suite_) {
        const QString suiteName = suite_->suiteName();
        const QString rootDirectory = QFileInfo(suite_->filePath()).absolutePath();
        persistenceQueue_.async([this, suiteName, rootDirectory] {
            persistedSuite_ = std::make_unique<UserDefaults>(suiteName, rootDirectory);
        });
        deletedSessionsCount_ = suite_->integerForKey(kDeletedSessionsCountKey);
        firstSessionDate_ = suite_->stringForKey(kFirstSessionDateKey);
        distinctDaysUsed_ = suite_->stringArrayForKey(kDistinctDaysUsedKey).value_or(QStringList());
    }
    loadRecentSessions();
    updateDistinctDays();
    connect(&environment.applicationActivity, &platform::ApplicationActivity::didResignActive, this,
            &SessionStatistics::handleDidEnterBackgroundNotification);
    connect(&environment.applicationActivity, &platform::ApplicationActivity::didBecomeActive, this,
            &SessionStatistics::handleWillEnterForegroundNotification);
}

SessionStatistics::~SessionStatistics()
{
    sessionDurationUpdater_.cancel();
    persistenceQueue_.sync([this] { persistedSuite_.reset(); });
}

void SessionStatistics::write(std::function<void(UserDefaults&)> change)
{
    if (!suite_)
        return;
    persistenceQueue_.async([this, change = std::move(change)] { change(*persistedSuite_); });
}

void SessionStatistics::flushPendingWrites()
{
    persistenceQueue_.sync([] {});
}

QString SessionStatistics::dayText(const QDateTime& date) const
{
    return date.toTimeZone(systemFacts_.timeZone()).date().toString(Qt::ISODate);
}

void SessionStatistics::loadRecentSessions()
{
    const std::optional<QByteArray> data = suite_ ? suite_->dataForKey(kRecentSessionsKey) : std::nullopt;
    if (!data)
        return;
    std::optional<std::vector<StoredSession>> sessions = StoredSession::decodeList(*data);
    if (!sessions)
        return;
    const QDateTime cutoff = clock_.now().addSecs(-kRecentSessionsSeconds);
    const auto kept = std::remove_if(sessions->begin(), sessions->end(),
                                     [&](const StoredSession& session) { return session.startedAt <= cutoff; });
    const qint64 removed = std::distance(kept, sessions->end());
    sessions->erase(kept, sessions->end());
    recentSessions_ = std::move(*sessions);
    deletedSessionsCount_ += removed;
    write([count = deletedSessionsCount_](UserDefaults& suite) { suite.setInteger(kDeletedSessionsCountKey, count); });
}

void SessionStatistics::updateDistinctDays()
{
    if (!suite_)
        return;
    const QString today = dayText(clock_.now());
    // Only the last day is compared: a clock set back adds a day again.
    if (!distinctDaysUsed_.isEmpty() && distinctDaysUsed_.last() == today)
        return;
    distinctDaysUsed_.append(today);
    write([days = distinctDaysUsed_](UserDefaults& suite) { suite.setStringArray(kDistinctDaysUsedKey, days); });
}

void SessionStatistics::startNewSession()
{
    stopUpdater();
    if (recentSessions_.empty()) {
        const QString today = dayText(clock_.now());
        if (suite_) {
            firstSessionDate_ = today;
            write([today](UserDefaults& suite) { suite.setString(kFirstSessionDateKey, today); });
        }
        if (sendInternalSignal_)
            sendInternalSignal_(QStringLiteral("Telemetry.Acquisition.newInstallDetected"),
                                {{QStringLiteral("Telemetry.Acquisition.firstSessionDate"), today}});
    }
    currentSessionStartedAt_ = clock_.now();
    currentSessionDuration_ = 0;
    updateSessionDuration();
    scheduleUpdater();
}

void SessionStatistics::updateSessionDuration()
{
    const QDateTime now = clock_.now();
    if (sessionDurationLastUpdatedAt_)
        currentSessionDuration_ += static_cast<double>(sessionDurationLastUpdatedAt_->msecsTo(now)) / 1000.0;
    sessionDurationLastUpdatedAt_ = now;
    persistCurrentSession();
}

void SessionStatistics::persistCurrentSession()
{
    if (currentSessionDuration_ < 1.0)
        return;
    const auto duration = static_cast<qint64>(currentSessionDuration_);
    const auto current = std::find_if(recentSessions_.rbegin(), recentSessions_.rend(),
                                      [&](const StoredSession& s) { return s.startedAt == currentSessionStartedAt_; });
    if (current != recentSessions_.rend())
        current->durationInSeconds = duration;
    else
        recentSessions_.push_back({currentSessionStartedAt_, duration});
    write([data = StoredSession::encodeList(recentSessions_)](UserDefaults& suite) {
        suite.setData(kRecentSessionsKey, data);
    });
}

void SessionStatistics::handleDidEnterBackgroundNotification()
{
    updateSessionDuration();
    stopUpdater();
}

void SessionStatistics::handleWillEnterForegroundNotification()
{
    updateSessionDuration();
    scheduleUpdater();
}

void SessionStatistics::scheduleUpdater()
{
    sessionDurationUpdater_.cancel();
    sessionDurationUpdater_ = scheduler_.asyncAfter(1.0, [self = QPointer<SessionStatistics>(this)] {
        if (!self)
            return;
        self->scheduleUpdater();
        self->updateSessionDuration();
    });
}

void SessionStatistics::stopUpdater()
{
    sessionDurationUpdater_.cancelAndClear();
    sessionDurationLastUpdatedAt_.reset();
}

qint64 SessionStatistics::averageSessionSeconds() const
{
    if (recentSessions_.empty())
        return -1;
    if (recentSessions_.size() == 1)
        return recentSessions_.front().durationInSeconds;
    const auto finished = recentSessions_.size() - 1;
    const qint64 total = std::accumulate(recentSessions_.begin(), recentSessions_.end() - 1, qint64(0),
                                         [](qint64 sum, const StoredSession& s) { return sum + s.durationInSeconds; });
    return total / static_cast<qint64>(finished);
}

qint64 SessionStatistics::countDaysOnOrAfter(const QString& day, const QStringList& days)
{
    return std::count_if(days.begin(), days.end(), [&](const QString& other) { return other >= day; });
}

SignalParameters SessionStatistics::payloadEntries() const
{
    const QDateTime now = clock_.now();
    // The cut-off day in the same time zone as the stored days.
    const QString lastMonth = dayText(now.addSecs(-kLastMonthSeconds));
    SignalParameters entries{
        {"Telemetry.Acquisition.firstSessionDate", firstSessionDate_.value_or(dayText(now))},
        {"Telemetry.Retention.averageSessionSeconds", QString::number(averageSessionSeconds())},
        {"Telemetry.Retention.distinctDaysUsed", QString::number(distinctDaysUsed_.size())},
        {"Telemetry.Retention.distinctDaysUsedLastMonth",
         QString::number(countDaysOnOrAfter(lastMonth, distinctDaysUsed_))},
        {"Telemetry.Retention.totalSessionsCount",
         QString::number(static_cast<qint64>(recentSessions_.size()) + deletedSessionsCount_)},
    };
    if (recentSessions_.size() >= 2) {
        entries["Telemetry.Retention.previousSessionSeconds"] =
            QString::number(recentSessions_[recentSessions_.size() - 2].durationInSeconds);
    }
    return entries;
}

} // namespace vesk::telemetry
