#pragma once

#include "stage/StageVeskControlling.h"

namespace vesk {

// A stage that arranges nothing and has no layout.
class NoOpStageVeskService final : public StageVeskControlling {
public:
    void activate(const std::set<QString>&, const DisplayNames&, std::optional<StageVeskScreenID>) override { }
    void deactivate() override { }
    void updateAllowlist(const std::set<QString>&, const DisplayNames&) override { }
    void setOnAppFullyClosed(std::function<void(const QString&)>) override { }
    void closeApp(const QString&, Point, bool) override { }
    void moveToQueue(const QString&) override { }
    void toggleZoom(const QString&) override { }
    void handleSeamDragHandoff(const QString&, Point) override { }
    void syncUserDrag(const QString&, std::optional<Point>, std::optional<StageVeskScreenID>, Rect) override { }
    void requestStagePlacement(const QString&, StageVeskScreenID) override { }
    void restoreIfQueued(const QString&, StageVeskScreenID) override { }
    bool isQueued(const QString&) const override { return false; }
    std::optional<StageVeskPhase> defaultScreenPhase() const override { return std::nullopt; }
};

} // namespace vesk
