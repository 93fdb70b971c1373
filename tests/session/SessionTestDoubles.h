#pragma once

// Recording doubles of every service the session manager works through. They
// all write into one shared call trace, so a test can check the order of calls
// across services.

#include "session/SessionManager.h"

#include "core/ManualScheduler.h"
#include "core/TextFormat.h"
#include "session/AllowedWindowWaiter.h"

#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace vesk::test {

struct CallTrace {
    QStringList calls;
    void record(const QString& call) { calls << call; }
    // The calls recorded since `mark`.
    QStringList since(qsizetype mark) const { return calls.mid(mark); }
};

// What a change of the session's allowlist tells the services, in order.
inline QStringList allowlistFanOut()
{
    return {
        "overlay.updateAllowlist",      "mouseBlocker.updateAllowlist",      "appMonitor.updateAllowlist",
        "spaceBlocker.updateAllowlist", "spaceProbe.updateAllowedBundleIDs", "stage.updateAllowlist",
        "store.updateSessionAllowlist",
    };
}

class TraceOverlay final : public OverlayControlling {
public:
    explicit TraceOverlay(CallTrace& trace) : trace_(trace) { }
    void activate(const std::set<QString>&) override
    {
        trace_.record("overlay.activate");
        handlersAtActivate = installedHandlers();
    }
    void updateAllowlist(const std::set<QString>&) override { trace_.record("overlay.updateAllowlist"); }
    void deactivate() override
    {
        trace_.record("overlay.deactivate");
        handlersAtDeactivate = installedHandlers();
    }
    AllowedWindowDragState allowedWindowDragState(const QDateTime&) const override { return dragState; }
    void prepareBackingForAllowedAppActivation(const QString& reason) override
    {
        trace_.record("overlay.prepareBacking(" + reason + ")");
    }
    void suppressPassthroughImmediately(const QString& bundleID, const QString&) override
    {
        trace_.record("overlay.suppressPassthrough(" + bundleID + ")");
    }
    void setAllowedWindowsMissingHandler(MissingHandler handler) override
    {
        onAllowedWindowsMissing = std::move(handler);
    }
    void setAllowedWindowsTemporarilyMissingHandler(MissingHandler handler) override
    {
        onAllowedWindowsTemporarilyMissing = std::move(handler);
    }
    void setAllowedWindowsOccludedHandler(OccludedHandler handler) override
    {
        allowedWindowsOccludedHandler = std::move(handler);
    }
    void setPassthroughRectsChangedHandler(PassthroughRectsHandler handler) override
    {
        passthroughRectsChangedHandler = std::move(handler);
    }
    void setAllowedWindowMotionHandler(MotionHandler handler) override
    {
        allowedWindowMotionHandler = std::move(handler);
    }
    void setSeamDragHandoffHandler(SeamDragHandoffHandler handler) override
    {
        seamDragHandoffHandler = std::move(handler);
    }

    // The names of the handlers that are set.
    QStringList installedHandlers() const
    {
        QStringList names;
        if (onAllowedWindowsMissing)
            names << "onAllowedWindowsMissing";
        if (onAllowedWindowsTemporarilyMissing)
            names << "onAllowedWindowsTemporarilyMissing";
        if (allowedWindowsOccludedHandler)
            names << "allowedWindowsOccludedHandler";
        if (passthroughRectsChangedHandler)
            names << "passthroughRectsChangedHandler";
        if (allowedWindowMotionHandler)
            names << "allowedWindowMotionHandler";
        if (seamDragHandoffHandler)
            names << "seamDragHandoffHandler";
        return names;
    }

    // The handlers the session core set, as the overlay holds them.
    MissingHandler onAllowedWindowsMissing;
    MissingHandler onAllowedWindowsTemporarilyMissing;
    OccludedHandler allowedWindowsOccludedHandler;
    PassthroughRectsHandler passthroughRectsChangedHandler;
    MotionHandler allowedWindowMotionHandler;
    SeamDragHandoffHandler seamDragHandoffHandler;

    AllowedWindowDragState dragState = AllowedWindowDragState::idle();
    QStringList handlersAtActivate;
    QStringList handlersAtDeactivate;

private:
    CallTrace& trace_;
};

