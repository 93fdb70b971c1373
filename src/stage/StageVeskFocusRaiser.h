#pragma once

#include "stage/StageVeskModel.h"
#include "stage/StageVeskServiceEnvironment.h"

#include "core/Scheduler.h"
#include "core/WorkItem.h"
#include "enforcement/AXWindowManaging.h"

#include <QObject>
#include <QString>

#include <map>
#include <vector>

namespace vesk {

// Raises an application's window and raises it again 0.12 and 0.35 s later
// while the stage is active and the application stays its active, staged one.
// A window on another Space, or none at all, is not raised. Main thread only.
class StageVeskFocusRaiser final : public QObject {
public:
    StageVeskFocusRaiser(const StageVeskModel& model, AXWindowManaging& windowManager,
                         const StageVeskWindowSpaceClassificationProvider& classify, Scheduler& scheduler);
    ~StageVeskFocusRaiser() override;

    // Replaces the application's pending repeats.
    void raiseApp(const QString& bundleID, const QString& reason);
    void cancelAll();

private:
    void repeatRaise(const QString& bundleID, const QString& reason, double delay);
    void cancel(const QString& bundleID);

    const StageVeskModel& model_;
    AXWindowManaging& windowManager_;
    const StageVeskWindowSpaceClassificationProvider& classify_;
    Scheduler& scheduler_;
    std::map<QString, std::vector<WorkItem>> pendingFocusWorkItems_;
};

} // namespace vesk
