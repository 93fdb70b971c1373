#include "enforcement/SpaceMonitorService.h"

#include "platform/RunningApplication.h"

namespace vesk {

namespace {
const QString prefix = QStringLiteral("[SpaceMonitorService] ");
}

SpaceMonitorService::SpaceMonitorService(platform::Workspace& workspace) : workspace_(workspace)
{
}

SpaceMonitorService::~SpaceMonitorService()
{
    deactivate();
}

void SpaceMonitorService::activate(SpaceChangeHandler onSpaceChange)
{
    if (isActive_) {
        logger_.log(VeskLogLevel::warning, prefix + QStringLiteral("activate called while already active"));
        return;
    }
    onSpaceChange_ = std::move(onSpaceChange);
    spaceChangesSinceActivation_ = 0;
    isActive_ = true;
    // deactivate(), which the destructor runs, removes the observer.
    observer_ = workspace_.addObserver(platform::WorkspaceNotification::activeSpaceDidChange,
                                       [this](const auto&) { handleActiveSpaceChange(); });
    logger_.log(VeskLogLevel::info, prefix + QStringLiteral("activated"));
}

void SpaceMonitorService::deactivate()
{
    if (!isActive_ && !observer_)
        return;
    if (observer_)
        workspace_.removeObserver(*observer_);
    observer_.reset();
    onSpaceChange_ = {};
    isActive_ = false;
    spaceChangesSinceActivation_ = 0;
    logger_.log(VeskLogLevel::info, prefix + QStringLiteral("deactivated"));
}

void SpaceMonitorService::handleActiveSpaceChange()
{
    if (!isActive_)
        return;
    ++spaceChangesSinceActivation_;
    const auto frontmost = workspace_.frontmostApplication();
    const std::optional<QString> frontmostBundleID = frontmost ? frontmost->bundleIdentifier() : std::nullopt;
    logger_.log(VeskLogLevel::warning, prefix
                                           + QStringLiteral("active space changed — frontmost=%1, sinceActivation=%2")
                                                 .arg(frontmostBundleID.value_or(QStringLiteral("nil")),
                                                      QString::number(spaceChangesSinceActivation_)));
    // A copy: the callback may deactivate the monitor.
    if (const SpaceChangeHandler handler = onSpaceChange_)
        handler(SpaceChangeContext{frontmostBundleID, spaceChangesSinceActivation_});
}

} // namespace vesk