class TraceMouseBlocker final : public MouseBlocking {
public:
    explicit TraceMouseBlocker(CallTrace& trace) : trace_(trace) { }
    void activate(const std::set<QString>&) override { trace_.record("mouseBlocker.activate"); }
    void updateAllowlist(const std::set<QString>&) override { trace_.record("mouseBlocker.updateAllowlist"); }
    void deactivate() override { trace_.record("mouseBlocker.deactivate"); }
    void updateVeskControlRects(const std::vector<Rect>&) override
    {
        trace_.record("mouseBlocker.updateVeskControlRects");
    }
    void setVisiblePassthroughRects(const std::vector<Rect>& rects) override { passthroughRects = rects; }
    void setAllowedWindowControlClickHandler(ControlClickHandler handler) override
    {
        trace_.record(handler ? "mouseBlocker.setControlClickHandler" : "mouseBlocker.clearControlClickHandler");
        controlClickHandler = std::move(handler);
    }
    void setClickObserver(ClickObserver observer) override
    {
        trace_.record(observer ? "mouseBlocker.setClickObserver" : "mouseBlocker.clearClickObserver");
        clickObserver = std::move(observer);
    }
    std::vector<Rect> passthroughRects;
    ControlClickHandler controlClickHandler;
    ClickObserver clickObserver;

private:
    CallTrace& trace_;
};

class TraceAppMonitor final : public AppMonitoring {
public:
    explicit TraceAppMonitor(CallTrace& trace) : trace_(trace) { }
    void activate(const std::set<QString>&) override { trace_.record("appMonitor.activate"); }
    void updateAllowlist(const std::set<QString>&) override { trace_.record("appMonitor.updateAllowlist"); }
    void deactivate() override { trace_.record("appMonitor.deactivate"); }
    void enforceAllowlist(const QString& reason) override
    {
        trace_.record("appMonitor.enforceAllowlist(" + reason + ")");
    }
    void setDisallowedAppHiddenHandler(BundleHandler handler) override
    {
        trace_.record(handler ? "appMonitor.setDisallowedAppHiddenHandler"
                              : "appMonitor.clearDisallowedAppHiddenHandler");
        disallowedAppHiddenHandler = std::move(handler);
    }
    void setAppLaunchNeedingDecisionHandler(BundleHandler handler) override
    {
        trace_.record(handler ? "appMonitor.setAppLaunchNeedingDecisionHandler"
                              : "appMonitor.clearAppLaunchNeedingDecisionHandler");
        appLaunchNeedingDecisionHandler = std::move(handler);
    }
    void setLastUserClickAt(std::optional<QDateTime> date) override { lastUserClickAt = date; }
    void removePendingDecision(const QString& bundleID) override
    {
        trace_.record("appMonitor.removePendingDecision(" + bundleID + ")");
    }
    BundleHandler disallowedAppHiddenHandler;
    BundleHandler appLaunchNeedingDecisionHandler;
    std::optional<QDateTime> lastUserClickAt;

private:
    CallTrace& trace_;
};

class TraceKiosk final : public KioskControlling {
public:
    explicit TraceKiosk(CallTrace& trace) : trace_(trace) { }
    void activate() override { trace_.record("kiosk.activate"); }
    void deactivate() override { trace_.record("kiosk.deactivate"); }

private:
    CallTrace& trace_;
};

class TraceSpaceBlocker final : public SpaceBlocking {
public:
    explicit TraceSpaceBlocker(CallTrace& trace) : trace_(trace) { }
    void activate(const std::set<QString>&, bool hardcore) override
    {
        trace_.record(QStringLiteral("spaceBlocker.activate(hardcore=%1)").arg(hardcore ? "true" : "false"));
    }
    void deactivate() override { trace_.record("spaceBlocker.deactivate"); }
    void updateAllowlist(const std::set<QString>&) override { trace_.record("spaceBlocker.updateAllowlist"); }

private:
    CallTrace& trace_;
};

