#pragma once

#include "core/SerialQueue.h"
#include "platform/Workspace.h"
#include "platform/x11/XdgLauncher.h"

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

namespace vesk::platform {

class X11ApplicationRegistry;
class X11WindowCache;
class X11WindowControl;
class XdgInstalledApplications;

// The workspace of the X11 desktop. A running application is a process that
// owns managed windows, or one Vesk launched while it lives; its bundle
// identifier is the desktop file id its windows match. The frontmost is the
// owner of `_NET_ACTIVE_WINDOW`. Applications launch through their entries'
// Exec lines. Completions run on a thread of the workspace's own; the
// notifications (a process taken in, the active window's process changing,
// the current desktop changing) reach their observers on the main queue.
// While someone watches the current desktop (the Space monitor, for as long
// as a session runs), the desktop current when the watch began is held: a
// switch away from it, by a pager or the window manager's keys, is answered at
// once with a switch back, and the watchers still hear of it. Main thread only
// otherwise.
class X11Workspace final : public Workspace {
public:
    X11Workspace(X11WindowCache& cache, X11WindowControl& control, const XdgInstalledApplications& applications,
                 XdgLauncher launcher, ProcessID ownPID);
    ~X11Workspace() override;

    std::vector<std::shared_ptr<RunningApplication>> runningApplications() const override;
    std::shared_ptr<RunningApplication> runningApplication(ProcessID pid) const override;
    std::shared_ptr<RunningApplication> frontmostApplication() const override;
    // From the registry, never from /proc.
    std::optional<QString> bundleIdentifierOfProcess(ProcessID pid) const override;
    std::optional<QUrl> urlForApplication(const QString& bundleIdentifier) const override;

    void openApplication(const QUrl& applicationURL, const OpenConfiguration& configuration,
                         OpenCompletion completion) override;
    void open(const QList<QUrl>& urls, const QUrl& applicationURL, const OpenConfiguration& configuration,
              OpenCompletion completion) override;
    // Through xdg-open.
    bool openURL(const QUrl& url) override;
    // Opens the folder of the first file: the desktop's file browsers take no
    // common request to select files.
    void activateFileViewerSelecting(const QList<QUrl>& fileURLs) override;

    WorkspaceObserverToken addObserver(WorkspaceNotification name, WorkspaceNotificationHandler handler) override;
    void removeObserver(WorkspaceObserverToken token) override;

    // Blocks until the completions handed to the workspace's thread so far have run.
    void waitForCompletions();

private:
    struct Observer {
        WorkspaceNotification name;
        WorkspaceNotificationHandler handler;
    };
    using Observers = std::map<WorkspaceObserverToken, Observer>;

    void update();
    void followDesktopWatchers();
    void currentDesktopChanged(quint32 desktop);
    void post(WorkspaceNotification name, std::optional<ProcessID> pid);
    void launch(const QUrl& applicationURL, const QList<QUrl>& documents, const OpenConfiguration& configuration,
                OpenCompletion completion);
    void complete(OpenCompletion completion, std::optional<ProcessID> pid, std::optional<QString> error);
    std::shared_ptr<RunningApplication> handle(ProcessID pid) const;

    X11WindowCache& cache_;
    X11WindowControl& control_;
    const XdgInstalledApplications& applications_;
    XdgLauncher launcher_;
    std::shared_ptr<X11ApplicationRegistry> registry_;
    // The notifications' and the poll's receiver on the main thread.
    QObject context_;
    // Looks at launched processes without windows and pending quit requests.
    QTimer poll_;
    SerialQueue completionQueue_;
    std::shared_ptr<Observers> observers_ = std::make_shared<Observers>();
    WorkspaceObserverToken nextObserverToken_ = 1;
    // The desktop taken back to while the current desktop is watched.
    std::optional<quint32> heldDesktop_;
};

} // namespace vesk::platform
