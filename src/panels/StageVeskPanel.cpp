#include "panels/StageVeskPanel.h"

#include "panels/PanelPlacement.h"
#include "panels/SessionControlling.h"
#include "panels/StageVeskBottomControlView.h"
#include "panels/StageVeskControlPanel.h"
#include "panels/StageVeskSettingsControlView.h"
#include "panels/StageVeskSidebarControlView.h"
#include "panels/StageVeskTopControlView.h"
#include "settings/VeskLanguage.h"
#include "stage/StageVeskService.h"

#include <algorithm>

namespace vesk {

namespace {

constexpr double barHeight = 42;
constexpr double topBarMaximumWidth = 620;
constexpr double topBarTopInset = 10;
constexpr double controlBarWidth = 380;
constexpr double controlBarBottomInset = 16;

Rect frameOf(const platform::ScreenInfo& screen)
{
    return rectFromQRectF(screen.frame);
}

} // namespace

StageVeskPanel::StageVeskPanel(StageVeskPanelEnvironment environment)
    : environment_(std::move(environment))
    , defaults_(environment_.userDefaults, environment_.preferredLanguages)
{
    logger_.log(VeskLogLevel::debug, QStringLiteral("StageVeskPanel initialized"));
}

StageVeskPanel::~StageVeskPanel()
{
    closePanels(sidebars_);
    closePanels(topBars_);
    closePanels(bottomBars_);
    closePanel(settingsPanel_);
}

Rect StageVeskPanel::sidebarFrame(const Rect& screenFrame, bool isExpanded)
{
    const double width = isExpanded ? expandedSidebarWidth : collapsedSidebarWidth;
    return {screenFrame.minX(), screenFrame.minY(), width, screenFrame.standardHeight()};
}

// Room is left for an expanded apps bar and a margin beside it.
Rect StageVeskPanel::topBarFrame(const Rect& screenFrame)
{
    const double width = std::min(screenFrame.standardWidth() - expandedSidebarWidth - 32, topBarMaximumWidth);
    return {screenFrame.midX() - width / 2, screenFrame.maxY() - barHeight - topBarTopInset, width, barHeight};
}

Rect StageVeskPanel::controlBarFrame(const Rect& screenFrame)
{
    return {screenFrame.midX() - controlBarWidth / 2, screenFrame.minY() + controlBarBottomInset, controlBarWidth,
            barHeight};
}

void StageVeskPanel::setSources(SessionControlling* session, StageVeskService* stage)
{
    session_ = session;
    stage_ = stage;
}

// The main screen is the one with the main screen's display number, as the
// settings' screen list has it, so that the switches and the bars agree.
bool StageVeskPanel::isOn(VeskScreenFunction function, const platform::ScreenInfo& screen) const
{
    const std::optional<platform::ScreenInfo> main = environment_.screens.mainScreen();
    const quint32 id = screen.displayID.value_or(0);
    const bool isMain = main && main->displayID.value_or(0) == id;
    return defaults_.isScreenFunctionEnabled(function, id, isMain);
}

void StageVeskPanel::show()
{
    if (!session_ || !stage_)
        return;
    closePanels(topBars_);
    closePanels(bottomBars_);

    const std::vector<platform::ScreenInfo> screens = environment_.screens.screens();
    std::set<StageVeskScreenID> sidebarScreens;
    for (const platform::ScreenInfo& screen : screens) {
        if (isOn(VeskScreenFunction::appsBar, screen))
            sidebarScreens.insert(StageVeskScreenID::of(screen));
    }
    for (auto entry = sidebars_.begin(); entry != sidebars_.end();) {
        if (sidebarScreens.contains(entry->first)) {
            ++entry;
            continue;
        }
        closePanel(entry->second);
        entry = sidebars_.erase(entry);
    }
    for (const platform::ScreenInfo& screen : screens) {
        if (isOn(VeskScreenFunction::appsBar, screen))
            layoutSidebar(screen);
    }
    notifyControlRectsChanged();

    for (const platform::ScreenInfo& screen : screens) {
        if (isOn(VeskScreenFunction::targetMode, screen))
            buildTopBar(screen);
        if (isOn(VeskScreenFunction::controlBar, screen))
            buildControlBar(screen);
    }
    if (bottomBars_.empty()) {
        if (const std::optional<platform::ScreenInfo> main = environment_.screens.mainScreen()) {
            logger_.log(VeskLogLevel::warning,
                        QStringLiteral(
                            "StageVesk control bar disabled on all screens — forcing it onto the main screen"));
            buildControlBar(*main);
        }
    }
    keepSettingsPanelInFront();
    notifyControlRectsChanged();
    logger_.log(VeskLogLevel::info, QStringLiteral("StageVesk control panels shown — sidebars=%1, topBars=%2, "
                                                   "bottomBars=%3")
                                        .arg(sidebars_.size())
                                        .arg(topBars_.size())
                                        .arg(bottomBars_.size()));
}

void StageVeskPanel::layoutSidebar(const platform::ScreenInfo& screen)
{
    const StageVeskScreenID screenID = StageVeskScreenID::of(screen);
    const Rect frame = sidebarFrame(frameOf(screen), expandedSidebars_.contains(screenID));
    QPointer<StageVeskControlPanel>& panel = sidebars_[screenID];
    if (!panel)
        panel = makePanel(frame, false);
    panel->setFrame(frame);

    VeskDefaultsStore* defaults = makeViewDefaults();
    auto* view = new StageVeskSidebarControlView(
        *stage_, *defaults, screenID, !expandedSidebars_.contains(screenID),
        [panel = QPointer<StageVeskPanel>(this), screenID] {
            if (panel)
                panel->toggleSidebarExpansion(screenID);
        },
        environment_.installedApps ? environment_.installedApps() : std::vector<InstalledApp>{}, environment_.clock,
        localizerFor(*defaults));
    defaults->setParent(view);
    panel->setContent(view);
}

void StageVeskPanel::buildTopBar(const platform::ScreenInfo& screen)
{
    const StageVeskScreenID screenID = StageVeskScreenID::of(screen);
    StageVeskControlPanel* panel = makePanel(topBarFrame(frameOf(screen)), true);
    VeskDefaultsStore* defaults = makeViewDefaults();
    auto* view = new StageVeskTopControlView(*session_, *stage_, screenID, localizerFor(*defaults));
    defaults->setParent(view);
    panel->setContent(view);
    panel->shapeToCard(view->card());
    store(topBars_, screenID, panel);
}

void StageVeskPanel::buildControlBar(const platform::ScreenInfo& screen)
{
    const StageVeskScreenID screenID = StageVeskScreenID::of(screen);
    StageVeskControlPanel* panel = makePanel(controlBarFrame(frameOf(screen)), true);
    VeskDefaultsStore* defaults = makeViewDefaults();
    auto* view = new StageVeskBottomControlView(
        *session_, *stage_, screenID,
        [panel = QPointer<StageVeskPanel>(this)] {
            if (panel)
                panel->toggleSettingsPanel();
        },
        environment_.clock, environment_.scheduler, localizerFor(*defaults));
    defaults->setParent(view);
    panel->setContent(view);
    panel->shapeToCard(view->card());
    store(bottomBars_, screenID, panel);
}

// A second screen with the same identifier replaces the first one's entry.
void StageVeskPanel::store(PanelMap& panels, StageVeskScreenID screenID, StageVeskControlPanel* panel)
{
    QPointer<StageVeskControlPanel>& entry = panels[screenID];
    closePanel(entry);
    entry = panel;
}

void StageVeskPanel::toggleSidebarExpansion(StageVeskScreenID screenID)
{
    if (!stage_)
        return;
    const std::vector<platform::ScreenInfo> screens = environment_.screens.screens();
    const auto screen = std::find_if(screens.begin(), screens.end(), [screenID](const platform::ScreenInfo& info) {
        return StageVeskScreenID::of(info) == screenID;
    });
    if (screen == screens.end())
        return;
    if (!expandedSidebars_.erase(screenID))
        expandedSidebars_.insert(screenID);
    layoutSidebar(*screen);
    notifyControlRectsChanged();
}

void StageVeskPanel::toggleSettingsPanel()
{
    if (settingsPanel_) {
        closeSettingsPanel();
        return;
    }
    if (!session_ || !stage_)
        return;
    const std::optional<Point> origin =
        panelOriginNearMouse(settingsPanelSize, pointFromQPointF(environment_.pointer.mouseLocation()),
                             environment_.screens);
    if (!origin)
        return;
    StageVeskControlPanel* panel =
        makePanel(Rect{origin->x, origin->y, settingsPanelSize.width, settingsPanelSize.height}, true);
    VeskDefaultsStore* viewDefaults = makeViewDefaults();
    auto* view = new StageVeskSettingsControlView(
        *session_, *stage_, defaults_, environment_.screens,
        [panel = QPointer<StageVeskPanel>(this)] {
            if (panel)
                panel->show();
        },
        [panel = QPointer<StageVeskPanel>(this)] {
            if (panel)
                panel->closeSettingsPanel();
        },
        localizerFor(*viewDefaults));
    viewDefaults->setParent(view);
    panel->setContent(view);
    panel->shapeToCard(view->card());
    settingsPanel_ = panel;
    notifyControlRectsChanged();
}

// The rebuilt bars come in front of their level; the settings panel, which a
// switch in it may just have rebuilt them from, stays in front of them instead
// of under the control bar it opened beside. A panel that is already in does
// not move when it is ordered front again, so it goes out and in.
void StageVeskPanel::keepSettingsPanelInFront()
{
    if (!settingsPanel_ || !settingsPanel_->isOrderedIn())
        return;
    settingsPanel_->orderOut();
    settingsPanel_->orderFrontRegardless();
}

void StageVeskPanel::closeSettingsPanel()
{
    closePanel(settingsPanel_);
    notifyControlRectsChanged();
}

void StageVeskPanel::dismissSettingsIfClickOutside(Point cocoaPoint)
{
    if (!settingsPanel_ || !settingsPanel_->isOrderedIn() || settingsPanel_->frame().contains(cocoaPoint))
        return;
    for (const PanelMap* panels : {&sidebars_, &topBars_, &bottomBars_}) {
        for (const auto& [screenID, panel] : *panels) {
            if (panel && panel->isOrderedIn() && panel->frame().contains(cocoaPoint))
                return;
        }
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("StageVesk settings panel dismissing via click outside"));
    closeSettingsPanel();
}

void StageVeskPanel::dismiss()
{
    closePanels(sidebars_);
    closePanels(topBars_);
    closePanels(bottomBars_);
    closePanel(settingsPanel_);
    session_ = nullptr;
    stage_ = nullptr;
    logger_.log(VeskLogLevel::info, QStringLiteral("StageVesk panel dismissed"));
}

std::vector<Rect> StageVeskPanel::controlRects() const
{
    std::vector<Rect> rects;
    for (const PanelMap* panels : {&sidebars_, &topBars_, &bottomBars_}) {
        for (const auto& [screenID, panel] : *panels) {
            if (panel && panel->isOrderedIn())
                rects.push_back(panel->frame());
        }
    }
    if (settingsPanel_ && settingsPanel_->isOrderedIn())
        rects.push_back(settingsPanel_->frame());
    return rects;
}

StageVeskControlPanel* StageVeskPanel::makePanel(const Rect& frame, bool dropsShadow) const
{
    return new StageVeskControlPanel(frame, dropsShadow && environment_.displayComposites(), environment_.screens,
                                     environment_.ownWindows);
}

VeskDefaultsStore* StageVeskPanel::makeViewDefaults() const
{
    return new VeskDefaultsStore(environment_.userDefaults, environment_.preferredLanguages);
}

Localizer StageVeskPanel::localizerFor(const VeskDefaultsStore& defaults) const
{
    return Localizer(resolvedLocale(defaults.language(), environment_.preferredLanguages()));
}

void StageVeskPanel::notifyControlRectsChanged()
{
    if (controlRectsChanged_)
        controlRectsChanged_();
}

// A panel goes once the events under way are done: the click that closes it
// may have come from its own view.
void StageVeskPanel::closePanel(QPointer<StageVeskControlPanel>& panel)
{
    if (panel) {
        panel->orderOutAndUnlist();
        panel->deleteLater();
    }
    panel = nullptr;
}

void StageVeskPanel::closePanels(PanelMap& panels)
{
    for (auto& [screenID, panel] : panels)
        closePanel(panel);
    panels.clear();
}

} // namespace vesk