class TraceSpaceMonitor final : public SpaceMonitoring {
public:
    explicit TraceSpaceMonitor(CallTrace& trace) : trace_(trace) { }
    void activate(SpaceChangeHandler handler) override
    {
        trace_.record("spaceMonitor.activate");
        onSpaceChange = std::move(handler);
    }
    void deactivate() override
    {
        trace_.record("spaceMonitor.deactivate");
        onSpaceChange = {};
    }
    SpaceChangeHandler onSpaceChange;

private:
    CallTrace& trace_;
};

class TraceSpaceProbe final : public SpaceTransitionProbing {
public:
    explicit TraceSpaceProbe(CallTrace& trace) : trace_(trace) { }
    void activate(const std::set<QString>&) override { trace_.record("spaceProbe.activate"); }
    void updateAllowedBundleIDs(const std::set<QString>&) override
    {
        trace_.record("spaceProbe.updateAllowedBundleIDs");
    }
    void startBurst(const QString& reason, double) override { trace_.record("spaceProbe.startBurst(" + reason + ")"); }
    void deactivate() override { trace_.record("spaceProbe.deactivate"); }

private:
    CallTrace& trace_;
};

class TraceDesktopIsolation final : public DesktopIsolating {
public:
    explicit TraceDesktopIsolation(CallTrace& trace) : trace_(trace) { }
    void activate() override { trace_.record("desktopIsolation.activate"); }
    void deactivate() override { trace_.record("desktopIsolation.deactivate"); }

private:
    CallTrace& trace_;
};

class TraceHotkey final : public EmergencyHotkeyHandling {
public:
    explicit TraceHotkey(CallTrace& trace) : trace_(trace) { }
    void activate(std::function<void()> trigger) override
    {
        trace_.record("hotkey.activate");
        onTrigger = std::move(trigger);
    }
    void deactivate() override
    {
        trace_.record("hotkey.deactivate");
        onTrigger = {};
    }
    std::function<void()> onTrigger;

private:
    CallTrace& trace_;
};

class TraceThumbnailSuppression final : public ScreenshotThumbnailSuppressing {
public:
    explicit TraceThumbnailSuppression(CallTrace& trace) : trace_(trace) { }
    void activate() override { trace_.record("thumbnail.activate"); }
    void deactivate() override { trace_.record("thumbnail.deactivate"); }

private:
    CallTrace& trace_;
};

// Records every call; `onCall` lets a test act as a panel would while the
// manager is inside one of them.
class TraceUI final : public SessionUIControlling {
public:
    explicit TraceUI(CallTrace& trace) : trace_(trace) { }
    void showHUD(SessionControlling&) override { record("ui.showHUD"); }
    void dismissHUD() override { record("ui.dismissHUD"); }
    void showStageVeskPanel(SessionControlling&, StageVeskControlling&) override { record("ui.showStageVeskPanel"); }
    void dismissStageVeskPanel() override { record("ui.dismissStageVeskPanel"); }
    void showAppLaunchPrompt(SessionControlling&) override { record("ui.showAppLaunchPrompt"); }
    void dismissAppLaunchPrompt() override { record("ui.dismissAppLaunchPrompt"); }
    void toggleQuickAccessPanel(SessionControlling&) override { record("ui.toggleQuickAccessPanel"); }
    void dismissQuickAccessPanel() override { record("ui.dismissQuickAccessPanel"); }
    void toggleBugReportPanel() override { record("ui.toggleBugReportPanel"); }
    void dismissBugReportPanel() override { record("ui.dismissBugReportPanel"); }
    void handleGlobalClick(Point) override { record("ui.handleGlobalClick"); }
    void hideMainWindow() override { record("ui.hideMainWindow"); }
    void showMainWindow() override { record("ui.showMainWindow"); }
    void publishVeskControlRects() override { record("ui.publishVeskControlRects"); }
    void setVeskControlRectsChangedHandler(ControlRectsHandler) override { }

    std::function<void(const QString& call)> onCall;

private:
    void record(const QString& call)
    {
        trace_.record(call);
        if (onCall)
            onCall(call);
    }
    CallTrace& trace_;
};

class TraceTransition final : public SessionTransitionPresenting {
public:
    explicit TraceTransition(CallTrace& trace) : trace_(trace) { }
    void showEnteringTransition() override { trace_.record("transition.show"); }
    void dismissEnteringTransition(bool animated) override
    {
        trace_.record(QStringLiteral("transition.dismiss(animated=%1)").arg(animated ? "true" : "false"));
    }

private:
    CallTrace& trace_;
};

