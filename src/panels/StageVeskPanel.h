#pragma once

#include "core/Geometry.h"
#include "logging/VeskLogger.h"
#include "panels/StageVeskControlPanel.h"
#include "panels/StageVeskPanelEnvironment.h"
#include "settings/VeskDefaultsStore.h"
#include "stage/StageVeskScreenID.h"
#include "ui/Localizer.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace vesk {

class StageVeskService;
class SessionControlling;

// The stage's floating bars during a session. Per screen, as the per-screen
// functions say: the apps bar at the left edge ("appsBar"), the top bar with
// the goal and the layouts ("targetMode") and the control bar at the bottom
// ("controlBar"), which is forced onto the main screen when it is off
// everywhere; and one settings panel that a control bar opens. The frames of
// the visible panels are the control rects that the mouse blocker lets
// through. Frames and points are bottom-left (Cocoa) global coordinates.
// Main thread only.
class StageVeskPanel final : public QObject {
    Q_OBJECT

public:
    static constexpr double collapsedSidebarWidth = 46;
    static constexpr double expandedSidebarWidth = 172;
    static constexpr Size settingsPanelSize{360, 420};

    explicit StageVeskPanel(StageVeskPanelEnvironment environment);
    ~StageVeskPanel() override;

    // Frames on a screen of that full frame.
    static Rect sidebarFrame(const Rect& screenFrame, bool isExpanded);
    static Rect topBarFrame(const Rect& screenFrame);
    static Rect controlBarFrame(const Rect& screenFrame);

    // Both are held weakly; set them before `show`.
    void setSources(SessionControlling* session, StageVeskService* stage);
    // Runs whenever bars are shown, resized or closed.
    void setControlRectsChangedHandler(std::function<void()> handler) { controlRectsChanged_ = std::move(handler); }

    // Builds the bars anew: keeps the apps bars (adding and removing them as
    // the settings say), replaces the top and control bars, leaves the
    // settings panel as it is. Nothing happens when a source is gone.
    void show();
    // Closes every panel and forgets the sources; the handler is not called.
    void dismiss();
    // The visible apps bars, top bars, control bars, then the settings panel.
    std::vector<Rect> controlRects() const;
    // A click anywhere on screen closes an open settings panel unless it lies
    // in that panel or in a visible bar.
    void dismissSettingsIfClickOutside(Point cocoaPoint);

    void toggleSidebarExpansion(StageVeskScreenID screenID);
    // The gear: closes the settings panel when there is one, else opens it at
    // the mouse pointer.
    void toggleSettingsPanel();
    void closeSettingsPanel();

    const std::map<StageVeskScreenID, QPointer<StageVeskControlPanel>>& sidebarPanels() const { return sidebars_; }
    const std::map<StageVeskScreenID, QPointer<StageVeskControlPanel>>& topPanels() const { return topBars_; }
    const std::map<StageVeskScreenID, QPointer<StageVeskControlPanel>>& bottomPanels() const { return bottomBars_; }
    StageVeskControlPanel* settingsPanel() const { return settingsPanel_; }
    const std::set<StageVeskScreenID>& expandedSidebarScreenIDs() const { return expandedSidebars_; }

private:
    using PanelMap = std::map<StageVeskScreenID, QPointer<StageVeskControlPanel>>;

    bool isOn(VeskScreenFunction function, const platform::ScreenInfo& screen) const;
    void layoutSidebar(const platform::ScreenInfo& screen);
    void buildTopBar(const platform::ScreenInfo& screen);
    void buildControlBar(const platform::ScreenInfo& screen);
    void keepSettingsPanelInFront();
    StageVeskControlPanel* makePanel(const Rect& frame, bool dropsShadow) const;
    void store(PanelMap& panels, StageVeskScreenID screenID, StageVeskControlPanel* panel);
    // A fresh settings store for a hosted view, and its language.
    VeskDefaultsStore* makeViewDefaults() const;
    Localizer localizerFor(const VeskDefaultsStore& defaults) const;
    void notifyControlRectsChanged();

    static void closePanel(QPointer<StageVeskControlPanel>& panel);
    static void closePanels(PanelMap& panels);

    VeskLogger logger_{QStringLiteral("StageVeskPanel")};
    StageVeskPanelEnvironment environment_;
    PanelMap sidebars_;
    PanelMap topBars_;
    PanelMap bottomBars_;
    QPointer<StageVeskControlPanel> settingsPanel_;
    std::set<StageVeskScreenID> expandedSidebars_;
    VeskDefaultsStore defaults_;
    QPointer<SessionControlling> session_;
    QPointer<StageVeskService> stage_;
    std::function<void()> controlRectsChanged_;
};

} // namespace vesk
