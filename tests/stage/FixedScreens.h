#pragma once

#include "platform/ScreenProviding.h"

#include <optional>
#include <vector>

namespace vesk {

// Screens as a plain list: what the stage's pure lookups read.
class FixedScreens final : public platform::ScreenProviding {
public:
    std::vector<platform::ScreenInfo> list;
    std::optional<platform::ScreenInfo> main;

    void add(std::optional<quint32> id, QRectF frame)
    {
        platform::ScreenInfo screen;
        screen.displayID = id;
        screen.frame = frame;
        screen.visibleFrame = frame;
        list.push_back(screen);
    }
    std::vector<platform::ScreenInfo> screens() const override { return list; }
    std::optional<platform::ScreenInfo> mainScreen() const override { return main; }
    std::optional<QRectF> displayBounds(quint32) const override { return std::nullopt; }
};

} // namespace vesk