class TraceStage final : public StageVeskControlling {
public:
    explicit TraceStage(CallTrace& trace) : trace_(trace) { }
    void activate(const std::set<QString>& allowed, const DisplayNames& names,
                  std::optional<StageVeskScreenID> anchor) override
    {
        trace_.record("stage.activate");
        activatedWith = allowed;
        displayNames = names;
        anchorScreen = anchor;
    }
    void deactivate() override { trace_.record("stage.deactivate"); }
    void updateAllowlist(const std::set<QString>&, const DisplayNames&) override
    {
        trace_.record("stage.updateAllowlist");
    }
    void setOnAppFullyClosed(std::function<void(const QString&)> handler) override
    {
        trace_.record(handler ? "stage.setOnAppFullyClosed" : "stage.clearOnAppFullyClosed");
        onAppFullyClosed = std::move(handler);
    }
    void closeApp(const QString& bundleID, Point, bool) override { trace_.record("stage.closeApp(" + bundleID + ")"); }
    void moveToQueue(const QString& bundleID) override { trace_.record("stage.moveToQueue(" + bundleID + ")"); }
    void toggleZoom(const QString& bundleID) override { trace_.record("stage.toggleZoom(" + bundleID + ")"); }
    void handleSeamDragHandoff(const QString& bundleID, Point) override
    {
        trace_.record("stage.handleSeamDragHandoff(" + bundleID + ")");
    }
    void syncUserDrag(const QString& bundleID, std::optional<Point>, std::optional<StageVeskScreenID>, Rect) override
    {
        trace_.record("stage.syncUserDrag(" + bundleID + ")");
    }
    void requestStagePlacement(const QString& bundleID, StageVeskScreenID) override
    {
        trace_.record("stage.requestStagePlacement(" + bundleID + ")");
    }
    void restoreIfQueued(const QString& bundleID, StageVeskScreenID fallbackScreen) override
    {
        trace_.record(QStringLiteral("stage.restoreIfQueued(%1, %2)").arg(bundleID).arg(fallbackScreen.rawValue));
    }
    bool isQueued(const QString& bundleID) const override { return queued.contains(bundleID); }
    std::optional<StageVeskPhase> defaultScreenPhase() const override { return phase; }

    std::optional<StageVeskPhase> phase;
    // The applications waiting in the stage queue.
    std::set<QString> queued;
    std::set<QString> activatedWith;
    DisplayNames displayNames;
    std::optional<StageVeskScreenID> anchorScreen;
    std::function<void(const QString&)> onAppFullyClosed;

private:
    CallTrace& trace_;
};

class FakeRunningApplication final : public RunningApplicationControlling {
public:
    FakeRunningApplication(CallTrace& trace, QString bundleID, qint32 pid)
        : trace_(trace)
        , bundleID_(std::move(bundleID))
        , pid_(pid)
    {
    }
    std::optional<QString> bundleIdentifier() const override { return bundleID_; }
    qint32 processIdentifier() const override { return pid_; }
    bool isTerminated() const override { return terminated; }
    ApplicationActivationPolicy activationPolicy() const override { return policy; }
    bool isHidden() const override { return hidden; }
    bool activate(ApplicationActivationOptions options) override
    {
        trace_.record("app.activate(" + bundleID_ + ")");
        activations.push_back(options);
        return true;
    }
    bool hide() override
    {
        trace_.record("app.hide(" + bundleID_ + ")");
        hidden = true;
        return true;
    }
    bool unhide() override
    {
        trace_.record("app.unhide(" + bundleID_ + ")");
        hidden = false;
        return true;
    }
    bool terminate() override
    {
        trace_.record("app.terminate(" + bundleID_ + ")");
        if (quitsOnRequest)
            terminated = true;
        return true;
    }

    bool terminated = false;
    bool hidden = false;
    bool quitsOnRequest = true;
    std::vector<ApplicationActivationOptions> activations;
    ApplicationActivationPolicy policy = ApplicationActivationPolicy::regular;

private:
    CallTrace& trace_;
    QString bundleID_;
    qint32 pid_;
};

