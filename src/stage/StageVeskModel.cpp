#include "stage/StageVeskModel.h"

#include "stage/StageVeskFrames.h"

namespace vesk {

StageVeskModel::StageVeskModel(Hooks hooks) : hooks_(std::move(hooks))
{
}

void StageVeskModel::setState(const StageVeskState& state)
{
    if (state == state_)
        return;
    state_ = state;
    hooks_.stateChanged();
}

void StageVeskModel::setActive(bool active)
{
    if (active == isActive_)
        return;
    isActive_ = active;
    hooks_.isActiveChanged();
}

const StageVeskAppState* StageVeskModel::openApp(const QString& bundleID) const
{
    const StageVeskAppState* record = isActive_ ? state_.app(bundleID) : nullptr;
    return record && record->isOpen ? record : nullptr;
}

void StageVeskModel::assignFreePosition(const QString& bundleID, const Rect& frame, StageVeskScreenID screen,
                                        const Rect& area, const QDateTime& now)
{
    change([&](StageVeskState& state) { state.placeFree(bundleID, clampFrameToVisible(frame, area), screen, now); });
}

} // namespace vesk
