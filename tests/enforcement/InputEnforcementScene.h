#pragma once

#include "DesktopSpecs.h"
#include "LogCapture.h"
#include "overlay/OverlayBackingPanel.h"
#include "overlay/OverlayPanel.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/OwnWindowSpec.h"
#include "platform/PlatformInterfaces.h"
#include "platform/WindowLevel.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/DesktopTestScene.h"
#include "platform/simulated/DesktopWorkspace.h"

#include <memory>
#include <optional>

namespace vesk::test {

// The desktop of a running session, for the input services: two displays,
// the editor (the allowed application) behind the browser, which is
// frontmost, Vesk's overlay and backing panel on the first display and one of
// its session panels at the bottom. Time is virtual; events are posted
// through the desktop's event system.
class InputEnforcementScene : public platform::testing::DesktopTestScene {
protected:
    static inline const QString editorID = QStringLiteral("com.example.editor");
    static inline const QString browserID = QStringLiteral("com.example.browser");
    static inline const QString veskID = QStringLiteral("com.vesk.app");

    void SetUp() override
    {
        DesktopTestScene::SetUp();
        platform::OwnWindowSpec overlay;
        overlay.title = QStringLiteral("Overlay");
        overlay.level = OverlayPanel::windowLevel();
        overlay.frame = QRectF(0, 0, 1440, 900);
        overlay.ignoresMouseEvents = true;
        desktop->addOwnWindow(overlay);
        platform::OwnWindowSpec backing = overlay;
        backing.title = QStringLiteral("Overlay Backing");
        backing.level = OverlayBackingPanel::windowLevel();
        backing.ignoresMouseEvents = false;
        desktop->addOwnWindow(backing);
        platform::OwnWindowSpec panel;
        panel.title = QStringLiteral("Control Bar");
        panel.level = platform::shieldingWindowLevel() + 2;
        panel.frame = veskPanelFrame;
        desktop->addOwnWindow(panel);
        snapshots.emplace(desktop->interfaces().windowList,
                          [this, lookup = bundleIdentifierLookup(*desktop)](qint32 pid) {
                              ++ownerLookups;
                              return lookup(pid);
                          });
    }

    platform::DesktopEventSystem& events() { return desktop->events(); }

    // A click (down and up) at a top-left point; what became of the down.
    platform::EventOutcome click(QPointF quartzPoint, int button = 0) { return events().click(quartzPoint, button); }

    static bool swallowed(const platform::EventOutcome& outcome)
    {
        return !outcome.delivered && (outcome.swallowedByTap || outcome.swallowedByMonitor);
    }

    // The taps installed now, in the order events pass them.
    std::vector<platform::EventTapID> taps() const { return desktop->events().tapsInOrder(); }

    void advance(double seconds) { scheduler.advance(seconds); }

    // Bottom-left: a bar at the bottom of the first display.
    static inline const QRectF veskPanelFrame{600, 20, 240, 40};
    // The editor's visible parts, bottom-left: above and left of the browser.
    static inline const std::vector<Rect> editorHoles{Rect{100, 700, 600, 100}, Rect{100, 400, 200, 300}};
    // Top-left points: in the editor's left hole, on the browser, on the panel.
    static constexpr QPointF inEditorHole{150, 300};
    static constexpr QPointF onBrowser{800, 400};
    static constexpr QPointF onVeskPanel{700, 860};
    // The editor's title-bar buttons, top-left.
    static constexpr QPointF editorCloseButton{110, 110};
    static constexpr QPointF editorMinimizeButton{130, 110};
    static constexpr QPointF editorZoomButton{150, 110};

    std::optional<WindowSnapshotReader> snapshots;
    // How often the reader looked up a window's owner.
    int ownerLookups = 0;
    LogCapture logs;
};

} // namespace vesk::test
