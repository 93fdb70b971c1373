#pragma once

#include "stage/StageVeskScreenID.h"
#include "stage/StageVeskWindowSync.h"

#include "core/Geometry.h"
#include "core/Scheduler.h"
#include "core/WorkItem.h"
#include "enforcement/AXWindowManaging.h"
#include "platform/ScreenProviding.h"

#include <QObject>
#include <QString>

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace vesk {

// Sends each newly seen window once to another display and back when several
// are attached, so that the window server registers it on both. One window at
// a time dwells 0.5 s on the other display; the dwell runs on the scheduler,
// so other work goes on meanwhile, but the window sync leaves the window that
// is out where it is, and the reconciliation waits while `isPrewarming`. A
// window comes back to where the stage has put it by then (a layout or zoom
// may have moved it while it was out, the sync may have framed one waiting for
// its turn), else to where it was seen. An application is prewarmed once until
// `reset`. Main thread only.
class StageVeskDisplayPrewarm final : public QObject {
public:
    StageVeskDisplayPrewarm(AXWindowManaging& windowManager, StageVeskWindowSync& sync,
                            const platform::ScreenProviding& screens, Scheduler& scheduler);
    ~StageVeskDisplayPrewarm() override;

    void prewarm(const std::map<QString, Rect>& visibleWindows);
    bool isPrewarming() const { return isPrewarming_; }
    // Forgets which applications went through it and drops those waiting; a
    // window out on the other display still comes back.
    void reset();

private:
    // A window out on the other display, and how sending it there went.
    struct Outing {
        QString bundleID;
        Rect original;
        Rect targetRect;
        StageVeskScreenID source;
        StageVeskScreenID target;
        bool setOutOk = false;
        bool raiseOutOk = false;
    };

    void runNext();
    void bringBack(const Outing& outing);

    AXWindowManaging& windowManager_;
    StageVeskWindowSync& sync_;
    const platform::ScreenProviding& screens_;
    Scheduler& scheduler_;
    std::set<QString> prewarmedBundleIDs_;
    // Windows waiting for their turn, and the one out on the other display now.
    std::vector<std::pair<QString, Rect>> queue_;
    WorkItem return_;
    bool isPrewarming_ = false;
};

} // namespace vesk
