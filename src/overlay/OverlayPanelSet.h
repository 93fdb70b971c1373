#pragma once

#include "core/Geometry.h"
#include "logging/VeskLogger.h"
#include "overlay/DisplayLayoutSignature.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace vesk::platform {
class OwnWindowRegistering;
class ScreenProviding;
} // namespace vesk::platform

namespace vesk {

class OverlayBackingPanel;
class OverlayPanel;

// The overlay's panels: a black panel and a black backing panel on every
// display, kept in step with the display layout. A display that stays keeps
// its panels; a new one gets new panels, shown at once; the panels of a
// display that went are ordered out.
class OverlayPanelSet {
public:
    OverlayPanelSet(const platform::ScreenProviding& screens, platform::OwnWindowRegistering& ownWindows,
                    VeskLogger logger);
    ~OverlayPanelSet();
    OverlayPanelSet(const OverlayPanelSet&) = delete;
    OverlayPanelSet& operator=(const OverlayPanelSet&) = delete;

    // Brings the panels in step with the displays; whether they changed.
    bool sync(const QString& reason);
    void dismiss();
    // Orders every backing panel front again, below the applications' windows.
    void refreshBackingPanels(const QString& reason);
    // Gives each panel the holes within its display.
    void applyPassthroughRects(const std::vector<Rect>& holes, bool hasGeometry);

    std::vector<OverlayPanel*> panels() const;
    std::vector<OverlayBackingPanel*> backingPanels() const;
    size_t backingPanelCount() const { return backingPanelRecords_.size(); }

private:
    struct PanelRecord {
        DisplayLayoutSignature::Entry entry;
        std::unique_ptr<OverlayPanel> panel;
    };
    struct BackingPanelRecord {
        DisplayLayoutSignature::Entry entry;
        std::unique_ptr<OverlayBackingPanel> panel;
    };

    const platform::ScreenProviding& screens_;
    platform::OwnWindowRegistering& ownWindows_;
    const VeskLogger logger_;
    std::vector<PanelRecord> panelRecords_;
    std::vector<BackingPanelRecord> backingPanelRecords_;
    std::optional<DisplayLayoutSignature> displayLayoutSignature_;
    // Kept from frame to frame, so that a frame reuses what the one before allocated.
    std::vector<Rect> clippedHoles_;
};

} // namespace vesk
