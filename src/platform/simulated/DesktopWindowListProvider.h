#pragma once

#include "platform/WindowListProviding.h"

namespace vesk::platform {

class SimulatedDesktop;

// The window list of the simulated desktop.
class DesktopWindowListProvider final : public WindowListProviding {
public:
    explicit DesktopWindowListProvider(const SimulatedDesktop& desktop) : desktop_(desktop) { }
    QList<QVariantMap> copyWindowInfo(int options) const override;

private:
    const SimulatedDesktop& desktop_;
};

} // namespace vesk::platform
