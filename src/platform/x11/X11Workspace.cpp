#include "platform/x11/X11Workspace.h"

#include "platform/x11/X11ApplicationRegistry.h"
#include "platform/x11/X11RunningApplication.h"
#include "platform/x11/X11WindowCache.h"
#include "platform/x11/X11WindowControl.h"
#include "platform/x11/XdgBundleLocation.h"
#include "platform/x11/XdgInstalledApplications.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>

#include <algorithm>

Q_LOGGING_CATEGORY(lcX11Workspace, "vesk.platform.x11.workspace")

namespace vesk::platform {

namespace {

constexpr int pollIntervalMs = 250;

void logOnce(bool& logged, const QString& text)
{
    if (logged)
        return;
    logged = true;
    qCInfo(lcX11Workspace).noquote() << text;
}

} // namespace

X11Workspace::X11Workspace(X11WindowCache& cache, X11WindowControl& control,
                           const XdgInstalledApplications& applications, XdgLauncher launcher, ProcessID ownPID)
    : cache_(cache)
    , control_(control)
    , applications_(applications)
    , launcher_(std::move(launcher))
    , registry_(std::make_shared<X11ApplicationRegistry>(cache, control, applications, ownPID))
    , completionQueue_(QStringLiteral("vesk.platform.x11.workspace-completions"))
{
    // The processes already running and the active one are no news for anyone.
    registry_->update();
    registry_->onLaunched = [this](ProcessID pid) { post(WorkspaceNotification::didLaunchApplication, pid); };
    registry_->onActivated = [this](ProcessID pid) { post(WorkspaceNotification::didActivateApplication, pid); };
    poll_.setInterval(pollIntervalMs);
    QObject::connect(&poll_, &QTimer::timeout, &context_, [this] { update(); });
    QObject::connect(&cache_, &X11WindowCache::changed, &context_, [this] { update(); });
    QObject::connect(&cache_, &X11WindowCache::currentDesktopChanged, &context_,
                     [this](quint32 desktop) { currentDesktopChanged(desktop); });
}

X11Workspace::~X11Workspace()
{
    QObject::disconnect(&cache_, nullptr, &context_, nullptr);
}

void X11Workspace::update()
{
    registry_->update();
    if (registry_->needsPolling() != poll_.isActive()) {
        if (registry_->needsPolling())
            poll_.start();
        else
            poll_.stop();
    }
}

std::shared_ptr<RunningApplication> X11Workspace::handle(ProcessID pid) const
{
    return std::make_shared<X11RunningApplication>(registry_, pid);
}

std::vector<std::shared_ptr<RunningApplication>> X11Workspace::runningApplications() const
{
    std::vector<std::shared_ptr<RunningApplication>> running;
    for (const ProcessID pid : registry_->processes())
        running.push_back(handle(pid));
    return running;
}

std::shared_ptr<RunningApplication> X11Workspace::runningApplication(ProcessID pid) const
{
    return registry_->isRunning(pid) ? handle(pid) : nullptr;
}

std::shared_ptr<RunningApplication> X11Workspace::frontmostApplication() const
{
    const auto pid = registry_->activeProcess();
    return pid ? handle(*pid) : nullptr;
}

std::optional<QString> X11Workspace::bundleIdentifierOfProcess(ProcessID pid) const
{
    return registry_->applicationID(pid);
}

std::optional<QUrl> X11Workspace::urlForApplication(const QString& bundleIdentifier) const
{
    if (!applications_.application(bundleIdentifier))
        return std::nullopt;
    return XdgBundleLocation::bundleURL(bundleIdentifier);
}

void X11Workspace::openApplication(const QUrl& applicationURL, const OpenConfiguration& configuration,
                                   OpenCompletion completion)
{
    launch(applicationURL, {}, configuration, std::move(completion));
}

void X11Workspace::open(const QList<QUrl>& urls, const QUrl& applicationURL, const OpenConfiguration& configuration,
                        OpenCompletion completion)
{
    launch(applicationURL, urls, configuration, std::move(completion));
}

void X11Workspace::launch(const QUrl& applicationURL, const QList<QUrl>& documents,
                          const OpenConfiguration& configuration, OpenCompletion completion)
{
    const std::optional<XdgApplication> application = applications_.application(applicationURL);
    if (!application) {
        qCWarning(lcX11Workspace) << "Open failed, no application at" << applicationURL.toString();
        complete(std::move(completion), std::nullopt,
                 QStringLiteral("The application \"%1\" could not be found.")
                     .arg(QFileInfo(applicationURL.path()).completeBaseName()));
        return;
    }
    // A running application is brought up; documents go to its Exec line,
    // which hands them to the running instance where the application does so.
    const std::optional<ProcessID> running = registry_->runningProcess(application->id);
    if (running && documents.isEmpty() && !configuration.createsNewApplicationInstance) {
        if (configuration.activates)
            registry_->activate(*running, 0);
        complete(std::move(completion), running, std::nullopt);
        return;
    }
    if (configuration.hides) {
        static bool logged = false;
        logOnce(logged, QStringLiteral("Launching hidden is not possible here: the application's windows show"));
    }
    const XdgLaunchResult result = launcher_.launch(*application, documents, configuration.arguments);
    if (result.error || result.processIDs.empty()) {
        qCWarning(lcX11Workspace) << "Launch failed:" << result.error.value_or(QString());
        complete(std::move(completion), std::nullopt,
                 result.error.value_or(
                     QStringLiteral("The application \"%1\" could not be launched.").arg(application->entry.name)));
        return;
    }
    for (const qint64 pid : result.processIDs)
        registry_->addLaunched(ProcessID(pid), application->id);
    update();
    complete(std::move(completion), ProcessID(result.processIDs.front()), std::nullopt);
}

void X11Workspace::complete(OpenCompletion completion, std::optional<ProcessID> pid, std::optional<QString> error)
{
    if (!completion)
        return;
    const std::shared_ptr<RunningApplication> application = pid ? handle(*pid) : nullptr;
    completionQueue_.async(
        [completion = std::move(completion), application, error] { completion(application, error); });
}

void X11Workspace::waitForCompletions()
{
    completionQueue_.sync([] {});
}

bool X11Workspace::openURL(const QUrl& url)
{
    if (!url.isValid())
        return false;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
}

void X11Workspace::activateFileViewerSelecting(const QList<QUrl>& fileURLs)
{
    if (fileURLs.isEmpty() || !fileURLs.front().isLocalFile())
        return;
    static bool logged = false;
    logOnce(logged, QStringLiteral("The file browser opens the folder; it is not asked to select the files"));
    const QString folder = QFileInfo(fileURLs.front().toLocalFile()).absolutePath();
    QProcess::startDetached(QStringLiteral("xdg-open"), {QUrl::fromLocalFile(folder).toString()});
}

WorkspaceObserverToken X11Workspace::addObserver(WorkspaceNotification name, WorkspaceNotificationHandler handler)
{
    const WorkspaceObserverToken token = nextObserverToken_++;
    observers_->emplace(token, Observer{name, std::move(handler)});
    followDesktopWatchers();
    return token;
}

void X11Workspace::removeObserver(WorkspaceObserverToken token)
{
    observers_->erase(token);
    followDesktopWatchers();
}

// A desktop switch cannot be refused on X11 (a pager's request reaches the
// window manager, not us), so while it is watched it is taken back. The
// return to the held desktop is no news.
void X11Workspace::currentDesktopChanged(quint32 desktop)
{
    if (heldDesktop_) {
        if (desktop == *heldDesktop_)
            return;
        const bool requested = control_.switchToDesktop(*heldDesktop_);
        qCInfo(lcX11Workspace).noquote() << QStringLiteral("Switch to desktop %1 taken back to desktop %2%3")
                                                .arg(desktop)
                                                .arg(*heldDesktop_)
                                                .arg(requested ? QString() : QStringLiteral(" (not possible)"));
    }
    post(WorkspaceNotification::activeSpaceDidChange, std::nullopt);
}

void X11Workspace::followDesktopWatchers()
{
    const bool watched = std::any_of(observers_->begin(), observers_->end(), [](const auto& entry) {
        return entry.second.name == WorkspaceNotification::activeSpaceDidChange;
    });
    if (!watched)
        heldDesktop_.reset();
    else if (!heldDesktop_)
        heldDesktop_ = cache_.currentDesktop();
}

void X11Workspace::post(WorkspaceNotification name, std::optional<ProcessID> pid)
{
    const std::shared_ptr<RunningApplication> application = pid ? handle(*pid) : nullptr;
    for (const auto& [token, observer] : *observers_) {
        if (observer.name != name)
            continue;
        QMetaObject::invokeMethod(
            &context_,
            [observers = std::weak_ptr<Observers>(observers_), token, application] {
                const std::shared_ptr<Observers> current = observers.lock();
                if (!current)
                    return;
                const auto it = current->find(token);
                if (it == current->end())
                    return;
                // A copy: the handler may remove its own observer.
                const WorkspaceNotificationHandler handler = it->second.handler;
                handler(application);
            },
            Qt::QueuedConnection);
    }
}

} // namespace vesk::platform
