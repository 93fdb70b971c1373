#include "app/AppDelegate.h"

#include "LogCapture.h"
#include "TestDesktop.h"
#include "app/SessionManagerComposition.h"
#include "app/TerminationSignalHandler.h"
#include "core/ManualScheduler.h"
#include "core/UserDefaults.h"
#include "enforcement/DesktopIsolationRecovering.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "session/SchedulerSessionTimerFactory.h"
#include "session/SessionManager.h"
#include "store/NullSessionStore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

using namespace vesk;

namespace {

using Events = std::vector<QString>;

class RecordingDesktopIsolation final : public DesktopIsolationRecovering {
public:
    explicit RecordingDesktopIsolation(Events& events) : events_(events) { }
    void recoverIfNeeded() override { events_.push_back("desktopIsolation.recoverIfNeeded"); }
    void emergencyRestore() override { events_.push_back("desktopIsolation.emergencyRestore"); }

private:
    Events& events_;
};

class RecordingRestore final : public EmergencyRestoring {
public:
    RecordingRestore(Events& events, QString name) : events_(events), name_(std::move(name)) { }
    void emergencyRestore() override { events_.push_back(name_ + ".emergencyRestore"); }

private:
    Events& events_;
    QString name_;
};

// Records the orphan recovery; every other call goes to a store that keeps nothing.
class RecordingStore final : public SessionPersisting {
public:
    explicit RecordingStore(Events& events) : events_(events) { }
    StoreResult<int> recoverOrphanedSessions(const QDateTime&) override
    {
        events_.push_back("store.recoverOrphanedSessions");
        return 0;
    }
    StoreResult<int> closeActiveSessions(const QDateTime& endedAt, SessionEndReason reason) override
    {
        return null_.closeActiveSessions(endedAt, reason);
    }
    StoreResult<> createSessionRecord(const QUuid& id, const QDateTime& startedAt, qint64 duration,
                                      const std::optional<QString>& goal, const QStringList& allowed,
                                      const QStringList& allAllowed) override
    {
        return null_.createSessionRecord(id, startedAt, duration, goal, allowed, allAllowed);
    }
    StoreResult<> updateSessionAllowlist(const QUuid& id, const QStringList& allowed,
                                         const QStringList& allAllowed) override
    {
        return null_.updateSessionAllowlist(id, allowed, allAllowed);
    }
    StoreResult<> stopSessionRecord(const QUuid& id, const QDateTime& endedAt, SessionEndReason reason,
                                    const QStringList& allowed, const QStringList& allAllowed) override
    {
        return null_.stopSessionRecord(id, endedAt, reason, allowed, allAllowed);
    }
    StoreResult<> updateSessionReflection(const QUuid& id, std::optional<GoalStatus> status,
                                          std::optional<VeskHelpful> helpful, const std::optional<QString>& note,
                                          const QDateTime& answeredAt) override
    {
        return null_.updateSessionReflection(id, status, helpful, note, answeredAt);
    }

private:
    Events& events_;
    NullSessionStore null_;
};

// The delegate over a real session manager, with recording restores and log drain.
class AppDelegateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory_.isValid());
        desktop_.applyScenario(test::oneDisplayScenario());
        composition_.manager().setSessionStore(std::make_shared<RecordingStore>(events_));
    }

    AppDelegate::Dependencies dependencies()
    {
        return {composition_.manager(),
                desktopIsolation_,
                dock_,
                thumbnail_,
                defaults_,
                desktop_,
                desktop_,
                scheduler_,
                [this] { events_.push_back("drainLog"); }};
    }

    QTemporaryDir directory_;
    Events events_;
    ManualScheduler scheduler_;
    platform::SimulatedDesktop desktop_{scheduler_, directory_.path() + "/root"};
    UserDefaults defaults_{QStringLiteral("delegate-test"), directory_.path() + "/defaults"};
    SessionManagerComposition composition_{scheduler_, scheduler_, desktop_.interfaces(), defaults_,
                                           std::make_shared<SchedulerSessionTimerFactory>(scheduler_)};
    RecordingDesktopIsolation desktopIsolation_{events_};
    RecordingRestore dock_{events_, "dock"};
    RecordingRestore thumbnail_{events_, "thumbnail"};
};

TEST_F(AppDelegateTest, LaunchRecoveryRestoresSystemSettingsBeforeClosingOrphanedSessions)
{
    defaults_.setBool("NSQuitAlwaysKeepsWindows", true);
    test::LogCapture log;
    AppDelegate delegate(dependencies());
    delegate.applicationDidFinishLaunching();

    EXPECT_EQ(events_, (Events{"desktopIsolation.recoverIfNeeded", "dock.emergencyRestore",
                               "thumbnail.emergencyRestore", "store.recoverOrphanedSessions"}));
    EXPECT_EQ(defaults_.object("NSQuitAlwaysKeepsWindows"), QVariant(false));
    EXPECT_TRUE(delegate.areSignalHandlersInstalled());
    EXPECT_EQ(log.messages("AppDelegate"),
              (QStringList{QStringLiteral("VESK application did finish launching — PID=%1")
                               .arg(QCoreApplication::applicationPid()),
                           "SIGTERM handler installed",
                           "Termination signal handlers installed — signals=SIGTERM, SIGINT, SIGHUP, SIGQUIT"}));
}

