#pragma once

namespace vesk {

// The black transition that covers the screens while a session is entered.
class SessionTransitionPresenting {
public:
    virtual ~SessionTransitionPresenting() = default;
    virtual void showEnteringTransition() = 0;
    virtual void dismissEnteringTransition(bool animated) = 0;
};

} // namespace vesk
