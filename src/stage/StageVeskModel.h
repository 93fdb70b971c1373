#pragma once

#include "stage/StageVeskState.h"

#include "core/Geometry.h"

#include <QDateTime>
#include <QString>

#include <functional>

namespace vesk {

// The stage's observable model as its parts share it: the layout and whether
// the stage is active. Each hook runs when its value really changed; the
// service turns them into its signals.
class StageVeskModel {
public:
    struct Hooks {
        std::function<void()> stateChanged;
        std::function<void()> isActiveChanged;
    };

    explicit StageVeskModel(Hooks hooks);

    const StageVeskState& state() const { return state_; }
    bool isActive() const { return isActive_; }
    void setState(const StageVeskState& state);
    void setActive(bool active);
    // Applies the change to a copy of the state and stores the result.
    template <typename Change>
    void change(Change change)
    {
        StageVeskState next = state_;
        change(next);
        setState(next);
    }

    // The application's record while the stage is active and it is open.
    const StageVeskAppState* openApp(const QString& bundleID) const;
    // Clamped into the area, then given as the application's free position on
    // the screen.
    void assignFreePosition(const QString& bundleID, const Rect& frame, StageVeskScreenID screen, const Rect& area,
                            const QDateTime& now);

private:
    Hooks hooks_;
    StageVeskState state_;
    bool isActive_ = false;
};

} // namespace vesk
