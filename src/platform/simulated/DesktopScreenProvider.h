#pragma once

#include "platform/ScreenChangeObserving.h"
#include "platform/ScreenProviding.h"

namespace vesk::platform {

class SimulatedDesktop;

// The displays of the simulated desktop as screens, and their changes.
class DesktopScreenProvider final : public ScreenProviding, public ScreenChangeObserving {
public:
    explicit DesktopScreenProvider(const SimulatedDesktop& desktop) : desktop_(desktop) { }
    std::vector<ScreenInfo> screens() const override;
    std::optional<ScreenInfo> mainScreen() const override;
    std::optional<QRectF> displayBounds(quint32 displayID) const override;
    QMetaObject::Connection observeScreenParameters(QObject* receiver, std::function<void()> handler) const override;

private:
    const SimulatedDesktop& desktop_;
};

} // namespace vesk::platform
