#include "platform/simulated/DesktopWorkspace.h"

#include "core/Scheduler.h"
#include "platform/simulated/DesktopRunningApplication.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QPointer>

#include <algorithm>

Q_LOGGING_CATEGORY(lcWorkspace, "vesk.platform.workspace")

namespace vesk::platform {

namespace {

WindowSpec defaultWindow(const QString& title)
{
    WindowSpec spec;
    spec.title = title;
    spec.bounds = QRectF(120, 120, 960, 640);
    return spec;
}

} // namespace

DesktopWorkspace::DesktopWorkspace(SimulatedDesktop& desktop)
    : desktop_(desktop)
    , completionQueue_(QStringLiteral("vesk.platform.workspace-completions"))
{
    desktopConnections_ = {
        QObject::connect(&desktop_, &SimulatedDesktop::applicationLaunched, &desktop_,
                         [this](ProcessID pid) { post(WorkspaceNotification::didLaunchApplication, pid); }),
        QObject::connect(&desktop_, &SimulatedDesktop::applicationActivated, &desktop_,
                         [this](ProcessID pid) { post(WorkspaceNotification::didActivateApplication, pid); }),
        QObject::connect(&desktop_, &SimulatedDesktop::activeSpaceChanged, &desktop_,
                         [this] { post(WorkspaceNotification::activeSpaceDidChange, std::nullopt); }),
    };
}

DesktopWorkspace::~DesktopWorkspace()
{
    for (const QMetaObject::Connection& connection : desktopConnections_)
        QObject::disconnect(connection);
}

std::vector<std::shared_ptr<RunningApplication>> DesktopWorkspace::runningApplications() const
{
    std::vector<std::shared_ptr<RunningApplication>> running;
    for (const DesktopApplication& app : desktop_.applications()) {
        if (!app.terminated)
            running.push_back(std::make_shared<DesktopRunningApplication>(desktop_, app.pid));
    }
    return running;
}

std::shared_ptr<RunningApplication> DesktopWorkspace::runningApplication(ProcessID pid) const
{
    const DesktopApplication* app = desktop_.application(pid);
    if (!app || app->terminated)
        return nullptr;
    return std::make_shared<DesktopRunningApplication>(desktop_, pid);
}

std::shared_ptr<RunningApplication> DesktopWorkspace::frontmostApplication() const
{
    if (const auto pid = desktop_.frontmostPID())
        return runningApplication(*pid);
    return nullptr;
}

std::optional<QString> DesktopWorkspace::bundleIdentifierOfProcess(ProcessID pid) const
{
    return desktop_.bundleIdentifierOfProcess(pid);
}

std::optional<QUrl> DesktopWorkspace::urlForApplication(const QString& bundleIdentifier) const
{
    const BundleSpec* bundle = desktop_.bundleForIdentifier(bundleIdentifier);
    if (!bundle)
        return std::nullopt;
    return desktop_.urlForPlatformPath(bundle->path);
}

void DesktopWorkspace::openApplication(const QUrl& applicationURL, const OpenConfiguration& configuration,
                                       OpenCompletion completion)
{
    launch(applicationURL, {}, configuration, std::move(completion));
}

void DesktopWorkspace::open(const QList<QUrl>& urls, const QUrl& applicationURL, const OpenConfiguration& configuration,
                            OpenCompletion completion)
{
    launch(applicationURL, urls, configuration, std::move(completion));
}

bool DesktopWorkspace::openURL(const QUrl& url)
{
    openedURLs_.append(url);
    return url.isValid();
}

void DesktopWorkspace::activateFileViewerSelecting(const QList<QUrl>& fileURLs)
{
    revealedFileSelections_.push_back(fileURLs);
}

WorkspaceObserverToken DesktopWorkspace::addObserver(WorkspaceNotification name, WorkspaceNotificationHandler handler)
{
    const WorkspaceObserverToken token = nextObserverToken_++;
    observers_->emplace(token, Observer{name, std::move(handler)});
    return token;
}

void DesktopWorkspace::removeObserver(WorkspaceObserverToken token)
{
    observers_->erase(token);
}

void DesktopWorkspace::post(WorkspaceNotification name, std::optional<ProcessID> pid)
{
    std::shared_ptr<RunningApplication> application;
    if (pid)
        application = std::make_shared<DesktopRunningApplication>(desktop_, *pid);
    for (const auto& [token, observer] : *observers_) {
        if (observer.name != name)
            continue;
        desktop_.scheduler().async([observers = std::weak_ptr<Observers>(observers_), token, application] {
            const std::shared_ptr<Observers> current = observers.lock();
            if (!current)
                return;
            const auto it = current->find(token);
            if (it == current->end())
                return;
            // A copy: the handler may remove its own observer.
            const WorkspaceNotificationHandler handler = it->second.handler;
            handler(application);
        });
    }
}

bool DesktopWorkspace::waitForCompletions()
{
    const std::uint64_t handedOver = handedOver_.load();
    if (handedOver == waitedThrough_.load())
        return false;
    completionQueue_.sync([] {});
    waitedThrough_.store(handedOver);
    return true;
}

void DesktopWorkspace::runOnSystemThread(std::function<void()> work)
{
    ++handedOver_;
    completionQueue_.async(std::move(work));
}

void DesktopWorkspace::complete(const OpenCompletion& completion, std::optional<ProcessID> pid,
                                std::optional<QString> error)
{
    if (!completion)
        return;
    std::shared_ptr<RunningApplication> application;
    if (pid)
        application = std::make_shared<DesktopRunningApplication>(desktop_, *pid);
    runOnSystemThread([completion, application, error] { completion(application, error); });
}

void DesktopWorkspace::launch(const QUrl& applicationURL, const QList<QUrl>& documents,
                              const OpenConfiguration& configuration, OpenCompletion completion)
{
    requests_.push_back(OpenRequest{documents, applicationURL, configuration});
    const auto path = desktop_.platformPathForURL(applicationURL);
    const BundleSpec* bundle = path ? desktop_.bundleAtPath(*path) : nullptr;
    if (!bundle) {
        qCWarning(lcWorkspace) << "Open failed, no application at" << applicationURL.toString();
        complete(completion, std::nullopt,
                 QStringLiteral("The application \"%1\" could not be found.")
                     .arg(QFileInfo(applicationURL.path()).completeBaseName()));
        return;
    }
    const BundleSpec spec = *bundle;
    if (spec.launch.launchError) {
        complete(completion, std::nullopt, *spec.launch.launchError);
        return;
    }

    const DesktopApplication* existing = nullptr;
    for (const DesktopApplication& app : desktop_.applications()) {
        if (!app.terminated && app.bundlePath == spec.path) {
            existing = &app;
            break;
        }
    }
    const bool newWindowOfRunning = configuration.arguments.contains(QStringLiteral("--new-window"));
    if (existing && (!configuration.createsNewApplicationInstance || newWindowOfRunning)) {
        const ProcessID pid = existing->pid;
        desktop_.scheduler().async([this, guard = QPointer<SimulatedDesktop>(&desktop_), pid, spec, documents,
                                    configuration, completion, newWindowOfRunning] {
            if (!guard)
                return;
            const DesktopApplication* app = desktop_.application(pid);
            if (!app || app->terminated) {
                complete(completion, std::nullopt, QStringLiteral("The application quit while it was being opened."));
                return;
            }
            if (configuration.activates)
                desktop_.activate(pid, 0);
            // A running application opens the documents, and a new window when
            // it has none or is asked for one.
            if (!documents.isEmpty() || newWindowOfRunning || desktop_.windowsOf(pid).empty())
                scheduleWindows(pid, spec.launch, documents, configuration.activates);
            complete(completion, pid, std::nullopt);
        });
        return;
    }

    desktop_.scheduler().asyncAfter(spec.launch.launchDelay, [this, guard = QPointer<SimulatedDesktop>(&desktop_), spec,
                                                              documents, configuration, completion] {
        if (!guard)
            return;
        ApplicationSpec app;
        app.bundleIdentifier = spec.bundleIdentifier;
        app.bundlePath = spec.path;
        app.name = spec.displayName.value_or(spec.name);
        app.activationPolicy = spec.launch.activationPolicy;
        app.hidden = configuration.hides;
        app.quitBehaviour = spec.launch.quitBehaviour;
        app.quitDelay = spec.launch.quitDelay;
        const ProcessID pid = desktop_.addRunningApplication(app);
        if (configuration.activates && !configuration.hides)
            desktop_.activate(pid, 0);
        scheduleWindows(pid, spec.launch, documents, configuration.activates);
        complete(completion, pid, std::nullopt);
    });
}

void DesktopWorkspace::scheduleWindows(ProcessID pid, const LaunchBehaviour& behaviour, const QList<QUrl>& documents,
                                       bool activates)
{
    if (behaviour.appearance == WindowAppearance::never)
        return;
    desktop_.scheduler().asyncAfter(behaviour.windowDelay, [this, guard = QPointer<SimulatedDesktop>(&desktop_), pid,
                                                            behaviour, documents, activates] {
        if (!guard)
            return;
        const DesktopApplication* app = desktop_.application(pid);
        if (!app || app->terminated)
            return;
        std::vector<WindowSpec> windows;
        const WindowSpec templateWindow =
            behaviour.windows.empty() ? defaultWindow(app->name) : behaviour.windows.front();
        if (!documents.isEmpty()) {
            for (const QUrl& document : documents) {
                WindowSpec window = templateWindow;
                const QString name = document.fileName();
                window.title = name.isEmpty() ? document.toString() : name;
                windows.push_back(window);
            }
        } else {
            windows = behaviour.windows.empty() ? std::vector<WindowSpec>{templateWindow} : behaviour.windows;
        }
        for (WindowSpec window : windows) {
            if (behaviour.appearance == WindowAppearance::onOtherSpace && !desktop_.displays().empty()) {
                const int display = std::clamp(window.display.value_or(0), 0, int(desktop_.displays().size()) - 1);
                const DesktopDisplay& d = desktop_.displays()[display];
                int other = -1;
                for (int i = 0; i < int(d.spaceIDs.size()); ++i) {
                    if (d.spaceIDs[i] != d.activeSpaceID) {
                        other = i;
                        break;
                    }
                }
                if (other < 0) {
                    desktop_.addSpace(display);
                    other = int(desktop_.displays()[display].spaceIDs.size()) - 1;
                }
                window.display = display;
                window.space = other;
            }
            desktop_.addWindow(pid, window);
        }
        qCInfo(lcWorkspace) << "Windows appeared — pid=" << pid << ", count=" << windows.size();
        // Windows scripted onto another Space stay there: the launch does not follow them.
        if (activates && desktop_.frontmostPID() == pid && behaviour.appearance != WindowAppearance::onOtherSpace)
            desktop_.activate(pid, 0);
    });
}

} // namespace vesk::platform
