#include "SessionServicesFixture.h"

#include "session/AllowedAppRecovery.h"

#include <functional>

using namespace vesk;
using namespace vesk::test;

namespace {

// The recovery on its own, in a running session that allows the editor and
// the notes application.
class AllowedAppRecoveryTest : public SessionServicesFixture {
protected:
    AllowedAppRecoveryTest()
    {
        state.isSessionActive = true;
        state.activeLifecycleID = QUuid::createUuid();
        state.dynamicAllowlist = DynamicAllowlistState({editorID, notesID}, {});
    }

    // A drag of the editor's window moved it just now.
    void dragEditor()
    {
        overlay->dragState.lastMotionAt = scheduler.now();
        overlay->dragState.cooldown = 0.75;
        overlay->dragState.bundleIDs = {editorID};
    }

    // The recovery passes that ran since `mark`, by their reason.
    QStringList passesSince(qsizetype mark) const { return trace.since(mark).filter("appMonitor.enforceAllowlist"); }

    SessionServices s = services();
    SessionState state;
    AllowedAppLookup lookup{*s.workspace, state};
    AllowedWindowSpaceClassifier classifier{s, lookup};
    WindowMaterializationFlight flight{s, state, lookup, scheduler};
    AllowedAppRecovery recovery{s, state, lookup, classifier, flight, scheduler, scheduler, 0.15};
};

const QString occludedPass = QStringLiteral("appMonitor.enforceAllowlist(allowedAppRecovery:allowedWindowsOccluded)");

} // namespace

TEST_F(AllowedAppRecoveryTest, ADragDeferrableRequestIsCheckedAgainWhenItFires)
{
    // What happens between the request and the moment it fires, 0.15 s later.
    const struct {
        const char* name;
        std::function<void()> meanwhile;
        QStringList passes;
        QString logged;
    } cases[] = {
        {"nothing", [] {}, {occludedPass}, "Allowed-app recovery completed — reason=allowedWindowsOccluded"},
        {"the window is visible again",
         [this] { detector->visible = {editorID}; },
         {},
         "Deferred allowed-app recovery discarded because allowed windows are visible again — "
         "reason=allowedWindowsOccluded, recovered=[\"com.example.editor\"]"},
        {"a drag moves it",
         [this] { dragEditor(); },
         {occludedPass},
         "Allowed-app recovery deferred during allowed-window drag — reason=allowedWindowsOccluded"},
        {"the session is stopping",
         [this] { state.isStoppingSession = true; },
         {},
         "Allowed-app recovery skipped — no active session, reason=allowedWindowsOccluded"},
    };
    for (const auto& c : cases) {
        detector->visible.clear();
        overlay->dragState = AllowedWindowDragState::idle();
        state.isStoppingSession = false;
        logs.clear();
        const qsizetype mark = trace.calls.size();

        recovery.schedule(QStringLiteral("allowedWindowsOccluded"), std::set<QString>{editorID}, true);
        scheduler.advance(0.1);
        c.meanwhile();
        scheduler.advance(0.06);
        EXPECT_TRUE(logs.contains(c.logged)) << c.name;
        scheduler.advance(2.0);
        EXPECT_EQ(passesSince(mark), c.passes) << c.name;
    }
}

TEST_F(AllowedAppRecoveryTest, ARequestThatMayNotWaitRunsWhateverTheWindowsAndDragsDo)
{
    const qsizetype mark = trace.calls.size();
    recovery.schedule(QStringLiteral("spaceChangedUnexpectedly"), std::nullopt, false);
    detector->visible = {editorID, notesID};
    dragEditor();
    scheduler.advance(0.15);
    EXPECT_EQ(passesSince(mark),
              QStringList({"appMonitor.enforceAllowlist(allowedAppRecovery:spaceChangedUnexpectedly)"}));
    EXPECT_FALSE(logs.contains("Allowed-app recovery deferred"));
}

TEST_F(AllowedAppRecoveryTest, ATargetedRequestIsDiscardedOnlyWhenEveryAllowedTargetIsVisible)
{
    detector->visible = {editorID};
    const struct {
        std::set<QString> targets;
        bool discarded;
    } cases[] = {
        {{editorID}, true},
        // Targets off the allowlist do not count.
        {{editorID, "com.example.other"}, true},
        {{editorID, notesID}, false},
        {{"com.example.other"}, false},
    };
    for (const auto& c : cases) {
        recovery.cancel();
        logs.clear();
        recovery.schedule(QStringLiteral("allowedWindowsOccluded"), c.targets, true);
        EXPECT_EQ(logs.contains("Deferred allowed-app recovery discarded"), c.discarded) << c.targets.size();
        EXPECT_EQ(logs.contains("Scheduled allowed-app recovery"), !c.discarded) << c.targets.size();
    }
}

TEST_F(AllowedAppRecoveryTest, AnAppInTheStageQueueIsLeftHiddenUnlessTheRequestIsAboutIt)
{
    workspace->run(editorID);
    stage->queued = {notesID};

    const struct {
        const char* name;
        std::optional<std::set<QString>> targets;
        QStringList notesCalls;
    } cases[] = {
        {"a general pass", std::nullopt, {}},
        {"a pass about another app", std::set<QString>{editorID}, {}},
        {"a pass about the queued app",
         std::set<QString>{notesID},
         {"app.unhide(com.example.notes)", "app.activate(com.example.notes)"}},
    };
    for (const auto& c : cases) {
        for (const auto& app : workspace->apps)
            app->hidden = true;
        const qsizetype mark = trace.calls.size();
        recovery.schedule(QStringLiteral("quickAccessClosed"), c.targets, false);
        scheduler.advance(0.15);
        EXPECT_EQ(trace.since(mark).filter(notesID).filter("app."), c.notesCalls) << c.name;
        EXPECT_TRUE(trace.since(mark).contains("app.activate(com.example.editor)")) << c.name;
    }
}