// Installed bundles under /Applications; opening one starts it unless it runs.
class FakeWorkspace final : public WorkspaceControlling {
public:
    explicit FakeWorkspace(CallTrace& trace) : trace_(trace) { }

    std::shared_ptr<FakeRunningApplication> run(const QString& bundleID)
    {
        auto app = std::make_shared<FakeRunningApplication>(trace_, bundleID, nextPID_++);
        apps.push_back(app);
        return app;
    }
    void install(const QString& bundleID, const QString& name)
    {
        installed[bundleID] = QUrl::fromLocalFile("/Applications/" + name + ".app");
    }

    std::vector<std::shared_ptr<RunningApplicationControlling>> runningApplications() const override
    {
        return {apps.begin(), apps.end()};
    }
    std::optional<QUrl> urlForApplication(const QString& bundleID) const override
    {
        const auto it = installed.find(bundleID);
        if (it == installed.end())
            return std::nullopt;
        return it->second;
    }
    void openApplication(const QUrl& url, const WorkspaceOpenConfiguration&, OpenCompletion completion) override
    {
        trace_.record("workspace.openApplication(" + url.fileName() + ")");
        QString bundleID;
        for (const auto& [id, installedURL] : installed) {
            if (installedURL == url)
                bundleID = id;
        }
        std::shared_ptr<FakeRunningApplication> app;
        for (const auto& running : apps) {
            if (running->bundleIdentifier() == bundleID && !running->terminated)
                app = running;
        }
        if (!app && !bundleID.isEmpty())
            app = run(bundleID);
        const std::optional<QString> error = app ? std::nullopt : std::optional<QString>("not installed");
        if (holdCompletions)
            heldCompletions.push_back([completion, app, error] { completion(app, error); });
        else
            completion(app, error);
    }
    void open(const std::vector<QUrl>&, const QUrl& url, const WorkspaceOpenConfiguration&,
              OpenCompletion completion) override
    {
        trace_.record("workspace.open(" + url.fileName() + ")");
        completion(nullptr, std::nullopt);
    }

    std::vector<std::shared_ptr<FakeRunningApplication>> apps;
    std::map<QString, QUrl> installed;
    // Launch completions wait here until the test calls them.
    bool holdCompletions = false;
    std::vector<std::function<void()>> heldCompletions;

private:
    CallTrace& trace_;
    qint32 nextPID_ = 500;
};

// Answers from sets the test sets.
class FakeDetector final : public AllowedWindowDetecting {
public:
    Result detectAllowedWindows(const std::set<QString>& allowed) const override
    {
        if (onPoll)
            onPoll();
        Result result;
        for (const QString& id : allowed) {
            if (visible.contains(id))
                result.visible.insert(id);
            else if (covered.contains(id))
                result.covered.insert(id);
        }
        return result;
    }
    std::set<QString> visible;
    std::set<QString> covered;
    // Runs at every detection.
    std::function<void()> onPoll;
};

// Wraps the real waiter to put its calls into the trace.
class TraceWaiter final : public AllowedWindowWaiting {
public:
    TraceWaiter(CallTrace& trace, std::shared_ptr<AllowedWindowDetecting> detector, Scheduler& scheduler)
        : trace_(trace)
        , waiter_(std::move(detector), scheduler)
    {
    }
    void waitForAllowedWindows(const std::set<QString>& allowed, std::function<void()> completion) override
    {
        trace_.record("waiter.wait");
        lastCompletion = completion;
        waiter_.waitForAllowedWindows(allowed, [this, completion] {
            trace_.record("waiter.completion");
            completion();
        });
    }
    void cancel() override
    {
        trace_.record("waiter.cancel");
        waiter_.cancel();
    }

    // The completion the last wait was handed, as the waiter holds it.
    std::function<void()> lastCompletion;

private:
    CallTrace& trace_;
    AllowedWindowWaiter waiter_;
};

// Repeating timers in the test's virtual time.
class ManualTimerFactory final : public SessionTimerCreating {
public:
    ManualTimerFactory(CallTrace& trace, ManualScheduler& scheduler) : trace_(trace), scheduler_(scheduler) { }

