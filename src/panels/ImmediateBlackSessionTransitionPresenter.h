#pragma once

#include "logging/VeskLogger.h"
#include "panels/SessionTransitionPresenting.h"
#include "platform/OwnWindowRegistering.h"
#include "platform/ScreenProviding.h"

#include <memory>
#include <vector>

namespace vesk {

class SessionTransitionPanel;

// Covers every display with opaque black at once while a session is entered,
// and takes the cover away at once: there is no fade, whatever `animated` says.
// Displays added or removed while the cover is shown are not followed.
class ImmediateBlackSessionTransitionPresenter final : public SessionTransitionPresenting {
public:
    ImmediateBlackSessionTransitionPresenter(const platform::ScreenProviding& screens,
                                             platform::OwnWindowRegistering& ownWindows);
    ~ImmediateBlackSessionTransitionPresenter() override;

    void showEnteringTransition() override;
    void dismissEnteringTransition(bool animated) override;

    // The covers shown, one per display in display order.
    const std::vector<std::unique_ptr<SessionTransitionPanel>>& panels() const { return panels_; }

private:
    const platform::ScreenProviding& screens_;
    platform::OwnWindowRegistering& ownWindows_;
    std::vector<std::unique_ptr<SessionTransitionPanel>> panels_;
    VeskLogger logger_{QStringLiteral("SessionTransitionPresenter")};
};

} // namespace vesk
