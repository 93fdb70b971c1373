#pragma once

#include "core/SerialQueue.h"
#include "platform/Workspace.h"
#include "platform/simulated/OpenRequest.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <QMetaObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace vesk::platform {

class SimulatedDesktop;
struct LaunchBehaviour;

// The workspace of the simulated desktop. A launch runs on the desktop's scheduler: the process
// starts after the bundle's launch delay (launch notification, activation),
// and its windows appear as the bundle's launch behaviour scripts them (after
// a delay, never, or on another Space). Completions are called on the
// workspace's own thread, never on the main thread, as the platform does it.
// Notifications (launches, activations, Space changes of the desktop) reach
// their observers through the desktop's scheduler, as on the main queue.
class DesktopWorkspace final : public Workspace {
public:
    explicit DesktopWorkspace(SimulatedDesktop& desktop);
    ~DesktopWorkspace() override;

    std::vector<std::shared_ptr<RunningApplication>> runningApplications() const override;
    std::shared_ptr<RunningApplication> runningApplication(ProcessID pid) const override;
    std::shared_ptr<RunningApplication> frontmostApplication() const override;
    std::optional<QString> bundleIdentifierOfProcess(ProcessID pid) const override;
    std::optional<QUrl> urlForApplication(const QString& bundleIdentifier) const override;

    void openApplication(const QUrl& applicationURL, const OpenConfiguration& configuration,
                         OpenCompletion completion) override;
    void open(const QList<QUrl>& urls, const QUrl& applicationURL, const OpenConfiguration& configuration,
              OpenCompletion completion) override;
    // Recorded in openedURLs().
    bool openURL(const QUrl& url) override;
    // Recorded in revealedFileSelections().
    void activateFileViewerSelecting(const QList<QUrl>& fileURLs) override;

    WorkspaceObserverToken addObserver(WorkspaceNotification name, WorkspaceNotificationHandler handler) override;
    void removeObserver(WorkspaceObserverToken token) override;

    // --- For tests and the scripted run --------------------------------------

    const std::vector<OpenRequest>& openRequests() const { return requests_; }
    const QList<QUrl>& openedURLs() const { return openedURLs_; }
    // Each reveal in the file browser: the files it selected.
    const std::vector<QList<QUrl>>& revealedFileSelections() const { return revealedFileSelections_; }
    // Blocks until every completion handed to the workspace thread so far has
    // run. True when any was handed over since the last wait; without any it
    // returns at once, without a round trip to that thread.
    bool waitForCompletions();
    // True on the thread that runs completions.
    bool isCompletionThread() const { return completionQueue_.isCurrent(); }
    // Runs work on that thread (the platform's own thread for callbacks).
    void runOnSystemThread(std::function<void()> work);

private:
    struct Observer {
        WorkspaceNotification name;
        WorkspaceNotificationHandler handler;
    };
    using Observers = std::map<WorkspaceObserverToken, Observer>;

    // Queues the notification for each observer of that name registered now.
    void post(WorkspaceNotification name, std::optional<ProcessID> pid);
    void launch(const QUrl& applicationURL, const QList<QUrl>& documents, const OpenConfiguration& configuration,
                OpenCompletion completion);
    void complete(const OpenCompletion& completion, std::optional<ProcessID> pid, std::optional<QString> error);
    void scheduleWindows(ProcessID pid, const LaunchBehaviour& behaviour, const QList<QUrl>& documents, bool activates);

    SimulatedDesktop& desktop_;
    std::vector<OpenRequest> requests_;
    QList<QUrl> openedURLs_;
    std::vector<QList<QUrl>> revealedFileSelections_;
    SerialQueue completionQueue_;
    // Blocks handed to the completion thread, and how many of them the last
    // wait covered.
    std::atomic<std::uint64_t> handedOver_{0};
    std::atomic<std::uint64_t> waitedThrough_{0};
    // Shared with the queued deliveries, which find it gone once the workspace is.
    std::shared_ptr<Observers> observers_ = std::make_shared<Observers>();
    WorkspaceObserverToken nextObserverToken_ = 1;
    std::vector<QMetaObject::Connection> desktopConnections_;
};

} // namespace vesk::platform
