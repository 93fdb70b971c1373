#pragma once

#include "enforcement/AXWindowManaging.h"
#include "logging/VeskLogger.h"
#include "platform/AXElement.h"
#include "platform/AXError.h"

#include <memory>
#include <optional>
#include <vector>

namespace vesk::platform {
class Accessibility;
class RunningApplication;
class ScreenProviding;
class Workspace;
} // namespace vesk::platform

namespace vesk {

// The window manager over the platform's Accessibility API. Frames are
// converted to the top-left system through the display that overlaps them
// most; each operation logs its failures once, under "[SystemAXWindowManager] ".
class SystemAXWindowManager final : public AXWindowManaging {
public:
    SystemAXWindowManager(const platform::Workspace& workspace, platform::Accessibility& accessibility,
                          const platform::ScreenProviding& screens);

    bool setFrame(const QString& bundleID, const Rect& cocoaFrame) override;
    bool setPosition(const QString& bundleID, const Rect& cocoaFrame) override;
    bool raise(const QString& bundleID) override;
    bool setMinimized(const QString& bundleID, bool minimized) override;
    WindowCounts minimizedWindowCounts(const QString& bundleID) override;
    bool hide(const QString& bundleID) override;
    bool closeWindow(const QString& bundleID, std::optional<Point> quartzPoint) override;
    bool isFullScreen(const QString& bundleID) override;
    bool exitFullScreen(const QString& bundleID) override;

    // The frame in the top-left system, through the display whose Cocoa frame
    // overlaps it most; unchanged when there is no display.
    Rect accessibilityFrame(const Rect& cocoaFrame) const;

private:
    // The first running application with the identifier, terminated or not.
    std::shared_ptr<platform::RunningApplication> runningApplication(const QString& bundleID) const;
    platform::AXElement applicationElement(const platform::RunningApplication& application) const;
    std::optional<platform::AXElement> mainWindowElement(const QString& bundleID) const;
    std::vector<platform::AXElement> axWindows(const platform::AXElement& application) const;
    // The window's top-left frame; none unless position and size both read.
    std::optional<Rect> windowFrame(const platform::AXElement& window) const;
    std::optional<platform::AXElement> windowAtPoint(const platform::AXElement& application, Point quartzPoint) const;
    bool pressCloseControl(const QString& bundleID, const platform::AXElement& window);

    const platform::Workspace& workspace_;
    platform::Accessibility& accessibility_;
    const platform::ScreenProviding& screens_;
    VeskLogger logger_{QStringLiteral("SystemAXWindowManager")};
};

} // namespace vesk
