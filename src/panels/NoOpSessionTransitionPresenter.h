#pragma once

#include "panels/SessionTransitionPresenting.h"

namespace vesk {

// A transition that shows nothing.
class NoOpSessionTransitionPresenter final : public SessionTransitionPresenting {
public:
    void showEnteringTransition() override;
    void dismissEnteringTransition(bool animated) override;
};

} // namespace vesk
