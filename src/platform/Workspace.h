#pragma once

#include "platform/Identifiers.h"
#include "platform/OpenConfiguration.h"
#include "platform/RunningApplication.h"
#include "platform/WorkspaceNotification.h"

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vesk::platform {

// Receives the running application (null when there is none) and the error's
// description (none on success).
using OpenCompletion =
    std::function<void(std::shared_ptr<RunningApplication> application, std::optional<QString> error)>;

// Receives the application a workspace notification is about (null when it is
// about none).
using WorkspaceNotificationHandler = std::function<void(std::shared_ptr<RunningApplication> application)>;
// Names an observer of the workspace's notifications; 0 is never one.
using WorkspaceObserverToken = int;

// The workspace: the running applications, the installed ones by bundle
// identifier, launching applications and opening documents or URLs with them.
// Completions are called on a thread of the workspace's own, never on the main
// thread.
class Workspace {
public:
    virtual ~Workspace() = default;

    // In launch order.
    virtual std::vector<std::shared_ptr<RunningApplication>> runningApplications() const = 0;
    // Null when no such process runs.
    virtual std::shared_ptr<RunningApplication> runningApplication(ProcessID pid) const = 0;
    virtual std::shared_ptr<RunningApplication> frontmostApplication() const = 0;
    // The bundle identifier of a running process without making a handle (the
    // overlay asks it for every window of every frame); none when the process
    // has exited or has none.
    virtual std::optional<QString> bundleIdentifierOfProcess(ProcessID pid) const = 0;
    // The bundle URL of an installed application; none when none is installed.
    virtual std::optional<QUrl> urlForApplication(const QString& bundleIdentifier) const = 0;

    // Launches the application, or activates it when it runs.
    virtual void openApplication(const QUrl& applicationURL, const OpenConfiguration& configuration,
                                 OpenCompletion completion) = 0;
    // Opens documents with the application.
    virtual void open(const QList<QUrl>& urls, const QUrl& applicationURL, const OpenConfiguration& configuration,
                      OpenCompletion completion) = 0;
    // Opens a URL with its default handler (the system settings panes and the like).
    virtual bool openURL(const QUrl& url) = 0;
    // Brings the file browser to the front with these files selected.
    virtual void activateFileViewerSelecting(const QList<QUrl>& fileURLs) = 0;

    // The workspace's notification centre. Every notification of that name
    // posted while the observer is registered reaches the handler later, on
    // the main queue, unless the observer has been removed by then.
    virtual WorkspaceObserverToken addObserver(WorkspaceNotification name, WorkspaceNotificationHandler handler) = 0;
    virtual void removeObserver(WorkspaceObserverToken token) = 0;
};

} // namespace vesk::platform
