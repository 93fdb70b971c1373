#pragma once

#include "overlay/OverlayControlling.h"

namespace vesk {

// An overlay that covers nothing: the stand-in while no overlay is wired.
class NoOpOverlayService final : public OverlayControlling {
public:
    void activate(const std::set<QString>&) override {}
    void updateAllowlist(const std::set<QString>&) override {}
    void deactivate() override {}
    AllowedWindowDragState allowedWindowDragState(const QDateTime&) const override { return {}; }
    void prepareBackingForAllowedAppActivation(const QString&) override {}
    void suppressPassthroughImmediately(const QString&, const QString&) override {}
};

} // namespace vesk
