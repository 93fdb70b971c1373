#include "panels/ImmediateBlackSessionTransitionPresenter.h"

#include "core/TextFormat.h"
#include "panels/SessionTransitionPanel.h"

namespace vesk {

ImmediateBlackSessionTransitionPresenter::ImmediateBlackSessionTransitionPresenter(
    const platform::ScreenProviding& screens, platform::OwnWindowRegistering& ownWindows)
    : screens_(screens)
    , ownWindows_(ownWindows)
{
}

ImmediateBlackSessionTransitionPresenter::~ImmediateBlackSessionTransitionPresenter() = default;

void ImmediateBlackSessionTransitionPresenter::showEnteringTransition()
{
    dismissEnteringTransition(false);
    std::vector<std::unique_ptr<SessionTransitionPanel>> shown;
    for (const platform::ScreenInfo& screen : screens_.screens()) {
        auto panel = std::make_unique<SessionTransitionPanel>(screen, screens_, &ownWindows_);
        panel->orderFrontRegardless();
        panel->logger().log(VeskLogLevel::debug,
                            QStringLiteral("Session transition panel shown — screen=") + panel->screenLabel());
        shown.push_back(std::move(panel));
    }
    panels_ = std::move(shown);
    logger_.log(VeskLogLevel::info, QStringLiteral("Entering-VESK transition shown — style=immediateBlack, panels=")
                                        + QString::number(panels_.size()));
}

void ImmediateBlackSessionTransitionPresenter::dismissEnteringTransition(bool animated)
{
    if (panels_.empty())
        return;
    for (const auto& panel : panels_) {
        panel->orderOut();
        panel->logger().log(VeskLogLevel::debug, QStringLiteral("Session transition panel dismissed"));
    }
    panels_.clear();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Entering-VESK transition dismissed — animated=") + boolText(animated));
}

} // namespace vesk
