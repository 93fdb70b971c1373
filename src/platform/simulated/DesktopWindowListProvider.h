#pragma once

#include "platform/WindowListProviding.h"

#include <map>
#include <utility>

namespace vesk::platform {

class SimulatedDesktop;

// The window list of the simulated desktop: one dictionary per window with
// the kCG* keys, front to back, filtered by the WindowListOption flags.
class DesktopWindowListProvider final : public WindowListProviding {
public:
    explicit DesktopWindowListProvider(const SimulatedDesktop& desktop) : desktop_(desktop) { }
    QList<QVariantMap> copyWindowInfo(int options) const override;

private:
    QList<QVariantMap> buildWindowInfo(int options) const;

    const SimulatedDesktop& desktop_;
    // Per option set: the desktop's window revision the list was built at.
    mutable std::map<int, std::pair<quint64, QList<QVariantMap>>> cache_;
};

} // namespace vesk::platform
