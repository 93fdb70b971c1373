#pragma once

#include "platform/ScreenProviding.h"

#include <map>

// Displays defined by a test: Cocoa frames and, per display identifier, the
// system's Quartz bounds.
class FakeScreens final : public vesk::platform::ScreenProviding {
public:
    std::vector<vesk::platform::ScreenInfo> list;
    std::map<quint32, QRectF> bounds;

    void add(std::optional<quint32> displayID, QRectF cocoaFrame, const QString& name = {})
    {
        vesk::platform::ScreenInfo screen;
        screen.displayID = displayID;
        screen.frame = cocoaFrame;
        screen.visibleFrame = cocoaFrame;
        screen.name = name;
        list.push_back(screen);
    }

    std::vector<vesk::platform::ScreenInfo> screens() const override { return list; }
    std::optional<vesk::platform::ScreenInfo> mainScreen() const override
    {
        if (list.empty())
            return std::nullopt;
        return list.front();
    }
    std::optional<QRectF> displayBounds(quint32 displayID) const override
    {
        const auto found = bounds.find(displayID);
        if (found == bounds.end())
            return std::nullopt;
        return found->second;
    }
};
