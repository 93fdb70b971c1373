#include "panels/StageVeskSidebarControlView.h"

#include "panels/StageVeskAppTile.h"
#include "panels/StageVeskCard.h"
#include "panels/StageVeskDrawing.h"
#include "panels/StageVeskPalette.h"
#include "settings/VeskDefaultsStore.h"
#include "stage/StageVeskService.h"
#include "ui/FilledButton.h"

#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>

namespace vesk {

namespace {

using namespace stagepalette;

} // namespace

StageVeskSidebarControlView::StageVeskSidebarControlView(StageVeskService& stage, VeskDefaultsStore& defaults,
                                                         StageVeskScreenID screenID, bool isCollapsed,
                                                         std::function<void()> onToggleCollapsed,
                                                         const std::vector<InstalledApp>& installedApps, Clock& clock,
                                                         const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , stage_(&stage)
    , defaults_(&defaults)
    , screenID_(screenID)
    , isCollapsed_(isCollapsed)
    , onToggleCollapsed_(std::move(onToggleCollapsed))
    , clock_(clock)
    , localizer_(localizer)
{
    // Of two entries with the same identifier the earlier one wins.
    for (const InstalledApp& app : installedApps)
        installedApps_.emplace(app.id, app);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    column->addWidget(makeHeader(localizer), 0, Qt::AlignLeft);

    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setStyleSheet(stageScrollAreaStyleSheet());
    // The bar's width is the panel's, whatever the list would like.
    scroll->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    auto* listHolder = new QWidget;
    list_ = new QVBoxLayout(listHolder);
    // Collapsed, a tile fills the bar but for 5 pt on either side.
    const int listPadding = isCollapsed ? 5 : 8;
    list_->setContentsMargins(listPadding, 0, listPadding, 0);
    list_->setSpacing(6);
    parkedTitle_ = stageLabel(localizer.translate("StageVeskSidebarControlView", "GEPARKT"),
                              stageFont(9, QFont::DemiBold, true, 1.2), white(0.45), listHolder);
    parkedTitle_->setContentsMargins(0, 8, 0, 0);
    scroll->setWidget(listHolder);
    column->addWidget(scroll, 1);

    footer_ = stageLabel(localizer.translate("StageVeskSidebarControlView", "Klick: auf Bühne"),
                         stageFont(10, QFont::Medium, true), white(0.35), this);
    footer_->setContentsMargins(10, 0, 10, 12);
    column->addWidget(footer_);
    footer_->setVisible(!isCollapsed);

    // The trailing line lies over the content.
    trailingLine_ = new StageVeskCard(0, white(0.08), Qt::transparent, this);

    connect(&stage, &StageVeskService::stateChanged, this, &StageVeskSidebarControlView::refresh);
    connect(&defaults, &VeskDefaultsStore::stageVeskAgingMinutesChanged, this, &StageVeskSidebarControlView::refresh);
    refresh();
}

QWidget* StageVeskSidebarControlView::makeHeader(const Localizer& localizer)
{
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    const int horizontal = isCollapsed_ ? 12 : 10;
    row->setContentsMargins(horizontal, 12, horizontal, 0);
    row->setSpacing(6);
    queueCount_ = stageLabel({}, stageFont(9, QFont::DemiBold, true, 1.4), white(0.55), header);
    queueCount_->setVisible(!isCollapsed_);
    row->addWidget(queueCount_);

    FilledButton::Look look;
    look.textStyle.font = stageFont(12, QFont::DemiBold);
    look.textColor = white(0.72);
    look.fill = white(0.08);
    look.cornerRadius = 6;
    auto* toggle = new FilledButton(isCollapsed_ ? QStringLiteral("›") : QStringLiteral("‹"), look, header);
    toggle->setFixedSize(22, 22);
    toggle->setAccessibleName(isCollapsed_
                                  ? localizer.translate("StageVeskSidebarControlView", "Apps-Leiste aufklappen")
                                  : localizer.translate("StageVeskSidebarControlView", "Apps-Leiste einklappen"));
    connect(toggle, &FilledButton::clicked, this, [this] {
        if (onToggleCollapsed_)
            onToggleCollapsed_();
    });
    row->addWidget(toggle);
    return header;
}

std::vector<StageVeskSidebarControlView::Tile>
StageVeskSidebarControlView::tiles(const StageVeskState& state, StageVeskScreenID screenID, bool isCollapsed,
                                   const std::function<QString(const QString&)>& displayName,
                                   const std::map<QString, InstalledApp>& installedApps, const QDateTime& now,
                                   double agingSeconds, const Localizer& localizer)
{
    std::vector<Tile> tiles;
    const auto add = [&](const QString& bundleID, bool isParked) {
        StageVeskAppTile::Content content;
        content.displayName = displayName(bundleID);
        if (const auto installed = installedApps.find(bundleID); installed != installedApps.end())
            content.icon = installed->second.icon;
        content.isParked = isParked;
        content.isCollapsed = isCollapsed;
        content.statusColor = white(0.40);
        if (isParked) {
            content.status = localizer.translate("StageVeskSidebarControlView", "geparkt");
        } else if (state.isStale(bundleID, now, agingSeconds)) {
            content.status = localizer.translate("StageVeskSidebarControlView", "Brauchst du das noch?");
            content.statusColor = staleYellow();
        } else {
            content.status = localizer.translate("StageVeskSidebarControlView", "in Queue");
        }
        tiles.push_back(Tile{bundleID, content});
    };
    for (const QString& bundleID : state.queuedBundleIDs(screenID))
        add(bundleID, false);
    for (const QString& bundleID : state.parkedBundleIDs(screenID))
        add(bundleID, true);
    return tiles;
}

void StageVeskSidebarControlView::addTile(const Tile& tile)
{
    auto* button = new StageVeskAppTile(tile.content, list_->parentWidget());
    connect(button, &StageVeskAppTile::clicked, this, [this, bundleID = tile.bundleID] {
        if (stage_)
            stage_->restoreFromQueue(bundleID, screenID_);
    });
    tiles_.emplace_back(button);
    list_->addWidget(button, 0, isCollapsed_ ? Qt::AlignHCenter : Qt::Alignment());
}

// Rebuilds the tiles. The old ones go once their events are done: the click
// of one of them may be what changed the state.
void StageVeskSidebarControlView::refresh()
{
    if (!stage_ || !defaults_)
        return;
    for (const QPointer<StageVeskAppTile>& tile : tiles_) {
        if (tile) {
            tile->hide();
            tile->deleteLater();
        }
    }
    tiles_.clear();
    while (QLayoutItem* item = list_->takeAt(0))
        delete item;

    const StageVeskState& state = stage_->state();
    const std::vector<Tile> shown = tiles(
        state, screenID_, isCollapsed_, [this](const QString& id) { return stage_->displayName(id); }, installedApps_,
        clock_.now(), double(defaults_->stageVeskAgingMinutes()) * 60, localizer_);
    queueCount_->setText(localizer_.translate("StageVeskSidebarControlView", "QUEUE · %n", nullptr,
                                              int(state.queuedBundleIDs(screenID_).size())));
    const auto firstParked =
        std::find_if(shown.begin(), shown.end(), [](const Tile& tile) { return tile.content.isParked; });
    for (auto tile = shown.begin(); tile != firstParked; ++tile)
        addTile(*tile);
    // The parked ones have a title only when the bar is expanded.
    const bool showParkedTitle = firstParked != shown.end() && !isCollapsed_;
    if (showParkedTitle)
        list_->addWidget(parkedTitle_);
    parkedTitle_->setVisible(showParkedTitle);
    for (auto tile = firstParked; tile != shown.end(); ++tile)
        addTile(*tile);
    list_->addStretch(1);
}

std::vector<StageVeskAppTile*> StageVeskSidebarControlView::tileButtons() const
{
    std::vector<StageVeskAppTile*> shown;
    for (const QPointer<StageVeskAppTile>& tile : tiles_)
        shown.push_back(tile);
    return shown;
}

QString StageVeskSidebarControlView::headerText() const
{
    return queueCount_->isHidden() ? QString() : queueCount_->text();
}

bool StageVeskSidebarControlView::showsParkedTitle() const
{
    return !parkedTitle_->isHidden();
}

bool StageVeskSidebarControlView::showsFooter() const
{
    return !footer_->isHidden();
}

void StageVeskSidebarControlView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), black(0.88));
}

void StageVeskSidebarControlView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    trailingLine_->setGeometry(width() - 1, 0, 1, height());
    trailingLine_->raise();
}

} // namespace vesk
