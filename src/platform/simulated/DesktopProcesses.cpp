#include "platform/simulated/DesktopProcesses.h"

#include "core/Scheduler.h"
#include "platform/PresentationOptionsControlling.h"
#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/DesktopDisplayLayout.h"
#include "platform/simulated/DesktopOwnProcess.h"
#include "platform/simulated/DesktopOwnWindows.h"
#include "platform/simulated/DesktopWindowStack.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QLoggingCategory>
#include <QPointer>

#include <algorithm>

namespace vesk::platform {

namespace {

Q_LOGGING_CATEGORY(lcDesktop, "vesk.platform.desktop")

bool isStandardWindow(const DesktopWindow& window)
{
    return window.layer == 0 && !window.desktopElement;
}

} // namespace

DesktopProcesses::DesktopProcesses(SimulatedDesktop& desktop) : desktop_(desktop)
{
}

ProcessID DesktopProcesses::nextPID()
{
    auto inUse = [this](ProcessID pid) {
        return pid == desktop_.ownPID()
               || std::any_of(applications_.begin(), applications_.end(),
                              [pid](const DesktopApplication& a) { return a.pid == pid; });
    };
    while (inUse(nextPID_))
        ++nextPID_;
    return nextPID_++;
}

ProcessID DesktopProcesses::addRunningApplication(const ApplicationSpec& spec)
{
    DesktopApplication app;
    const bool pidFree = spec.pid && *spec.pid > 0 && !application(*spec.pid) && *spec.pid != desktop_.ownPID();
    app.pid = pidFree ? *spec.pid : nextPID();
    app.bundleIdentifier = spec.bundleIdentifier;
    app.bundlePath = spec.bundlePath;
    const BundleSpec* bundle = spec.bundlePath         ? desktop_.bundleAtPath(*spec.bundlePath)
                               : spec.bundleIdentifier ? desktop_.bundleForIdentifier(*spec.bundleIdentifier)
                                                       : nullptr;
    if (bundle && !app.bundlePath)
        app.bundlePath = bundle->path;
    app.name = !spec.name.isEmpty()                ? spec.name
               : bundle && !bundle->name.isEmpty() ? bundle->name
                                                   : spec.bundleIdentifier.value_or(QStringLiteral("process"));
    app.activationPolicy = spec.activationPolicy;
    app.hidden = spec.hidden;
    app.quitBehaviour = spec.quitBehaviour;
    app.quitDelay = spec.quitDelay;
    app.accessibilityResponsive = spec.accessibilityResponsive;
    applications_.push_back(app);
    for (const WindowSpec& window : spec.windows)
        desktop_.windowStack().addWindow(app.pid, window);
    qCInfo(lcDesktop) << "Application launched — pid=" << app.pid
                      << ", bundleID=" << app.bundleIdentifier.value_or(QStringLiteral("none"));
    emit desktop_.applicationLaunched(app.pid);
    return app.pid;
}

const DesktopApplication* DesktopProcesses::application(ProcessID pid) const
{
    for (const DesktopApplication& app : applications_) {
        if (app.pid == pid)
            return &app;
    }
    return nullptr;
}

DesktopApplication* DesktopProcesses::mutableApplication(ProcessID pid)
{
    return const_cast<DesktopApplication*>(application(pid));
}

const DesktopApplication* DesktopProcesses::runningApplication(const QString& bundleIdentifier) const
{
    for (const DesktopApplication& app : applications_) {
        if (!app.terminated && app.bundleIdentifier == bundleIdentifier)
            return &app;
    }
    return nullptr;
}

std::optional<QString> DesktopProcesses::bundleIdentifierOfProcess(ProcessID pid) const
{
    const DesktopApplication* app = application(pid);
    if (!app || app->terminated)
        return std::nullopt;
    return app->bundleIdentifier;
}

void DesktopProcesses::adoptOwnProcess(ProcessID previous, const OwnApplicationSpec& spec)
{
    DesktopApplication* app = mutableApplication(previous);
    if (!app) {
        DesktopApplication entry;
        entry.pid = spec.pid;
        applications_.push_back(entry);
        app = &applications_.back();
    }
    app->pid = spec.pid;
    app->bundleIdentifier = spec.bundleIdentifier;
    app->name = spec.name;
    app->activationPolicy = ActivationPolicy::regular;
    desktop_.windowStack().transferWindows(previous, spec.pid);
    if (frontmostPID_ == previous)
        frontmostPID_ = spec.pid;
    desktop_.windowStack().bumpRevision();
}

bool DesktopProcesses::activate(ProcessID pid, int activationOptions)
{
    DesktopApplication* app = mutableApplication(pid);
    if (!app || app->terminated || app->activationPolicy == ActivationPolicy::prohibited)
        return false;
    if (app->hidden) {
        app->hidden = false;
        emit desktop_.applicationUnhidden(pid);
    }
    switchToSpaceOfApplicationIfNeeded(pid);
    bringApplicationWindowsToFront(pid, activationOptions & ActivateAllWindows);
    if (pid != desktop_.ownPID())
        desktop_.ownWindowRegistry().resignKey();
    if (frontmostPID_ != pid) {
        const auto previous = frontmostPID_;
        frontmostPID_ = pid;
        if (previous)
            emit desktop_.applicationDeactivated(*previous);
        emit desktop_.applicationActivated(pid);
    }
    desktop_.windowStack().windowsDidChange();
    return true;
}

bool DesktopProcesses::hide(ProcessID pid)
{
    DesktopApplication* app = mutableApplication(pid);
    if (!app || app->terminated)
        return false;
    if (pid == desktop_.ownPID() && (desktop_.presentationOptions() & PresentationDisableHideApplication))
        return false;
    if (app->refusesHide)
        return false;
    if (app->hidden)
        return true;
    app->hidden = true;
    emit desktop_.applicationHidden(pid);
    if (frontmostPID_ == pid)
        chooseNewFrontmost(pid);
    desktop_.windowStack().windowsDidChange();
    return true;
}

bool DesktopProcesses::unhide(ProcessID pid)
{
    DesktopApplication* app = mutableApplication(pid);
    if (!app || app->terminated)
        return false;
    if (!app->hidden)
        return true;
    app->hidden = false;
    emit desktop_.applicationUnhidden(pid);
    desktop_.windowStack().windowsDidChange();
    return true;
}

bool DesktopProcesses::terminate(ProcessID pid)
{
    DesktopApplication* app = mutableApplication(pid);
    if (!app || app->terminated)
        return false;
    if (pid == desktop_.ownPID()) {
        desktop_.ownProcess().requestOwnTermination();
        return true;
    }
    switch (app->quitBehaviour) {
    case QuitBehaviour::quits:
        finishTermination(pid);
        break;
    case QuitBehaviour::quitsLater:
        if (!app->quitPending) {
            app->quitPending = true;
            desktop_.scheduler().asyncAfter(app->quitDelay, [this, guard = QPointer<SimulatedDesktop>(&desktop_), pid] {
                if (!guard)
                    return;
                const DesktopApplication* current = application(pid);
                if (current && !current->terminated)
                    finishTermination(pid);
            });
        }
        break;
    case QuitBehaviour::refuses:
        qCInfo(lcDesktop) << "Application refused to quit — pid=" << pid;
        break;
    }
    return true;
}

bool DesktopProcesses::forceTerminate(ProcessID pid)
{
    const DesktopApplication* app = application(pid);
    if (!app || app->terminated)
        return false;
    if (pid == desktop_.ownPID()) {
        desktop_.ownProcess().endOwnProcess();
        return true;
    }
    finishTermination(pid);
    return true;
}

void DesktopProcesses::setQuitBehaviour(ProcessID pid, QuitBehaviour behaviour, double delay)
{
    if (DesktopApplication* app = mutableApplication(pid)) {
        app->quitBehaviour = behaviour;
        app->quitDelay = delay;
    }
}

void DesktopProcesses::setAccessibilityResponsive(ProcessID pid, bool responsive)
{
    if (DesktopApplication* app = mutableApplication(pid))
        app->accessibilityResponsive = responsive;
}

void DesktopProcesses::setRefusesHide(ProcessID pid, bool refuses)
{
    if (DesktopApplication* app = mutableApplication(pid))
        app->refusesHide = refuses;
}

void DesktopProcesses::finishTermination(ProcessID pid)
{
    DesktopApplication* app = mutableApplication(pid);
    if (!app || app->terminated)
        return;
    app->terminated = true;
    app->quitPending = false;
    desktop_.windowStack().dropWindowsOf(pid);
    qCInfo(lcDesktop) << "Application terminated — pid=" << pid;
    if (frontmostPID_ == pid)
        chooseNewFrontmost(pid);
    emit desktop_.applicationTerminated(pid);
    desktop_.windowStack().windowsDidChange();
}

void DesktopProcesses::chooseNewFrontmost(ProcessID leaving)
{
    auto eligible = [&](const DesktopApplication* app) {
        return app && app->pid != leaving && !app->terminated && !app->hidden
               && app->activationPolicy == ActivationPolicy::regular;
    };
    const DesktopWindowStack& windows = desktop_.windowStack();
    std::optional<ProcessID> next;
    for (WindowNumber number : windows.stackingOrder()) {
        const DesktopWindow& window = *windows.window(number);
        if (windows.isOnScreen(window) && isStandardWindow(window) && eligible(application(window.ownerPID))) {
            next = window.ownerPID;
            break;
        }
    }
    if (!next) {
        const DesktopApplication* finder = runningApplication(kFinderBundleIdentifier);
        if (eligible(finder))
            next = finder->pid;
    }
    frontmostPID_ = next;
    emit desktop_.applicationDeactivated(leaving);
    if (next)
        emit desktop_.applicationActivated(*next);
}

void DesktopProcesses::bringApplicationWindowsToFront(ProcessID pid, bool allWindows)
{
    DesktopWindowStack& windows = desktop_.windowStack();
    if (!allWindows) {
        if (const auto main = mainWindow(pid))
            windows.bringToFront(*main);
        return;
    }
    std::vector<WindowNumber> owned;
    for (WindowNumber number : windows.stackingOrder()) {
        if (windows.window(number)->ownerPID == pid)
            owned.push_back(number);
    }
    for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        windows.bringToFront(*it);
}

void DesktopProcesses::switchToSpaceOfApplicationIfNeeded(ProcessID pid)
{
    // Activating an application whose windows are all on another Space moves
    // to that Space, unless the Dock was told not to.
    const QVariant swoosh = appliedDockPreferences_.value(QStringLiteral("workspaces-auto-swoosh"));
    if (swoosh.isValid() && !swoosh.toBool())
        return;
    const DesktopWindowStack& windows = desktop_.windowStack();
    std::optional<int> target;
    for (const DesktopWindow* window : windows.windowsOf(pid)) {
        if (!isStandardWindow(*window) || window->minimized || !window->orderedIn)
            continue;
        if (windows.isOnScreen(*window))
            return;
        if (!target && window->spaceID != 0)
            target = window->spaceID;
    }
    if (target)
        desktop_.displayLayout().switchToSpace(*target);
}

std::optional<WindowNumber> DesktopProcesses::mainWindow(ProcessID pid) const
{
    const DesktopApplication* app = application(pid);
    if (!app)
        return std::nullopt;
    const DesktopWindowStack& windows = desktop_.windowStack();
    if (app->mainWindow) {
        const DesktopWindow* w = windows.window(*app->mainWindow);
        if (w && !w->minimized)
            return app->mainWindow;
    }
    for (const DesktopWindow* w : windows.windowsOf(pid)) {
        if (isStandardWindow(*w) && !w->minimized && w->orderedIn
            && (w->spaceID == 0 || windows.isOnScreen(*w) || app->hidden))
            return w->number;
    }
    return std::nullopt;
}

void DesktopProcesses::setMainWindow(ProcessID pid, WindowNumber number)
{
    DesktopApplication* app = mutableApplication(pid);
    DesktopWindowStack& windows = desktop_.windowStack();
    const DesktopWindow* w = windows.window(number);
    if (!app || !w || w->ownerPID != pid)
        return;
    app->mainWindow = number;
    windows.bringToFront(number);
    windows.windowsDidChange();
}

void DesktopProcesses::forgetMainWindow(WindowNumber number)
{
    for (DesktopApplication& app : applications_) {
        if (app.mainWindow == number)
            app.mainWindow.reset();
    }
}

bool DesktopProcesses::restartDock()
{
    const DesktopApplication* dock = runningApplication(kDockBundleIdentifier);
    if (!dock)
        return false;
    ApplicationSpec spec;
    spec.bundleIdentifier = dock->bundleIdentifier;
    spec.bundlePath = dock->bundlePath;
    spec.name = dock->name;
    spec.activationPolicy = dock->activationPolicy;
    finishTermination(dock->pid);
    addRunningApplication(spec);
    readDockPreferences();
    ++dockRestartCount_;
    emit desktop_.dockRestarted();
    return true;
}

void DesktopProcesses::readDockPreferences()
{
    appliedDockPreferences_ = desktop_.defaults().domain(kDockBundleIdentifier);
}

} // namespace vesk::platform