    class Timer final : public SessionTimerControlling {
    public:
        Timer(CallTrace& trace, ManualScheduler& scheduler, double interval, std::function<void()> handler)
            : trace_(trace)
            , scheduler_(scheduler)
            , state_(std::make_shared<State>())
        {
            state_->handler = std::move(handler);
            schedule(scheduler_, state_, interval);
        }
        ~Timer() override { state_->cancelled = true; }
        void cancel() override
        {
            trace_.record("timer.cancel");
            state_->cancelled = true;
        }

    private:
        struct State {
            bool cancelled = false;
            std::function<void()> handler;
        };
        static void schedule(ManualScheduler& scheduler, std::shared_ptr<State> state, double interval)
        {
            scheduler.asyncAfter(interval, [&scheduler, state, interval] {
                if (state->cancelled)
                    return;
                state->handler();
                schedule(scheduler, state, interval);
            });
        }
        CallTrace& trace_;
        ManualScheduler& scheduler_;
        std::shared_ptr<State> state_;
    };

    std::unique_ptr<SessionTimerControlling> makeTimer(double interval, std::function<void()> handler) override
    {
        trace_.record(QStringLiteral("timer.make(%1)").arg(interval));
        lastHandler = handler;
        return std::make_unique<Timer>(trace_, scheduler_, interval, std::move(handler));
    }

    // The handler of the last timer made, as its queue would call it.
    std::function<void()> lastHandler;

private:
    CallTrace& trace_;
    ManualScheduler& scheduler_;
};

class TraceStore final : public SessionPersisting {
public:
    explicit TraceStore(CallTrace& trace) : trace_(trace) { }

    StoreResult<int> recoverOrphanedSessions(const QDateTime&) override
    {
        trace_.record("store.recoverOrphanedSessions");
        if (failure)
            return StoreError{*failure};
        return orphanCount;
    }
    StoreResult<int> closeActiveSessions(const QDateTime&, SessionEndReason reason) override
    {
        trace_.record("store.closeActiveSessions(" + toRaw(reason) + ")");
        if (failure)
            return StoreError{*failure};
        return staleActiveCount;
    }
    StoreResult<> createSessionRecord(const QUuid& id, const QDateTime& startedAt, qint64 duration,
                                      const std::optional<QString>& goal, const QStringList& allowed,
                                      const QStringList& allAllowed) override
    {
        trace_.record("store.createSessionRecord");
        if (failure)
            return StoreError{*failure};
        created = Record{id, startedAt, duration, goal, allowed, allAllowed, {}, {}};
        return {};
    }
    StoreResult<> updateSessionAllowlist(const QUuid&, const QStringList& allowed,
                                         const QStringList& allAllowed) override
    {
        trace_.record("store.updateSessionAllowlist");
        updatedAllowed = allowed;
        updatedAllAllowed = allAllowed;
        return {};
    }
    QStringList updatedAllowed;
    QStringList updatedAllAllowed;
    StoreResult<> stopSessionRecord(const QUuid& id, const QDateTime& endedAt, SessionEndReason reason,
                                    const QStringList& allowed, const QStringList& allAllowed) override
    {
        trace_.record("store.stopSessionRecord(" + toRaw(reason) + ")");
        if (failure)
            return StoreError{*failure};
        stopped = Record{id, {}, 0, {}, allowed, allAllowed, endedAt, reason};
        return {};
    }
    StoreResult<> updateSessionReflection(const QUuid& id, std::optional<GoalStatus> goalStatus,
                                          std::optional<VeskHelpful> helpful, const std::optional<QString>& note,
                                          const QDateTime&) override
    {
        trace_.record("store.updateSessionReflection");
        if (failure)
            return StoreError{*failure};
        reflection = Reflection{id, goalStatus, helpful, note};
        return {};
    }
    struct Reflection {
        QUuid id;
        std::optional<GoalStatus> goalStatus;
        std::optional<VeskHelpful> helpful;
        std::optional<QString> note;
    };
    std::optional<Reflection> reflection;

