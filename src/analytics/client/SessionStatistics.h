#pragma once

#include "analytics/client/ClientEnvironment.h"
#include "analytics/client/SignalParameters.h"
#include "analytics/client/StoredSession.h"
#include "core/SerialQueue.h"
#include "core/WorkItem.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vesk::telemetry {

// The analytics client's usage statistics across launches (not the
// application's session engine, vesk::SessionManager): the sessions of the
// last 90 days with their active time, how many older ones were dropped, the
// day of the first session and the distinct days of use. From them it
// announces a new installation and supplies the retention entries of every
// signal's payload.
//
// Everything lives in the client's defaults suite: read once when the
// statistics are built, written in order on a serial queue of their own, so
// that the once-a-second write never holds up the main thread. Without a
// suite nothing is read or written. The distinct days are updated once, when
// the statistics are built. While measuring, a 1 s timer on the scheduler
// adds the active time and stores it; time while the application is not
// active is not counted. Main thread only.
class SessionStatistics final : public QObject {
    Q_OBJECT

public:
    // Sends an internal signal (no reserved-name warnings, no float value, no custom user).
    using InternalSignalSender = std::function<void(const QString& name, const SignalParameters& parameters)>;

    static constexpr qint64 kRecentSessionsSeconds = 7'776'000; // 90 days
    static constexpr qint64 kLastMonthSeconds = 2'592'000;      // 30 days

    SessionStatistics(const ClientEnvironment& environment, InternalSignalSender sendInternalSignal,
                      QObject* parent = nullptr);
    ~SessionStatistics() override;

    // Begins measuring a new session; with no stored session, announces a new installation.
    void startNewSession();
    // Adds the active time since the last update and stores the current session.
    void updateSessionDuration();
    void handleDidEnterBackgroundNotification();
    void handleWillEnterForegroundNotification();

    // -1 without sessions; the only session's length; else the average of
    // all sessions but the last (the one in progress), cut toward zero.
    qint64 averageSessionSeconds() const;
    // How many of the day texts are on or after `day` (compared as text).
    static qint64 countDaysOnOrAfter(const QString& day, const QStringList& days);
    // The retention and acquisition entries of a signal's payload.
    SignalParameters payloadEntries() const;

    const std::vector<StoredSession>& recentSessions() const { return recentSessions_; }
    double currentSessionDuration() const { return currentSessionDuration_; }
    bool isMeasuring() const { return sessionDurationUpdater_.isPending(); }
    // "yyyy-MM-dd" of an instant in the current time zone.
    QString dayText(const QDateTime& date) const;
    // Waits until every write issued so far has reached the suite.
    void flushPendingWrites();

private:
    void loadRecentSessions();
    void updateDistinctDays();
    void persistCurrentSession();
    void scheduleUpdater();
    void stopUpdater();
    // Runs the write on the persistence queue; nothing without a suite.
    void write(std::function<void(UserDefaults&)> change);

    Scheduler& scheduler_;
    Clock& clock_;
    const SystemFactsProviding& systemFacts_;
    UserDefaults* suite_;
    InternalSignalSender sendInternalSignal_;

    SerialQueue persistenceQueue_{QStringLiteral("com.telemetry.sessionmanager.persistence")};
    // The suite as the persistence queue writes it (an instance of its own, used only there).
    std::unique_ptr<UserDefaults> persistedSuite_;

    std::vector<StoredSession> recentSessions_;
    qint64 deletedSessionsCount_ = 0;
    std::optional<QString> firstSessionDate_;
    QStringList distinctDaysUsed_;
    QDateTime currentSessionStartedAt_;
    double currentSessionDuration_ = 0;
    WorkItem sessionDurationUpdater_;
    std::optional<QDateTime> sessionDurationLastUpdatedAt_;
};

} // namespace vesk::telemetry
