#pragma once

#include "stage/StageVeskModel.h"
#include "stage/StageVeskPlacementRecords.h"
#include "stage/StageVeskServiceEnvironment.h"

#include "core/Geometry.h"
#include "enforcement/AXWindowManaging.h"

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <utility>

namespace vesk {

// Brings the real windows in line with the model: each open application's
// window goes to its slot or free frame, the active ones are raised, and those
// without a place are hidden (unless a placement waits for them). At
// activation it takes over the windows already on screen, so that the stage
// starts from where the user had them. Main thread only.
class StageVeskWindowSync {
public:
    StageVeskWindowSync(StageVeskModel& model, const StageVeskPlacementRecords& records,
                        AXWindowManaging& windowManager, const StageVeskVisibleWindowRectsProvider& visibleWindowRects,
                        const StageVeskServiceEnvironment& environment);

    // With the reason "activate" every window operation is logged.
    void syncWindows(const QString& reason);
    // Asks an application whose main window is in native full screen to leave
    // it; true when it was in it, whatever the answer.
    bool exitNativeFullScreen(const QString& bundleID);
    // Where the model puts the application's window now: its slot's cell or
    // its free frame; none while it is closed or has no place.
    std::optional<Rect> placedFrame(const QString& bundleID) const;
    // Gives each listed application with a visible window that frame (capped
    // at 95 % of its screen's stage area) as its free position; answers the
    // visible windows as the provider reported them.
    std::map<QString, Rect> seedVisibleWindows(const QStringList& bundleIDs);
    // While the display prewarm has an application's window out on the other
    // display, the sync leaves that window alone: the prewarm brings it back to
    // its placed frame when the dwell is over.
    void setAwayForPrewarm(std::optional<QString> bundleID) { awayForPrewarm_ = std::move(bundleID); }

private:
    void syncApp(const QString& bundleID, const QString& reason, bool verbose);
    // Sets the frame of an application with a slot or a free position.
    void setFrame(const QString& bundleID, StageVeskScreenID screen, const QString& reason, bool verbose);
    // Hides an application without a place, unless a pending placement waits
    // for its window.
    void hideWithoutPlace(const QString& bundleID, const QString& reason, bool verbose);
    void raiseIfActive(const QString& bundleID, StageVeskScreenID screen, const QString& reason, bool verbose);
    void logFrameDuringRecentDrag(const QString& reason, const QString& bundleID, const Rect& rect);

    StageVeskModel& model_;
    const StageVeskPlacementRecords& records_;
    AXWindowManaging& windowManager_;
    const StageVeskVisibleWindowRectsProvider& visibleWindowRects_;
    const StageVeskServiceEnvironment& environment_;
    std::optional<QString> awayForPrewarm_;
};

} // namespace vesk