    struct Record {
        QUuid id;
        QDateTime startedAt;
        qint64 durationSeconds = 0;
        std::optional<QString> goal;
        QStringList allowed;
        QStringList allAllowed;
        QDateTime endedAt;
        std::optional<SessionEndReason> endReason;
    };
    std::optional<Record> created;
    std::optional<Record> stopped;
    int staleActiveCount = 0;
    int orphanCount = 0;
    std::optional<QString> failure;

private:
    CallTrace& trace_;
};

class TraceAnalytics final : public AnalyticsTracking {
public:
    explicit TraceAnalytics(CallTrace& trace) : trace_(trace) { }
    void track(const AnalyticsEvent& event) override
    {
        trace_.record("analytics.track(" + event.signalName() + ")");
        events.push_back(event);
    }
    std::vector<AnalyticsEvent> events;

private:
    CallTrace& trace_;
};

class TraceAXWindowManager final : public AXWindowManaging {
public:
    explicit TraceAXWindowManager(CallTrace& trace) : trace_(trace) { }
    WindowCounts minimizedWindowCounts(const QString& bundleID) override
    {
        const auto it = counts.find(bundleID);
        return it == counts.end() ? WindowCounts{} : it->second;
    }
    bool raise(const QString& bundleID) override
    {
        trace_.record("windowManager.raise(" + bundleID + ")");
        return true;
    }
    bool setMinimized(const QString& bundleID, bool minimized) override
    {
        trace_.record(QStringLiteral("windowManager.setMinimized(%1, %2)").arg(bundleID, minimized ? "true" : "false"));
        return true;
    }
    // The session core places, hides and closes no windows itself: the stage does.
    bool setFrame(const QString& bundleID, const Rect&) override { return record("setFrame", bundleID); }
    bool setPosition(const QString& bundleID, const Rect&) override { return record("setPosition", bundleID); }
    bool hide(const QString& bundleID) override { return record("hide", bundleID); }
    bool closeWindow(const QString& bundleID, std::optional<Point>) override { return record("closeWindow", bundleID); }
    bool isFullScreen(const QString& bundleID) override { return record("isFullScreen", bundleID); }
    bool exitFullScreen(const QString& bundleID) override { return record("exitFullScreen", bundleID); }
    std::map<QString, WindowCounts> counts;

private:
    bool record(const char* operation, const QString& bundleID)
    {
        trace_.record(QStringLiteral("windowManager.%1(%2)").arg(QLatin1String(operation), bundleID));
        return false;
    }

    CallTrace& trace_;
};

class TraceMaterializer final : public WindowMaterializing {
public:
    explicit TraceMaterializer(CallTrace& trace) : trace_(trace) { }
    WindowMaterializationOutcome materialize(const QString& bundleID, const std::optional<QUrl>&,
                                             const QString& reason) override
    {
        trace_.record("materializer.materialize(" + bundleID + ", " + reason + ")");
        return outcome;
    }
    WindowMaterializationOutcome outcome = WindowMaterializationOutcome::unsupported();

private:
    CallTrace& trace_;
};

class FakeCapabilityDetector final : public ApplicationCapabilityDetecting {
public:
    bool supportsWebURLSchemes(const QUrl& url) const override { return webApplications.contains(url.fileName()); }
    std::set<QString> webApplications;
};

class FakeScreenshots final : public SessionScreenshotCapturing {
public:
    Result captureAndSave(const QDateTime&) override
    {
        if (fails)
            return {std::nullopt, QStringLiteral("no display")};
        return {QStringLiteral("/Desktop/vesk-screenshot.png"), {}};
    }
    bool fails = false;
};

class FakeScreens final : public platform::ScreenProviding {
public:
    void add(quint32 displayID, QRectF cocoaFrame)
    {
        platform::ScreenInfo screen;
        screen.displayID = displayID;
        screen.frame = cocoaFrame;
        screen.visibleFrame = cocoaFrame;
        screen.name = QStringLiteral("Display %1").arg(displayID);
        list.push_back(screen);
    }
    std::vector<platform::ScreenInfo> screens() const override { return list; }
    std::optional<platform::ScreenInfo> mainScreen() const override
    {
        if (list.empty())
            return std::nullopt;
        return list.front();
    }
    std::optional<QRectF> displayBounds(quint32) const override { return std::nullopt; }
    std::vector<platform::ScreenInfo> list;
};

} // namespace vesk::test
