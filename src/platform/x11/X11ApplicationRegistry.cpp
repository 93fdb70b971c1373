#include "platform/x11/X11ApplicationRegistry.h"

#include "platform/x11/X11WindowCache.h"
#include "platform/x11/X11WindowControl.h"
#include "platform/x11/XdgApplicationMatcher.h"
#include "platform/x11/XdgInstalledApplications.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <signal.h>

namespace vesk::platform {

X11ApplicationRegistry::X11ApplicationRegistry(const X11WindowCache& cache, X11WindowControl& control,
                                               const XdgInstalledApplications& applications, ProcessID ownPID)
    : cache_(cache)
    , control_(control)
    , applications_(applications)
    , ownPID_(ownPID)
{
}

bool X11ApplicationRegistry::isAlive(ProcessID pid)
{
    if (pid <= 0 || (::kill(pid, 0) != 0 && errno != EPERM))
        return false;
    // A process that has ended but is not reaped yet (where nothing reaps
    // orphans, as in some containers) still answers signals.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readLine(1024);
    const qsizetype state = line.lastIndexOf(')') + 2;
    return state <= 1 || state >= line.size() || line.at(state) != 'Z';
}

bool X11ApplicationRegistry::signal(ProcessID pid, int signalNumber)
{
    // Never a process group, init, or a number that names nothing.
    return pid > 1 && ::kill(pid, signalNumber) == 0;
}

std::optional<QString> X11ApplicationRegistry::match(ProcessID pid, xcb_window_t window) const
{
    const X11ManagedWindow* managed = cache_.window(window);
    XdgWindowOwner owner;
    if (managed) {
        owner.wmClassInstance = managed->instanceName;
        owner.wmClass = managed->className;
    }
    owner.process = XdgProcessInfo::read(pid);
    return XdgApplicationMatcher::match(*applications_.catalog(), owner);
}

void X11ApplicationRegistry::takeIn(ProcessID pid, std::optional<QString> applicationID, bool launchedByVesk)
{
    records_.emplace(pid, Record{nextOrder_++, std::move(applicationID), launchedByVesk});
    if (onLaunched)
        onLaunched(pid);
}

void X11ApplicationRegistry::addLaunched(ProcessID pid, const QString& applicationID)
{
    if (const auto it = records_.find(pid); it != records_.end()) {
        it->second.launchedByVesk = true;
        return;
    }
    takeIn(pid, applicationID, true);
}

void X11ApplicationRegistry::update()
{
    std::map<ProcessID, xcb_window_t> firstWindow;
    for (const X11ManagedWindow& window : cache_.windows()) {
        if (window.pid && *window.pid > 0)
            firstWindow.emplace(*window.pid, window.id);
    }
    for (const auto& [pid, window] : firstWindow) {
        if (!records_.contains(pid))
            takeIn(pid, match(pid, window), false);
    }
    for (auto it = records_.begin(); it != records_.end();) {
        const ProcessID pid = it->first;
        const bool stays = firstWindow.contains(pid) || pid == ownPID_ || (it->second.launchedByVesk && isAlive(pid));
        it = stays ? std::next(it) : records_.erase(it);
    }
    for (auto it = quitRequested_.begin(); it != quitRequested_.end();) {
        const ProcessID pid = *it;
        if (firstWindow.contains(pid)) {
            ++it;
            continue;
        }
        // Its windows have closed as asked, yet the process lingers.
        if (isAlive(pid))
            signal(pid, SIGTERM);
        it = quitRequested_.erase(it);
    }
    const std::optional<ProcessID> active = activeProcess();
    if (active != activePID_) {
        activePID_ = active;
        if (active && onActivated)
            onActivated(*active);
    }
}

bool X11ApplicationRegistry::needsPolling() const
{
    if (!quitRequested_.empty())
        return true;
    for (const auto& [pid, record] : records_) {
        if (record.launchedByVesk && windowsOf(pid).empty())
            return true;
    }
    return false;
}

std::vector<ProcessID> X11ApplicationRegistry::processes() const
{
    std::vector<std::pair<quint64, ProcessID>> ordered;
    for (const auto& [pid, record] : records_)
        ordered.emplace_back(record.order, pid);
    std::sort(ordered.begin(), ordered.end());
    std::vector<ProcessID> pids;
    for (const auto& entry : ordered)
        pids.push_back(entry.second);
    return pids;
}

std::optional<QString> X11ApplicationRegistry::applicationID(ProcessID pid) const
{
    const auto it = records_.find(pid);
    return it == records_.end() ? std::nullopt : it->second.applicationID;
}

std::optional<ProcessID> X11ApplicationRegistry::runningProcess(const QString& applicationID) const
{
    for (const ProcessID pid : processes()) {
        if (records_.at(pid).applicationID == applicationID)
            return pid;
    }
    return std::nullopt;
}

std::optional<ProcessID> X11ApplicationRegistry::activeProcess() const
{
    const X11ManagedWindow* window = cache_.window(cache_.activeWindow());
    if (!window || !window->pid || !records_.contains(*window->pid))
        return std::nullopt;
    return window->pid;
}

std::vector<xcb_window_t> X11ApplicationRegistry::windowsOf(ProcessID pid) const
{
    std::vector<xcb_window_t> windows;
    for (const X11ManagedWindow& window : cache_.windows()) {
        if (window.pid == pid)
            windows.push_back(window.id);
    }
    return windows;
}

QString X11ApplicationRegistry::localizedName(ProcessID pid) const
{
    if (const auto id = applicationID(pid)) {
        if (const auto application = applications_.application(*id); application && !application->entry.name.isEmpty())
            return application->entry.name;
        return *id;
    }
    for (const xcb_window_t id : windowsOf(pid)) {
        const X11ManagedWindow* window = cache_.window(id);
        if (!window->className.isEmpty())
            return window->className;
    }
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (comm.open(QIODevice::ReadOnly))
        return QString::fromLocal8Bit(comm.readLine(256)).trimmed();
    return {};
}

ActivationPolicy X11ApplicationRegistry::activationPolicy(ProcessID pid) const
{
    // A desktop shell's own windows (docks, desktops, notifications) make no
    // application the user switches to.
    bool anyWindow = false;
    for (const xcb_window_t id : windowsOf(pid)) {
        const X11ManagedWindow* window = cache_.window(id);
        if ((window->type == X11WindowType::normal || window->type == X11WindowType::dialog) && !window->skipTaskbar)
            return ActivationPolicy::regular;
        anyWindow = true;
    }
    if (anyWindow)
        return ActivationPolicy::accessory;
    const auto id = applicationID(pid);
    const auto application = id ? applications_.application(*id) : std::nullopt;
    return application && application->shown ? ActivationPolicy::regular : ActivationPolicy::prohibited;
}

bool X11ApplicationRegistry::isHidden(ProcessID pid) const
{
    const std::vector<xcb_window_t> windows = windowsOf(pid);
    if (windows.empty())
        return false;
    for (const xcb_window_t id : windows) {
        if (!cache_.window(id)->hidden)
            return false;
    }
    return true;
}

bool X11ApplicationRegistry::activate(ProcessID pid, int activationOptions)
{
    const std::vector<xcb_window_t> windows = windowsOf(pid);
    if (!isRunning(pid) || windows.empty())
        return false;
    // Without the option the application's frontmost window comes up; with it
    // every other one is raised first, keeping their order, and the frontmost
    // goes on top. The frontmost is the one on the desktop shown when the
    // application has one there: activation does not carry the user to
    // another desktop.
    const auto shown = std::find_if(windows.begin(), windows.end(), [this](xcb_window_t id) {
        return cache_.window(id)->isOnDesktop(cache_.currentDesktop());
    });
    const xcb_window_t front = shown == windows.end() ? windows.front() : *shown;
    if (activationOptions & ActivateAllWindows) {
        for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
            if (*it != front)
                control_.raise(*it);
        }
    }
    return control_.activate(front);
}

bool X11ApplicationRegistry::hide(ProcessID pid)
{
    bool any = false;
    for (const xcb_window_t id : windowsOf(pid))
        any = control_.minimize(id) || any;
    return any;
}

bool X11ApplicationRegistry::unhide(ProcessID pid)
{
    bool any = false;
    for (const xcb_window_t id : windowsOf(pid)) {
        if (cache_.window(id)->hidden)
            any = control_.restore(id) || any;
    }
    return any;
}

bool X11ApplicationRegistry::terminate(ProcessID pid)
{
    if (!isRunning(pid) || pid == ownPID_)
        return false;
    const std::vector<xcb_window_t> windows = windowsOf(pid);
    if (windows.empty())
        return signal(pid, SIGTERM);
    for (const xcb_window_t id : windows)
        control_.close(id);
    quitRequested_.insert(pid);
    return true;
}

bool X11ApplicationRegistry::forceTerminate(ProcessID pid)
{
    if (!isRunning(pid) || pid == ownPID_)
        return false;
    return signal(pid, SIGKILL);
}

} // namespace vesk::platform
