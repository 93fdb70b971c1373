#include "platform/x11/X11OwnApplication.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace vesk::platform {

namespace {

std::optional<QString> unlessEmpty(const QString& text)
{
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}

} // namespace

X11OwnApplication::X11OwnApplication(OwnApplicationSpec spec) : spec_(std::move(spec))
{
}

OwnApplicationSpec X11OwnApplication::specOfThisProcess()
{
    OwnApplicationSpec spec;
    spec.pid = ProcessID(QCoreApplication::applicationPid());
    spec.bundleIdentifier = unlessEmpty(QGuiApplication::desktopFileName());
    spec.name = QCoreApplication::applicationName();
    spec.version = unlessEmpty(QCoreApplication::applicationVersion());
    // The release is the build: a package carries one version.
    spec.build = spec.version;
    return spec;
}

void X11OwnApplication::installOwnBundleUpdate(const QString& version, const QString& build)
{
    // The package manager replaces the installed files; the running process
    // takes the new entries as the simulated desktop's does.
    spec_.version = version;
    spec_.build = build;
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Update entries taken; the installed package is replaced by the package manager — "
                               "version=%1 build=%2")
                    .arg(version, build));
}

void X11OwnApplication::setTerminationHandlers(std::function<TerminateReply()> shouldTerminate,
                                               std::function<void()> willTerminate)
{
    shouldTerminate_ = std::move(shouldTerminate);
    willTerminate_ = std::move(willTerminate);
}

bool X11OwnApplication::requestOwnTermination()
{
    if (terminated_)
        return true;
    if (pending_)
        return false;
    switch (shouldTerminate_ ? shouldTerminate_() : TerminateReply::now) {
    case TerminateReply::now:
        terminate();
        return true;
    case TerminateReply::cancel:
        return false;
    case TerminateReply::later:
        pending_ = true;
        return false;
    }
    return false;
}

void X11OwnApplication::replyToOwnTerminationRequest(bool shouldTerminate)
{
    if (!pending_)
        return;
    pending_ = false;
    if (shouldTerminate)
        terminate();
}

QMetaObject::Connection X11OwnApplication::observeOwnTermination(QObject* receiver, std::function<void()> handler) const
{
    return connect(this, &X11OwnApplication::willTerminate, receiver, std::move(handler));
}

void X11OwnApplication::terminate()
{
    if (terminated_)
        return;
    if (willTerminate_)
        willTerminate_();
    emit willTerminate();
    terminated_ = true;
}

} // namespace vesk::platform