TEST_F(AppDelegateTest, TerminatingWithoutASessionRestoresAndDrainsAndLogsNoStop)
{
    AppDelegate delegate(dependencies());
    desktop_.setPresentationOptions(314);
    test::LogCapture log;

    EXPECT_EQ(delegate.applicationShouldTerminate(), platform::TerminateReply::now);
    EXPECT_EQ(events_, (Events{"desktopIsolation.emergencyRestore", "dock.emergencyRestore",
                               "thumbnail.emergencyRestore", "drainLog"}));
    events_.clear();
    delegate.applicationWillTerminate();
    EXPECT_EQ(events_, (Events{"desktopIsolation.emergencyRestore", "dock.emergencyRestore",
                               "thumbnail.emergencyRestore", "drainLog"}));
    EXPECT_EQ(desktop_.presentationOptions(), 0);

    EXPECT_EQ(log.messages("AppDelegate"), (QStringList{"applicationShouldTerminate: returning .terminateNow",
                                                        "applicationWillTerminate: final safety reset"}));
    EXPECT_FALSE(log.contains("Stopping session"));
    EXPECT_FALSE(log.contains("stopSession called"));
}

TEST_F(AppDelegateTest, TerminatingDuringASessionStopsItBeforeTheRestores)
{
    AppDelegate delegate(dependencies());
    composition_.manager().startSession(60, {test::kEditorBundleID}, {}, std::nullopt, false, 0);
    ASSERT_TRUE(composition_.manager().isSessionActive());
    events_.clear();
    test::LogCapture log;

    EXPECT_EQ(delegate.applicationShouldTerminate(), platform::TerminateReply::now);

    EXPECT_FALSE(composition_.manager().isSessionActive());
    EXPECT_EQ(events_, (Events{"desktopIsolation.emergencyRestore", "dock.emergencyRestore",
                               "thumbnail.emergencyRestore", "drainLog"}));
    const QStringList messages = log.messages("AppDelegate");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0], "applicationShouldTerminate: active session detected — stopping session before termination");
    const QStringList sessionMessages = log.messages("SessionManager");
    EXPECT_TRUE(std::any_of(sessionMessages.begin(), sessionMessages.end(), [](const QString& message) {
        return message.startsWith("Stopping session") && message.contains("reason=appTerminate");
    })) << sessionMessages.join("\n").toStdString();
}

// Terminate, interrupt, hang-up and quit: each takes the road of a quit from the menu.
class AppDelegateTerminationSignalTest : public AppDelegateTest, public ::testing::WithParamInterface<int> { };

TEST_P(AppDelegateTerminationSignalTest, StopsTheSessionRestoresAndDrainsAndTheApplicationEnds)
{
    AppDelegate delegate(dependencies());
    desktop_.setTerminationHandlers([&] { return delegate.applicationShouldTerminate(); },
                                    [&] { delegate.applicationWillTerminate(); });
    delegate.applicationDidFinishLaunching();
    composition_.manager().startSession(60, {test::kEditorBundleID}, {}, std::nullopt, false, 0);
    ASSERT_TRUE(composition_.manager().isSessionActive());
    desktop_.setPresentationOptions(314);
    events_.clear();
    test::LogCapture log;

    ASSERT_EQ(::raise(GetParam()), 0);
    QDeadlineTimer deadline(1000);
    while (!desktop_.isOwnApplicationTerminated() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    EXPECT_TRUE(desktop_.isOwnApplicationTerminated());
    EXPECT_FALSE(composition_.manager().isSessionActive());
    EXPECT_TRUE(log.contains("reason=appTerminate"));
    EXPECT_EQ(events_, (Events{"desktopIsolation.emergencyRestore", "dock.emergencyRestore",
                               "thumbnail.emergencyRestore", "drainLog", "desktopIsolation.emergencyRestore",
                               "dock.emergencyRestore", "thumbnail.emergencyRestore", "drainLog"}));
    QStringList expectedFirst{"Termination signal received — signal="
                              + TerminationSignalHandler::signalName(GetParam())};
    // SIGTERM brings the Dock and the menu bar back before anything else.
    if (GetParam() == SIGTERM)
        expectedFirst.prepend("SIGTERM received — presentation options reset");
    EXPECT_EQ(log.messages("AppDelegate").mid(0, expectedFirst.size()), expectedFirst);
    EXPECT_EQ(desktop_.presentationOptions(), 0);
}

INSTANTIATE_TEST_SUITE_P(Signals, AppDelegateTerminationSignalTest, ::testing::Values(SIGTERM, SIGINT, SIGHUP, SIGQUIT),
                         [](const auto& testCase) {
                             return TerminationSignalHandler::signalName(testCase.param).toStdString();
                         });

TEST_F(AppDelegateTest, ClosingTheLastWindowDoesNotTerminate)
{
    AppDelegate delegate(dependencies());
    EXPECT_FALSE(delegate.applicationShouldTerminateAfterLastWindowClosed());
}

} // namespace
