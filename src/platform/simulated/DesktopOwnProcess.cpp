#include "platform/simulated/DesktopOwnProcess.h"

#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/DesktopOwnWindows.h"
#include "platform/simulated/DesktopProcesses.h"
#include "platform/simulated/SimulatedDesktop.h"

namespace vesk::platform {

DesktopOwnProcess::DesktopOwnProcess(SimulatedDesktop& desktop) : desktop_(desktop)
{
}

void DesktopOwnProcess::setOwnApplication(const OwnApplicationSpec& spec)
{
    const ProcessID previous = own_.pid;
    own_ = spec;
    desktop_.processes().adoptOwnProcess(previous, spec);
}

void DesktopOwnProcess::installOwnBundleUpdate(const QString& version, const QString& build)
{
    own_.version = version;
    own_.build = build;
}

void DesktopOwnProcess::setTerminationHandlers(std::function<TerminateReply()> shouldTerminate,
                                               std::function<void()> willTerminate)
{
    shouldTerminate_ = std::move(shouldTerminate);
    willTerminate_ = std::move(willTerminate);
}

bool DesktopOwnProcess::requestOwnTermination()
{
    if (terminated_)
        return true;
    if (terminationPending_)
        return false;
    const TerminateReply reply = shouldTerminate_ ? shouldTerminate_() : TerminateReply::now;
    switch (reply) {
    case TerminateReply::now:
        endOwnProcess();
        return true;
    case TerminateReply::cancel:
        return false;
    case TerminateReply::later:
        terminationPending_ = true;
        return false;
    }
    return false;
}

void DesktopOwnProcess::replyToOwnTerminationRequest(bool shouldTerminate)
{
    if (!terminationPending_)
        return;
    terminationPending_ = false;
    if (shouldTerminate)
        endOwnProcess();
}

QMetaObject::Connection DesktopOwnProcess::observeOwnTermination(QObject* receiver, std::function<void()> handler) const
{
    return QObject::connect(&desktop_, &SimulatedDesktop::ownApplicationWillTerminate, receiver, std::move(handler));
}

void DesktopOwnProcess::endOwnProcess()
{
    if (terminated_)
        return;
    if (willTerminate_)
        willTerminate_();
    emit desktop_.ownApplicationWillTerminate();
    terminated_ = true;
    desktop_.processes().finishTermination(own_.pid);
}

void DesktopOwnProcess::crashOwnProcess()
{
    if (crashed_)
        return;
    desktop_.events().removeAllTapsAndMonitors();
    desktop_.ownWindowRegistry().dropAll();
    setPresentationOptions(0);
    crashed_ = true;
    if (isInFront())
        desktop_.processes().chooseNewFrontmost(own_.pid);
}

void DesktopOwnProcess::setPresentationOptions(int options)
{
    if (presentationOptions_ == options || crashed_)
        return;
    presentationOptions_ = options;
    emit desktop_.presentationOptionsChanged(options);
}

bool DesktopOwnProcess::isInFront() const
{
    return desktop_.frontmostPID() == own_.pid;
}

bool DesktopOwnProcess::isDockShown() const
{
    return desktop_.runningApplication(kDockBundleIdentifier)
           && !desktop_.appliedDockPreferences().value(QStringLiteral("autohide")).toBool()
           && !(isInFront() && (presentationOptions_ & (PresentationHideDock | PresentationAutoHideDock)));
}

bool DesktopOwnProcess::isMenuBarShown() const
{
    return !(isInFront() && (presentationOptions_ & (PresentationHideMenuBar | PresentationAutoHideMenuBar)));
}

} // namespace vesk::platform
