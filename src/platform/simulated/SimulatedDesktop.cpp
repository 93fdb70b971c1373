#include "platform/simulated/SimulatedDesktop.h"

#include "core/Scheduler.h"
#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/DesktopAccessibility.h"
#include "platform/simulated/DesktopApplicationActivity.h"
#include "platform/simulated/DesktopBundleReader.h"
#include "platform/simulated/DesktopCommandRunner.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/DesktopFileBrowser.h"
#include "platform/simulated/DesktopScreenCapturer.h"
#include "platform/simulated/DesktopScreenProvider.h"
#include "platform/simulated/DesktopWindowListProvider.h"
#include "platform/simulated/DesktopWorkspace.h"

#include <QDir>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include <algorithm>

Q_LOGGING_CATEGORY(lcDesktop, "vesk.platform.desktop")

namespace vesk::platform {

namespace {

double overlapArea(const QRectF& a, const QRectF& b)
{
    const QRectF overlap = a.intersected(b);
    if (overlap.isEmpty())
        return 0;
    return overlap.width() * overlap.height();
}

bool containsPoint(const QRectF& rect, const QPointF& point)
{
    return point.x() >= rect.left() && point.x() < rect.right() && point.y() >= rect.top() && point.y() < rect.bottom();
}

double distanceSquared(const QRectF& rect, const QPointF& point)
{
    const double dx = std::max({0.0, rect.left() - point.x(), point.x() - rect.right()});
    const double dy = std::max({0.0, rect.top() - point.y(), point.y() - rect.bottom()});
    return dx * dx + dy * dy;
}

// The display whose rect in one coordinate system (`rectIn` picks which)
// overlaps the rect most; none when it overlaps no display.
std::optional<int> displayOverlappingMost(const std::vector<DesktopDisplay>& displays, const QRectF& rect,
                                          QRectF DesktopDisplay::*rectIn)
{
    std::optional<int> best;
    double bestArea = 0;
    for (int i = 0; i < int(displays.size()); ++i) {
        const double area = overlapArea(rect, displays[i].*rectIn);
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    return best;
}

// The first display whose rect in one coordinate system (`rectIn` picks which)
// contains the point, else the nearest one; 0 without displays.
int displayNearestPoint(const std::vector<DesktopDisplay>& displays, const QPointF& point,
                        QRectF DesktopDisplay::*rectIn)
{
    int index = 0;
    double best = -1;
    for (int i = 0; i < int(displays.size()); ++i) {
        if (containsPoint(displays[i].*rectIn, point))
            return i;
        const double distance = distanceSquared(displays[i].*rectIn, point);
        if (best < 0 || distance < best) {
            best = distance;
            index = i;
        }
    }
    return index;
}

bool isStandardWindow(const DesktopWindow& window)
{
    return window.layer == 0 && !window.desktopElement;
}

} // namespace

SimulatedDesktop::SimulatedDesktop(Scheduler& scheduler, QString desktopRoot, QObject* parent)
    : QObject(parent)
    , scheduler_(scheduler)
    , desktopRoot_(std::move(desktopRoot))
    , defaults_(std::make_unique<DefaultsDomains>())
    , commandRunner_(std::make_unique<DesktopCommandRunner>(*this))
    , accessibility_(std::make_unique<DesktopAccessibility>(*this))
    , events_(std::make_unique<DesktopEventSystem>(*this))
    , workspace_(std::make_unique<DesktopWorkspace>(*this))
    , windowList_(std::make_unique<DesktopWindowListProvider>(*this))
    , screens_(std::make_unique<DesktopScreenProvider>(*this))
    , screenCapturer_(std::make_unique<DesktopScreenCapturer>(*this))
    , files_(std::make_unique<DesktopFileBrowser>(*this))
    , bundleReader_(std::make_unique<DesktopBundleReader>())
{
    setOwnApplication(own_);
    applicationActivity_ = std::make_unique<DesktopApplicationActivity>(*this);
    diagnostics_ = std::make_unique<DesktopDiagnostics>(*workspace_);
}

bool SimulatedDesktop::keepDefaultsDomainsIn(const QString& path)
{
    defaultsFromEarlierDesktop_ = defaults_->keepInFile(path);
    // The running Dock started with what the domains held.
    appliedDockPreferences_ = defaults_->domain(kDockBundleIdentifier);
    return defaultsFromEarlierDesktop_;
}

PlatformInterfaces SimulatedDesktop::interfaces()
{
    return PlatformInterfaces{
        .windowList = *windowList_,
        .screens = *screens_,
        .screenChanges = *screens_,
        .workspace = *workspace_,
        .files = *files_,
        .bundles = *bundleReader_,
        .accessibility = *accessibility_,
        .eventTaps = *events_,
        .defaultsDomains = *defaults_,
        .commandRunner = *commandRunner_,
        .ownWindows = *this,
        .presentationOptions = *this,
        .ownApplication = *this,
        .pointer = pointer_,
        .permissions = permissions_,
        .reduceMotion = reduceMotion_,
        .screenCapture = *screenCapturer_,
        .diagnosticPayloads = *diagnostics_,
        .systemInfo = systemInfo_,
        .applicationActivity = *applicationActivity_,
        .storeTransactions = storeTransactions_,
    };
}

SimulatedDesktop::~SimulatedDesktop()
{
    // Launch completions still queued run before the model goes away.
    workspace_.reset();
}

QString SimulatedDesktop::filesystemPath(const QString& platformPath) const
{
    if (platformPath.startsWith(QLatin1Char('/')))
        return desktopRoot_ + platformPath;
    return desktopRoot_ + QLatin1Char('/') + platformPath;
}

// --- Displays and Spaces -----------------------------------------------------

DesktopDisplay SimulatedDesktop::resolveDisplay(const DisplaySpec& spec) const
{
    DesktopDisplay display;
    display.displayID = spec.displayID;
    display.bounds = spec.bounds;
    display.name = spec.name;
    display.scale = spec.scale;
    display.reportsBounds = spec.reportsBounds;
    const double primaryHeight = displays_.empty() ? spec.bounds.height() : displays_.front().bounds.height();
    const double primaryTop = displays_.empty() ? spec.bounds.top() : displays_.front().bounds.top();
    display.frame = spec.frame.value_or(QRectF(spec.bounds.x(), primaryTop + primaryHeight - spec.bounds.bottom(),
                                               spec.bounds.width(), spec.bounds.height()));
    display.visibleFrame =
        spec.visibleFrame.value_or(QRectF(display.frame.x(), display.frame.y(), display.frame.width(),
                                          std::max(0.0, display.frame.height() - kMenuBarHeight)));
    return display;
}

int SimulatedDesktop::addDisplay(const DisplaySpec& spec)
{
    DesktopDisplay display = resolveDisplay(spec);
    for (int i = 0; i < std::max(1, spec.spaceCount); ++i)
        display.spaceIDs.push_back(nextSpaceID_++);
    display.activeSpaceID = display.spaceIDs.front();
    displays_.push_back(std::move(display));
    ++revision_;
    emit screenParametersChanged();
    return int(displays_.size()) - 1;
}

void SimulatedDesktop::updateDisplay(int index, const DisplaySpec& spec)
{
    if (index < 0 || index >= int(displays_.size()))
        return;
    DesktopDisplay updated = resolveDisplay(spec);
    updated.spaceIDs = displays_[index].spaceIDs;
    updated.activeSpaceID = displays_[index].activeSpaceID;
    displays_[index] = std::move(updated);
    emit screenParametersChanged();
    windowsDidChange();
}

void SimulatedDesktop::removeDisplay(int index)
{
    if (index < 0 || index >= int(displays_.size()))
        return;
    const DesktopDisplay removed = displays_[index];
    displays_.erase(displays_.begin() + index);
    if (!displays_.empty()) {
        // The windows of a display that goes away move to the first display.
        const DesktopDisplay& target = displays_.front();
        const QPointF shift = target.bounds.topLeft() - removed.bounds.topLeft();
        for (auto& [number, window] : windows_) {
            const bool onRemoved =
                std::find(removed.spaceIDs.begin(), removed.spaceIDs.end(), window.spaceID) != removed.spaceIDs.end();
            if (!onRemoved)
                continue;
            window.spaceID = target.activeSpaceID;
            window.bounds.translate(shift);
        }
    }
    emit screenParametersChanged();
    windowsDidChange();
}

std::optional<int> SimulatedDesktop::mainDisplayIndex() const
{
    if (displays_.empty())
        return std::nullopt;
    for (WindowNumber number : stack_) {
        const DesktopWindow& window = windows_.at(number);
        if (window.ownerPID == own_.pid && window.canBecomeKey && isOnScreen(window))
            return displayIndexOfWindow(window).value_or(0);
    }
    return 0;
}

std::optional<int> SimulatedDesktop::displayIndexForQuartzRect(const QRectF& rect) const
{
    return displayOverlappingMost(displays_, rect, &DesktopDisplay::bounds);
}

std::optional<int> SimulatedDesktop::displayIndexForCocoaRect(const QRectF& rect) const
{
    return displayOverlappingMost(displays_, rect, &DesktopDisplay::frame);
}

QRectF SimulatedDesktop::cocoaRect(const QRectF& quartzRect) const
{
    if (displays_.empty())
        return quartzRect;
    const DesktopDisplay& d = displays_[displayIndexForQuartzRect(quartzRect).value_or(0)];
    return QRectF(d.frame.x() + quartzRect.x() - d.bounds.x(), d.frame.y() + d.bounds.bottom() - quartzRect.bottom(),
                  quartzRect.width(), quartzRect.height());
}

QRectF SimulatedDesktop::quartzRect(const QRectF& cocoaRect) const
{
    if (displays_.empty())
        return cocoaRect;
    const DesktopDisplay& d = displays_[displayIndexForCocoaRect(cocoaRect).value_or(0)];
    return QRectF(d.bounds.x() + cocoaRect.x() - d.frame.x(), d.bounds.y() + d.frame.bottom() - cocoaRect.bottom(),
                  cocoaRect.width(), cocoaRect.height());
}

QPointF SimulatedDesktop::cocoaPoint(const QPointF& quartzPoint) const
{
    if (displays_.empty())
        return quartzPoint;
    const DesktopDisplay& d = displays_[displayNearestPoint(displays_, quartzPoint, &DesktopDisplay::bounds)];
    return QPointF(d.frame.x() + quartzPoint.x() - d.bounds.x(), d.frame.y() + d.bounds.bottom() - quartzPoint.y());
}

QPointF SimulatedDesktop::quartzPoint(const QPointF& cocoaPoint) const
{
    if (displays_.empty())
        return cocoaPoint;
    const DesktopDisplay& d = displays_[displayNearestPoint(displays_, cocoaPoint, &DesktopDisplay::frame)];
    return QPointF(d.bounds.x() + cocoaPoint.x() - d.frame.x(), d.bounds.y() + d.frame.bottom() - cocoaPoint.y());
}

int SimulatedDesktop::addSpace(int displayIndex)
{
    if (displayIndex < 0 || displayIndex >= int(displays_.size()))
        return 0;
    const int id = nextSpaceID_++;
    displays_[displayIndex].spaceIDs.push_back(id);
    return id;
}

std::optional<int> SimulatedDesktop::displayIndexOfSpace(int spaceID) const
{
    for (int i = 0; i < int(displays_.size()); ++i) {
        const auto& ids = displays_[i].spaceIDs;
        if (std::find(ids.begin(), ids.end(), spaceID) != ids.end())
            return i;
    }
    return std::nullopt;
}

int SimulatedDesktop::activeSpaceID(int displayIndex) const
{
    if (displayIndex < 0 || displayIndex >= int(displays_.size()))
        return 0;
    return displays_[displayIndex].activeSpaceID;
}

bool SimulatedDesktop::switchToSpace(int spaceID)
{
    const auto index = displayIndexOfSpace(spaceID);
    if (!index)
        return false;
    if (displays_[*index].activeSpaceID == spaceID)
        return true;
    displays_[*index].activeSpaceID = spaceID;
    qCInfo(lcDesktop) << "Active Space changed — display=" << *index << ", space=" << spaceID;
    emit activeSpaceChanged();
    windowsDidChange();
    return true;
}

bool SimulatedDesktop::switchToAdjacentSpace(int displayIndex, int step)
{
    if (displayIndex < 0 || displayIndex >= int(displays_.size()))
        return false;
    const auto& ids = displays_[displayIndex].spaceIDs;
    if (ids.size() < 2)
        return false;
    const auto current = std::find(ids.begin(), ids.end(), displays_[displayIndex].activeSpaceID) - ids.begin();
    const auto count = int(ids.size());
    const int next = int(((current + step) % count + count) % count);
    return switchToSpace(ids[next]);
}

// --- Bundles -------------------------------------------------------------------

bool SimulatedDesktop::installBundle(const BundleSpec& spec, QString* error)
{
    // The folder must stay under the desktop root: no "..", no "." components.
    const bool clean = QDir::cleanPath(spec.path) == spec.path && !spec.path.contains(QLatin1String("/../"))
                       && !spec.path.contains(QLatin1String("/./"));
    if (!spec.path.startsWith(QLatin1Char('/')) || !spec.path.endsWith(QLatin1String(".app")) || !clean) {
        if (error)
            *error = QStringLiteral("bundle path must be absolute, plain and end in .app: ") + spec.path;
        return false;
    }
    if (!ApplicationBundle::write(spec, filesystemPath(spec.path), error))
        return false;
    const auto existing =
        std::find_if(bundles_.begin(), bundles_.end(), [&](const BundleSpec& b) { return b.path == spec.path; });
    if (existing != bundles_.end())
        *existing = spec;
    else
        bundles_.push_back(spec);
    return true;
}

const BundleSpec* SimulatedDesktop::bundleAtPath(const QString& platformPath) const
{
    QString path = platformPath;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    for (const BundleSpec& bundle : bundles_) {
        if (bundle.path == path)
            return &bundle;
    }
    return nullptr;
}

const BundleSpec* SimulatedDesktop::bundleForIdentifier(const QString& bundleIdentifier) const
{
    // The workspace prefers "/Applications" over the system folders.
    const BundleSpec* found = nullptr;
    for (const BundleSpec& bundle : bundles_) {
        if (bundle.bundleIdentifier != bundleIdentifier)
            continue;
        if (bundle.path.startsWith(QLatin1String("/Applications/")))
            return &bundle;
        if (!found)
            found = &bundle;
    }
    return found;
}

std::optional<QString> SimulatedDesktop::platformPathForURL(const QUrl& url) const
{
    if (!url.isLocalFile())
        return std::nullopt;
    QString path = url.toLocalFile();
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (!path.startsWith(desktopRoot_ + QLatin1Char('/')))
        return std::nullopt;
    return path.mid(desktopRoot_.size());
}

QUrl SimulatedDesktop::urlForPlatformPath(const QString& platformPath) const
{
    return QUrl::fromLocalFile(filesystemPath(platformPath));
}

// --- Running applications ----------------------------------------------------------

ProcessID SimulatedDesktop::nextPID()
{
    auto inUse = [this](ProcessID pid) {
        return pid == own_.pid
               || std::any_of(applications_.begin(), applications_.end(),
                              [pid](const DesktopApplication& a) { return a.pid == pid; });
    };
    while (inUse(nextPID_))
        ++nextPID_;
    return nextPID_++;
}

ProcessID SimulatedDesktop::addRunningApplication(const ApplicationSpec& spec)
{
    DesktopApplication app;
    const bool pidFree = spec.pid && *spec.pid > 0 && !application(*spec.pid) && *spec.pid != own_.pid;
    app.pid = pidFree ? *spec.pid : nextPID();
    app.bundleIdentifier = spec.bundleIdentifier;
    app.bundlePath = spec.bundlePath;
    const BundleSpec* bundle = spec.bundlePath         ? bundleAtPath(*spec.bundlePath)
                               : spec.bundleIdentifier ? bundleForIdentifier(*spec.bundleIdentifier)
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
        addWindow(app.pid, window);
    qCInfo(lcDesktop) << "Application launched — pid=" << app.pid
                      << ", bundleID=" << app.bundleIdentifier.value_or(QStringLiteral("none"));
    emit applicationLaunched(app.pid);
    return app.pid;
}

const DesktopApplication* SimulatedDesktop::application(ProcessID pid) const
{
    for (const DesktopApplication& app : applications_) {
        if (app.pid == pid)
            return &app;
    }
    return nullptr;
}

DesktopApplication* SimulatedDesktop::mutableApplication(ProcessID pid)
{
    return const_cast<DesktopApplication*>(application(pid));
}

const DesktopApplication* SimulatedDesktop::runningApplication(const QString& bundleIdentifier) const
{
    for (const DesktopApplication& app : applications_) {
        if (!app.terminated && app.bundleIdentifier == bundleIdentifier)
            return &app;
    }
    return nullptr;
}

std::optional<QString> SimulatedDesktop::bundleIdentifierOfProcess(ProcessID pid) const
{
    const DesktopApplication* app = application(pid);
    if (!app || app->terminated)
        return std::nullopt;
    return app->bundleIdentifier;
}

bool SimulatedDesktop::activate(ProcessID pid, int activationOptions)
{
    DesktopApplication* app = mutableApplication(pid);
    if (!app || app->terminated || app->activationPolicy == ActivationPolicy::prohibited)
        return false;
    if (app->hidden) {
        app->hidden = false;
        emit applicationUnhidden(pid);
    }
    switchToSpaceOfApplicationIfNeeded(pid);
    bringApplicationWindowsToFront(pid, activationOptions & ActivateAllWindows);
    if (pid != own_.pid)
        keyOwnWindow_.reset();
    if (frontmostPID_ != pid) {
        const auto previous = frontmostPID_;
        frontmostPID_ = pid;
        if (previous)
            emit applicationDeactivated(*previous);
        emit applicationActivated(pid);
    }
    windowsDidChange();
    return true;
}

bool SimulatedDesktop::hide(ProcessID pid)
{
    DesktopApplication* app = mutableApplication(pid);
    if (!app || app->terminated)
        return false;
    if (pid == own_.pid && (presentationOptions_ & PresentationDisableHideApplication))
        return false;
    if (app->refusesHide)
        return false;
    if (app->hidden)
        return true;
    app->hidden = true;
    emit applicationHidden(pid);
    if (frontmostPID_ == pid)
        chooseNewFrontmost(pid);
    windowsDidChange();
    return true;
}

bool SimulatedDesktop::unhide(ProcessID pid)
{
    DesktopApplication* app = mutableApplication(pid);
    if (!app || app->terminated)
        return false;
    if (!app->hidden)
        return true;
    app->hidden = false;
    emit applicationUnhidden(pid);
    windowsDidChange();
    return true;
}

bool SimulatedDesktop::terminate(ProcessID pid)
{
    DesktopApplication* app = mutableApplication(pid);
    if (!app || app->terminated)
        return false;
    if (pid == own_.pid) {
        requestOwnTermination();
        return true;
    }
    switch (app->quitBehaviour) {
    case QuitBehaviour::quits:
        finishTermination(pid);
        break;
    case QuitBehaviour::quitsLater:
        if (!app->quitPending) {
            app->quitPending = true;
            scheduler_.asyncAfter(app->quitDelay, [this, guard = QPointer<SimulatedDesktop>(this), pid] {
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

bool SimulatedDesktop::forceTerminate(ProcessID pid)
{
    const DesktopApplication* app = application(pid);
    if (!app || app->terminated)
        return false;
    if (pid == own_.pid) {
        endOwnProcess();
        return true;
    }
    finishTermination(pid);
    return true;
}

void SimulatedDesktop::setQuitBehaviour(ProcessID pid, QuitBehaviour behaviour, double delay)
{
    if (DesktopApplication* app = mutableApplication(pid)) {
        app->quitBehaviour = behaviour;
        app->quitDelay = delay;
    }
}

void SimulatedDesktop::setAccessibilityResponsive(ProcessID pid, bool responsive)
{
    if (DesktopApplication* app = mutableApplication(pid))
        app->accessibilityResponsive = responsive;
}

void SimulatedDesktop::setRefusesHide(ProcessID pid, bool refuses)
{
    if (DesktopApplication* app = mutableApplication(pid))
        app->refusesHide = refuses;
}

void SimulatedDesktop::finishTermination(ProcessID pid)
{
    DesktopApplication* app = mutableApplication(pid);
    if (!app || app->terminated)
        return;
    app->terminated = true;
    app->quitPending = false;
    std::vector<WindowNumber> owned;
    for (const auto& [number, window] : windows_) {
        if (window.ownerPID == pid)
            owned.push_back(number);
    }
    for (WindowNumber number : owned) {
        windows_.erase(number);
        stack_.erase(std::remove(stack_.begin(), stack_.end(), number), stack_.end());
    }
    qCInfo(lcDesktop) << "Application terminated — pid=" << pid;
    if (frontmostPID_ == pid)
        chooseNewFrontmost(pid);
    emit applicationTerminated(pid);
    windowsDidChange();
}

void SimulatedDesktop::chooseNewFrontmost(ProcessID leaving)
{
    auto eligible = [&](const DesktopApplication* app) {
        return app && app->pid != leaving && !app->terminated && !app->hidden
               && app->activationPolicy == ActivationPolicy::regular;
    };
    std::optional<ProcessID> next;
    for (WindowNumber number : stack_) {
        const DesktopWindow& window = windows_.at(number);
        if (isOnScreen(window) && isStandardWindow(window) && eligible(application(window.ownerPID))) {
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
    emit applicationDeactivated(leaving);
    if (next)
        emit applicationActivated(*next);
}

void SimulatedDesktop::bringToFront(WindowNumber number)
{
    stack_.erase(std::remove(stack_.begin(), stack_.end(), number), stack_.end());
    stack_.insert(stack_.begin(), number);
}

void SimulatedDesktop::bringApplicationWindowsToFront(ProcessID pid, bool allWindows)
{
    if (!allWindows) {
        if (const auto main = mainWindow(pid))
            bringToFront(*main);
        return;
    }
    std::vector<WindowNumber> owned;
    for (WindowNumber number : stack_) {
        if (windows_.at(number).ownerPID == pid)
            owned.push_back(number);
    }
    for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        bringToFront(*it);
}

void SimulatedDesktop::switchToSpaceOfApplicationIfNeeded(ProcessID pid)
{
    // Activating an application whose windows are all on another Space moves
    // to that Space, unless the Dock was told not to.
    const QVariant swoosh = appliedDockPreferences_.value(QStringLiteral("workspaces-auto-swoosh"));
    if (swoosh.isValid() && !swoosh.toBool())
        return;
    std::optional<int> target;
    for (const DesktopWindow* window : windowsOf(pid)) {
        if (!isStandardWindow(*window) || window->minimized || !window->orderedIn)
            continue;
        if (isOnScreen(*window))
            return;
        if (!target && window->spaceID != 0)
            target = window->spaceID;
    }
    if (target)
        switchToSpace(*target);
}

bool SimulatedDesktop::restartDock()
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
    appliedDockPreferences_ = defaults_->domain(kDockBundleIdentifier);
    ++dockRestartCount_;
    emit dockRestarted();
    return true;
}

// --- Windows -------------------------------------------------------------------------

int SimulatedDesktop::resolveSpace(const WindowSpec& spec, const QRectF& bounds) const
{
    if (spec.onAllSpaces || spec.desktopElement || displays_.empty())
        return 0;
    int display = spec.display.value_or(displayIndexForQuartzRect(bounds).value_or(0));
    display = std::clamp(display, 0, int(displays_.size()) - 1);
    const DesktopDisplay& d = displays_[display];
    if (spec.space && *spec.space >= 0 && *spec.space < int(d.spaceIDs.size()))
        return d.spaceIDs[*spec.space];
    return d.activeSpaceID;
}

WindowNumber SimulatedDesktop::addWindow(ProcessID owner, const WindowSpec& spec)
{
    DesktopWindow window;
    window.number = nextWindowNumber_++;
    window.ownerPID = owner;
    window.title = spec.title;
    window.layer = spec.layer;
    window.bounds = spec.bounds;
    window.alpha = spec.alpha;
    window.spaceID = resolveSpace(spec, spec.bounds);
    window.minimized = spec.minimized;
    window.desktopElement = spec.desktopElement;
    window.hasTitleBarButtons = spec.hasTitleBarButtons && !spec.desktopElement;
    window.accessibilityWritable = spec.accessibilityWritable;
    windows_.emplace(window.number, window);
    stack_.insert(stack_.begin(), window.number);
    if (spec.fullScreen)
        setWindowFullScreen(window.number, true);
    windowsDidChange();
    return window.number;
}

void SimulatedDesktop::removeWindow(WindowNumber number)
{
    if (windows_.erase(number) == 0)
        return;
    stack_.erase(std::remove(stack_.begin(), stack_.end(), number), stack_.end());
    for (DesktopApplication& app : applications_) {
        if (app.mainWindow == number)
            app.mainWindow.reset();
    }
    windowsDidChange();
}

const DesktopWindow* SimulatedDesktop::window(WindowNumber number) const
{
    const auto it = windows_.find(number);
    return it == windows_.end() ? nullptr : &it->second;
}

DesktopWindow* SimulatedDesktop::mutableWindow(WindowNumber number)
{
    const auto it = windows_.find(number);
    return it == windows_.end() ? nullptr : &it->second;
}

std::vector<const DesktopWindow*> SimulatedDesktop::windowsFrontToBack() const
{
    std::vector<const DesktopWindow*> ordered;
    ordered.reserve(stack_.size());
    for (WindowNumber number : stack_)
        ordered.push_back(&windows_.at(number));
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const DesktopWindow* a, const DesktopWindow* b) { return a->layer > b->layer; });
    return ordered;
}

std::vector<const DesktopWindow*> SimulatedDesktop::windowsOf(ProcessID pid) const
{
    std::vector<const DesktopWindow*> owned;
    for (const DesktopWindow* window : windowsFrontToBack()) {
        if (window->ownerPID == pid)
            owned.push_back(window);
    }
    return owned;
}

bool SimulatedDesktop::isOnScreen(const DesktopWindow& window) const
{
    const DesktopApplication* app = application(window.ownerPID);
    // Hiding the Finder leaves the desktop in place; only its other windows go.
    const bool hiddenWithItsApplication = app && app->hidden && !window.desktopElement;
    if (!app || app->terminated || hiddenWithItsApplication || window.minimized || !window.orderedIn)
        return false;
    if (window.spaceID == 0)
        return true;
    const auto display = displayIndexOfSpace(window.spaceID);
    return display && displays_[*display].activeSpaceID == window.spaceID;
}

std::optional<int> SimulatedDesktop::displayIndexOfWindow(const DesktopWindow& window) const
{
    return displayIndexForQuartzRect(window.bounds);
}

const DesktopWindow* SimulatedDesktop::windowAt(const QPointF& quartzPoint) const
{
    for (const DesktopWindow* window : windowsFrontToBack()) {
        if (window->ignoresMouseEvents || window->alpha <= 0 || !isOnScreen(*window))
            continue;
        if (containsPoint(window->bounds, quartzPoint))
            return window;
    }
    return nullptr;
}

void SimulatedDesktop::raiseWindow(WindowNumber number)
{
    if (!window(number))
        return;
    bringToFront(number);
    windowsDidChange();
}

void SimulatedDesktop::setWindowBounds(WindowNumber number, const QRectF& quartzBounds)
{
    DesktopWindow* w = mutableWindow(number);
    if (!w || w->bounds == quartzBounds)
        return;
    w->bounds = quartzBounds;
    windowsDidChange();
}

void SimulatedDesktop::setWindowMinimized(WindowNumber number, bool minimized)
{
    DesktopWindow* w = mutableWindow(number);
    if (!w || w->minimized == minimized)
        return;
    w->minimized = minimized;
    if (!minimized)
        bringToFront(number);
    windowsDidChange();
}

void SimulatedDesktop::setWindowFullScreen(WindowNumber number, bool fullScreen)
{
    DesktopWindow* w = mutableWindow(number);
    if (!w || w->fullScreen == fullScreen)
        return;
    if (fullScreen) {
        if (!w->zoomed)
            w->restoreBounds = w->bounds;
        if (!displays_.empty())
            w->bounds = displays_[displayIndexOfWindow(*w).value_or(0)].bounds;
    } else {
        w->bounds = w->restoreBounds;
        w->zoomed = false;
    }
    w->fullScreen = fullScreen;
    windowsDidChange();
}

void SimulatedDesktop::setWindowZoomed(WindowNumber number, bool zoomed)
{
    DesktopWindow* w = mutableWindow(number);
    if (!w || w->zoomed == zoomed || w->fullScreen)
        return;
    if (zoomed) {
        w->restoreBounds = w->bounds;
        if (!displays_.empty()) {
            const DesktopDisplay& d = displays_[displayIndexOfWindow(*w).value_or(0)];
            w->bounds = quartzRect(d.visibleFrame);
        }
    } else {
        w->bounds = w->restoreBounds;
    }
    w->zoomed = zoomed;
    windowsDidChange();
}

void SimulatedDesktop::setWindowAlpha(WindowNumber number, double alpha)
{
    DesktopWindow* w = mutableWindow(number);
    if (!w || w->alpha == alpha)
        return;
    w->alpha = alpha;
    windowsDidChange();
}

void SimulatedDesktop::moveWindowToSpace(WindowNumber number, int spaceID)
{
    DesktopWindow* w = mutableWindow(number);
    if (!w || w->spaceID == spaceID || (spaceID != 0 && !displayIndexOfSpace(spaceID)))
        return;
    w->spaceID = spaceID;
    windowsDidChange();
}

void SimulatedDesktop::pressTitleBarButton(WindowNumber number, AXElement::Kind button)
{
    const DesktopWindow* w = window(number);
    if (!w)
        return;
    switch (button) {
    case AXElement::Kind::closeButton:
        removeWindow(number);
        break;
    case AXElement::Kind::minimizeButton:
        setWindowMinimized(number, true);
        break;
    case AXElement::Kind::zoomButton:
        setWindowFullScreen(number, !w->fullScreen);
        break;
    default:
        break;
    }
}

std::optional<WindowNumber> SimulatedDesktop::mainWindow(ProcessID pid) const
{
    const DesktopApplication* app = application(pid);
    if (!app)
        return std::nullopt;
    if (app->mainWindow) {
        const DesktopWindow* w = window(*app->mainWindow);
        if (w && !w->minimized)
            return app->mainWindow;
    }
    for (const DesktopWindow* w : windowsOf(pid)) {
        if (isStandardWindow(*w) && !w->minimized && w->orderedIn && (w->spaceID == 0 || isOnScreen(*w) || app->hidden))
            return w->number;
    }
    return std::nullopt;
}

void SimulatedDesktop::setMainWindow(ProcessID pid, WindowNumber number)
{
    DesktopApplication* app = mutableApplication(pid);
    const DesktopWindow* w = window(number);
    if (!app || !w || w->ownerPID != pid)
        return;
    app->mainWindow = number;
    bringToFront(number);
    windowsDidChange();
}

void SimulatedDesktop::windowsDidChange()
{
    ++revision_;
    emit windowsChanged();
}

QList<QVariantMap> SimulatedDesktop::copyWindowInfo(int options) const
{
    return windowList_->copyWindowInfo(options);
}

// --- Vesk itself -------------------------------------------------------------------------

void SimulatedDesktop::installOwnBundleUpdate(const QString& version, const QString& build)
{
    own_.version = version;
    own_.build = build;
}

void SimulatedDesktop::setOwnApplication(const OwnApplicationSpec& spec)
{
    const ProcessID previous = own_.pid;
    own_ = spec;
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
    for (auto& [number, window] : windows_) {
        if (window.ownerPID == previous)
            window.ownerPID = spec.pid;
    }
    if (frontmostPID_ == previous)
        frontmostPID_ = spec.pid;
    ++revision_;
}

DesktopWindow SimulatedDesktop::ownWindowFromSpec(WindowNumber number, const OwnWindowSpec& spec) const
{
    DesktopWindow window;
    window.number = number;
    window.ownerPID = own_.pid;
    window.title = spec.title;
    window.layer = spec.level;
    window.bounds = quartzRect(spec.frame);
    window.alpha = spec.alpha;
    window.orderedIn = spec.visible;
    window.isPanel = spec.isPanel;
    window.ignoresMouseEvents = spec.ignoresMouseEvents;
    window.canBecomeKey = spec.canBecomeKey;
    window.shadowMargins = spec.shadowMargins;
    window.hasTitleBarButtons = !spec.isPanel;
    if (!spec.joinsAllSpaces && !displays_.empty())
        window.spaceID = displays_[displayIndexForCocoaRect(spec.frame).value_or(0)].activeSpaceID;
    return window;
}

WindowNumber SimulatedDesktop::addOwnWindow(const OwnWindowSpec& spec)
{
    if (ownCrashed_)
        return 0;
    const WindowNumber number = nextWindowNumber_++;
    windows_.emplace(number, ownWindowFromSpec(number, spec));
    stack_.insert(stack_.begin(), number);
    windowsDidChange();
    return number;
}

bool SimulatedDesktop::updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec)
{
    DesktopWindow* existing = mutableWindow(number);
    if (!existing || existing->ownerPID != own_.pid)
        return false;
    DesktopWindow updated = ownWindowFromSpec(number, spec);
    if (!spec.joinsAllSpaces && existing->spaceID != 0)
        updated.spaceID = existing->spaceID;
    const bool ordersIn = updated.orderedIn && !existing->orderedIn;
    if (updated == *existing)
        return true;
    *existing = updated;
    if (ordersIn)
        bringToFront(number);
    windowsDidChange();
    return true;
}

void SimulatedDesktop::removeOwnWindow(WindowNumber number)
{
    const DesktopWindow* existing = window(number);
    if (existing && existing->ownerPID == own_.pid) {
        ownRenderers_.erase(number);
        ownHandles_.erase(number);
        removeWindow(number);
    }
}

void SimulatedDesktop::makeOwnWindowKey(WindowNumber number)
{
    const DesktopWindow* existing = window(number);
    if (existing && existing->ownerPID == own_.pid && existing->canBecomeKey)
        keyOwnWindow_ = number;
}

std::optional<WindowNumber> SimulatedDesktop::keyOwnWindow() const
{
    if (!keyOwnWindow_)
        return std::nullopt;
    const DesktopWindow* key = window(*keyOwnWindow_);
    if (!key || !isOnScreen(*key))
        return std::nullopt;
    return keyOwnWindow_;
}

void SimulatedDesktop::setOwnWindowRenderer(WindowNumber number, OwnWindowRenderer renderer)
{
    const DesktopWindow* existing = window(number);
    if (!existing || existing->ownerPID != own_.pid)
        return;
    if (renderer)
        ownRenderers_[number] = std::move(renderer);
    else
        ownRenderers_.erase(number);
}

const OwnWindowRenderer* SimulatedDesktop::ownWindowRenderer(WindowNumber number) const
{
    const auto it = ownRenderers_.find(number);
    return it == ownRenderers_.end() ? nullptr : &it->second;
}

void SimulatedDesktop::setOwnWindowHandle(WindowNumber number, QWindow* window)
{
    const DesktopWindow* existing = window ? this->window(number) : nullptr;
    if (!existing || existing->ownerPID != own_.pid) {
        ownHandles_.erase(number);
        return;
    }
    ownHandles_[number] = window;
}

QWindow* SimulatedDesktop::ownWindowHandle(WindowNumber number) const
{
    const auto it = ownHandles_.find(number);
    return it == ownHandles_.end() ? nullptr : it->second.data();
}

std::optional<WindowNumber> SimulatedDesktop::ownWindowNumber(const QWindow* window) const
{
    for (const auto& [number, handle] : ownHandles_) {
        if (window && handle == window)
            return number;
    }
    return std::nullopt;
}

std::vector<OwnWindowInfo> SimulatedDesktop::ownWindows() const
{
    std::vector<OwnWindowInfo> result;
    for (const DesktopWindow* window : windowsOf(own_.pid)) {
        OwnWindowInfo info;
        info.number = window->number;
        info.isPanel = window->isPanel;
        info.visible = isOnScreen(*window);
        info.level = window->layer;
        info.frame = cocoaRect(window->bounds);
        info.displayIndex = displayIndexForCocoaRect(info.frame);
        result.push_back(info);
    }
    return result;
}

void SimulatedDesktop::setPresentationOptions(int options)
{
    if (presentationOptions_ == options || ownCrashed_)
        return;
    presentationOptions_ = options;
    emit presentationOptionsChanged(options);
}

void SimulatedDesktop::setTerminationHandlers(std::function<TerminateReply()> shouldTerminate,
                                              std::function<void()> willTerminate)
{
    shouldTerminate_ = std::move(shouldTerminate);
    willTerminate_ = std::move(willTerminate);
}

bool SimulatedDesktop::requestOwnTermination()
{
    if (ownTerminated_)
        return true;
    if (ownTerminationPending_)
        return false;
    const TerminateReply reply = shouldTerminate_ ? shouldTerminate_() : TerminateReply::now;
    switch (reply) {
    case TerminateReply::now:
        endOwnProcess();
        return true;
    case TerminateReply::cancel:
        return false;
    case TerminateReply::later:
        ownTerminationPending_ = true;
        return false;
    }
    return false;
}

void SimulatedDesktop::replyToOwnTerminationRequest(bool shouldTerminate)
{
    if (!ownTerminationPending_)
        return;
    ownTerminationPending_ = false;
    if (shouldTerminate)
        endOwnProcess();
}

QMetaObject::Connection SimulatedDesktop::observeOwnTermination(QObject* receiver, std::function<void()> handler) const
{
    return connect(this, &SimulatedDesktop::ownApplicationWillTerminate, receiver, std::move(handler));
}

bool SimulatedDesktop::isDockShown() const
{
    const bool veskInFront = frontmostPID_ == own_.pid;
    return runningApplication(kDockBundleIdentifier)
           && !appliedDockPreferences_.value(QStringLiteral("autohide")).toBool()
           && !(veskInFront && (presentationOptions_ & (PresentationHideDock | PresentationAutoHideDock)));
}

bool SimulatedDesktop::isMenuBarShown() const
{
    const bool veskInFront = frontmostPID_ == own_.pid;
    return !(veskInFront && (presentationOptions_ & (PresentationHideMenuBar | PresentationAutoHideMenuBar)));
}

void SimulatedDesktop::crashOwnProcess()
{
    if (ownCrashed_)
        return;
    events_->removeAllTapsAndMonitors();
    std::vector<WindowNumber> own;
    for (const auto& [number, window] : windows_) {
        if (window.ownerPID == own_.pid)
            own.push_back(number);
    }
    for (WindowNumber number : own) {
        ownRenderers_.erase(number);
        removeWindow(number);
    }
    setPresentationOptions(0);
    ownCrashed_ = true;
    if (frontmostPID_ == own_.pid)
        chooseNewFrontmost(own_.pid);
}

void SimulatedDesktop::relaunchOwnProcess()
{
    ownCrashed_ = false;
}

void SimulatedDesktop::endOwnProcess()
{
    if (ownTerminated_)
        return;
    if (willTerminate_)
        willTerminate_();
    emit ownApplicationWillTerminate();
    ownTerminated_ = true;
    finishTermination(own_.pid);
}

void SimulatedDesktop::mirrorQtScreens()
{
    for (const DisplaySpec& spec : qtScreenDisplays())
        addDisplay(spec);
}

std::vector<DisplaySpec> SimulatedDesktop::qtScreenDisplays()
{
    std::vector<DisplaySpec> specs;
    QList<QScreen*> screens = QGuiApplication::screens();
    if (QScreen* primary = QGuiApplication::primaryScreen(); primary && screens.removeOne(primary))
        screens.prepend(primary);
    for (int i = 0; i < int(screens.size()); ++i) {
        const QScreen* screen = screens[i];
        DisplaySpec spec;
        spec.displayID = quint32(i + 1);
        spec.bounds = screen->geometry();
        spec.name = screen->name();
        spec.scale = screen->devicePixelRatio();
        const QRectF available = screen->availableGeometry();
        if (available != spec.bounds) {
            // Bottom-left, measured from the primary display's bottom edge.
            const QRectF primary = specs.empty() ? spec.bounds : specs.front().bounds;
            spec.visibleFrame =
                QRectF(available.x(), primary.bottom() - available.bottom(), available.width(), available.height());
        }
        specs.push_back(spec);
    }
    return specs;
}

} // namespace vesk::platform

// --- Scenario --------------------------------------------------------------------------

#include "platform/simulated/DesktopScenario.h"

namespace vesk::platform {

namespace {

std::vector<BundleSpec> systemBundles()
{
    BundleSpec finder;
    finder.path = kFinderBundlePath;
    finder.bundleIdentifier = kFinderBundleIdentifier;
    finder.name = QStringLiteral("Finder");
    finder.version = QStringLiteral("1");
    finder.shortVersion = QStringLiteral("14.0");
    BundleSpec dock;
    dock.path = kDockBundlePath;
    dock.bundleIdentifier = kDockBundleIdentifier;
    dock.name = QStringLiteral("Dock");
    dock.launch.activationPolicy = ActivationPolicy::prohibited;
    return {finder, dock};
}

} // namespace

QString SimulatedDesktop::applyScenario(const DesktopScenario& scenario)
{
    setOwnApplication(scenario.vesk);
    setAccessibilityTrusted(scenario.accessibilityTrusted);
    setInputMonitoringGranted(scenario.inputMonitoringGranted);
    setGrantsPermissionsOnRequest(scenario.grantsPermissionsOnRequest);
    if (scenario.hardwareModel)
        systemInfo_.setHardwareModel(*scenario.hardwareModel);
    systemInfo_.setDarkAppearance(scenario.darkAppearance);
    deliverDiagnosticPayloads(scenario.diagnosticPayloads);
    for (const DisplaySpec& display : scenario.displays)
        addDisplay(display);
    // Domains kept from an earlier desktop are what a killed Vesk left: the
    // scenario's own are only the first state.
    if (!defaultsFromEarlierDesktop_)
        defaults_->insert(scenario.defaults);
    appliedDockPreferences_ = defaults_->domain(kDockBundleIdentifier);

    if (scenario.systemApplications) {
        for (const BundleSpec& bundle : systemBundles()) {
            QString error;
            if (!installBundle(bundle, &error))
                return QStringLiteral("system applications: ") + error;
        }
        ApplicationSpec finder;
        finder.bundleIdentifier = kFinderBundleIdentifier;
        finder.name = QStringLiteral("Finder");
        for (int i = 0; i < int(displays_.size()); ++i) {
            WindowSpec desktopWindow;
            desktopWindow.bounds = displays_[i].bounds;
            desktopWindow.layer = WindowLevel::desktopIcon;
            desktopWindow.desktopElement = true;
            desktopWindow.display = i;
            finder.windows.push_back(desktopWindow);
        }
        ApplicationSpec dock;
        dock.bundleIdentifier = kDockBundleIdentifier;
        dock.name = QStringLiteral("Dock");
        dock.activationPolicy = ActivationPolicy::prohibited;
        addRunningApplication(finder);
        addRunningApplication(dock);
    }

    for (int i = 0; i < int(scenario.bundles.size()); ++i) {
        QString error;
        if (!installBundle(scenario.bundles[i], &error))
            return QStringLiteral("bundles[%1]: ").arg(i) + error;
    }

    std::optional<ProcessID> firstRegular;
    for (const ApplicationSpec& spec : scenario.applications) {
        const ProcessID pid = addRunningApplication(spec);
        if (!firstRegular && spec.activationPolicy == ActivationPolicy::regular && !spec.hidden)
            firstRegular = pid;
    }

    if (scenario.frontmost) {
        const DesktopApplication* front = runningApplication(*scenario.frontmost);
        if (!front)
            return QStringLiteral("frontmost: no running application has the bundle identifier ") + *scenario.frontmost;
        activate(front->pid, 0);
    } else if (firstRegular) {
        activate(*firstRegular, 0);
    } else if (const DesktopApplication* finder = runningApplication(kFinderBundleIdentifier)) {
        activate(finder->pid, 0);
    }
    return QString();
}

} // namespace vesk::platform
