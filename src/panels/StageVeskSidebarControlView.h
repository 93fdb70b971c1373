#pragma once

#include "core/Clock.h"
#include "enforcement/InstalledApp.h"
#include "panels/StageVeskAppTile.h"
#include "stage/StageVeskScreenID.h"
#include "stage/StageVeskState.h"
#include "ui/Localizer.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <vector>

class QLabel;
class QVBoxLayout;

namespace vesk {

class StageVeskService;
class VeskDefaultsStore;

// The apps bar of a screen: the applications of this screen that are open but
// have no place on the stage (the queue), then the parked ones; a click on a
// tile brings its application back onto the stage. A queued application left
// untouched longer than the aging setting is marked. Collapsed, the bar shows
// the icons only.
class StageVeskSidebarControlView final : public QWidget {
    Q_OBJECT

public:
    StageVeskSidebarControlView(StageVeskService& stage, VeskDefaultsStore& defaults, StageVeskScreenID screenID,
                                bool isCollapsed, std::function<void()> onToggleCollapsed,
                                const std::vector<InstalledApp>& installedApps, Clock& clock,
                                const Localizer& localizer, QWidget* parent = nullptr);

    // One tile of the bar.
    struct Tile {
        QString bundleID;
        StageVeskAppTile::Content content;
    };
    // What the bar of a screen lists for a state: its queued applications,
    // then its parked ones, each in the state's order. A queued application
    // is stale when untouched for longer than `agingSeconds` at `now`.
    static std::vector<Tile> tiles(const StageVeskState& state, StageVeskScreenID screenID, bool isCollapsed,
                                   const std::function<QString(const QString&)>& displayName,
                                   const std::map<QString, InstalledApp>& installedApps, const QDateTime& now,
                                   double agingSeconds, const Localizer& localizer);

    bool isCollapsed() const { return isCollapsed_; }
    // The shown tiles, queued first, then parked.
    std::vector<StageVeskAppTile*> tileButtons() const;
    QString headerText() const;
    bool showsParkedTitle() const;
    bool showsFooter() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* makeHeader(const Localizer& localizer);
    void addTile(const Tile& tile);
    void refresh();

    QPointer<StageVeskService> stage_;
    QPointer<VeskDefaultsStore> defaults_;
    StageVeskScreenID screenID_;
    bool isCollapsed_;
    std::function<void()> onToggleCollapsed_;
    std::map<QString, InstalledApp> installedApps_;
    Clock& clock_;
    Localizer localizer_;

    QLabel* queueCount_ = nullptr;
    QVBoxLayout* list_ = nullptr;
    QLabel* parkedTitle_ = nullptr;
    QLabel* footer_ = nullptr;
    QWidget* trailingLine_ = nullptr;
    std::vector<QPointer<StageVeskAppTile>> tiles_;
};

} // namespace vesk
