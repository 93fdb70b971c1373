#include "panels/NoOpSessionTransitionPresenter.h"

namespace vesk {

void NoOpSessionTransitionPresenter::showEnteringTransition()
{
}

void NoOpSessionTransitionPresenter::dismissEnteringTransition(bool)
{
}

} // namespace vesk
