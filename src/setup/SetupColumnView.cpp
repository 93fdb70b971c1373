#include "setup/SetupColumnView.h"

#include "core/AppVersion.h"
#include "core/Clock.h"
#include "setup/AppSearchDropdown.h"
#include "setup/PermissionBannerCard.h"
#include "setup/PermissionBannerView.h"
#include "setup/SelectedAppTile.h"
#include "setup/SessionSetupModel.h"
#include "setup/SessionSummaryLine.h"
#include "setup/SetupHeaderView.h"
#include "setup/SetupVersionButton.h"
#include "setup/StartControl.h"
#include "ui/OpacityOffsetBlurEffect.h"
#include "ui/TextLabel.h"
#include "ui/VeskTheme.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace vesk {

namespace {

// The chrome fade at progress c: opacity 1 − c, 90 c points up, blur 2.5 c.
constexpr double chromeRise = 90;
constexpr double chromeBlur = 2.5;

QWidget* padded(QWidget* row, int left, int top, int right, int bottom, QWidget* parent)
{
    auto* frame = new QWidget(parent);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(left, top, right, bottom);
    layout->addWidget(row);
    return frame;
}

} // namespace

SetupColumnView::SetupColumnView(SessionSetupModel& model, Scheduler& scheduler, const Clock& clock,
                                 const ReducedMotion& reducedMotion, const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , scheduler_(scheduler)
    , clock_(clock)
    , reducedMotion_(reducedMotion)
    , localizer_(localizer)
{
    setFixedWidth(width);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    header_ = new SetupHeaderView(model_, localizer, this);
    column->addWidget(header_);

    auto* versionRow = new QWidget(this);
    auto* versionLayout = new QHBoxLayout(versionRow);
    versionLayout->setContentsMargins(16, 0, 0, 0);
    versionButton_ = new SetupVersionButton(appVersionString(), localizer, versionRow);
    versionLayout->addWidget(versionButton_);
    versionLayout->addStretch(1);
    column->addWidget(versionRow);
    connect(versionButton_, &QAbstractButton::clicked, &model_, &SessionSetupModel::versionButtonTapped);

    column->addWidget(makeChromeRows(localizer), 1);
    column->addWidget(makeStartSection(localizer));

    connect(&model_, &SessionSetupModel::changed, this, &SetupColumnView::refresh);
    refresh();
}

QWidget* SetupColumnView::makeChromeRows(const Localizer& localizer)
{
    const VeskTheme& theme = VeskTheme::shared();
    chromeRows_ = new QWidget(this);
    chromeFade_ = new OpacityOffsetBlurEffect(chromeRows_);
    chromeRows_->setGraphicsEffect(chromeFade_);
    auto* rows = new QVBoxLayout(chromeRows_);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);

    // Row 3: the permission banner.
    auto* banner = new PermissionBannerView(model_, localizer);
    bannerRow_ = padded(new PermissionBannerCard(banner, chromeRows_), 20, 10, 20, 8, chromeRows_);
    rows->addWidget(bannerRow_);

    // Row 4: the application search; its list floats over the selection area.
    search_ = new AppSearchDropdown(
        {.showsTrailingPlus = true, .reservesDropdownSpace = false},
        [this](const InstalledApp& app) { model_.addPickedApp(app); }, localizer);
    connect(search_, &AppSearchDropdown::searchTextChanged, &model_, &SessionSetupModel::setSearchText);
    rows->addWidget(padded(search_, 20, 14, 20, 10, chromeRows_));

    // Row 5: the selection area, in one of three forms.
    selectionArea_ = new QStackedWidget(chromeRows_);
    grid_ = new QWidget(selectionArea_);
    auto* gridFrame = new QVBoxLayout(grid_);
    gridFrame->setContentsMargins(0, 4, 0, 0);
    gridLayout_ = new QGridLayout();
    gridLayout_->setHorizontalSpacing(4);
    gridLayout_->setVerticalSpacing(12);
    for (int columnIndex = 0; columnIndex < gridColumns; ++columnIndex) {
        gridLayout_->setColumnStretch(columnIndex, 1);
        gridLayout_->setColumnMinimumWidth(columnIndex, 10);
    }
    gridFrame->addLayout(gridLayout_);
    gridFrame->addStretch(1);

    TextStyle hintStyle;
    hintStyle.font = VeskFont::interface(12);
    hintStyle.lineLimit = 0;
    hintStyle.alignment = Qt::AlignHCenter;
    auto* hintPage = new QWidget(selectionArea_);
    auto* hintLayout = new QVBoxLayout(hintPage);
    hintLayout->setContentsMargins(0, 8, 0, 0);
    hint_ = new TextLabel(localizer.translate("SessionSetupView", "Suche oben nach Apps, die du mitnehmen willst."),
                          hintStyle, theme.textMuted, hintPage);
    hintLayout->addWidget(hint_);
    hintLayout->addStretch(1);

    selectionArea_->addWidget(grid_);
    selectionArea_->addWidget(hintPage);
    selectionArea_->addWidget(new QWidget(selectionArea_));
    rows->addWidget(padded(selectionArea_, 20, 0, 20, 0, chromeRows_), 1);
    return chromeRows_;
}

QWidget* SetupColumnView::makeStartSection(const Localizer& localizer)
{
    auto* section = new QWidget(this);
    auto* layout = new QVBoxLayout(section);
    layout->setContentsMargins(0, 0, 0, 12);
    layout->setSpacing(12);
    startControl_ = new StartControl(section);
    connect(startControl_, &QAbstractButton::clicked, &model_, &SessionSetupModel::triggerAbsorption);
    layout->addWidget(startControl_);
    summaryLine_ = new SessionSummaryLine(model_, scheduler_, clock_, localizer, section);
    layout->addWidget(summaryLine_, 0, Qt::AlignHCenter);
    return section;
}

int SetupColumnView::bannerRowHeight() const
{
    if (!model_.showsPermissionBanner())
        return 0;
    return bannerRow_->hasHeightForWidth() ? bannerRow_->heightForWidth(width) : bannerRow_->sizeHint().height();
}

SetupColumnView::SelectionForm SetupColumnView::selectionForm() const
{
    // White space in the search counts as a search.
    if (!model_.searchText().isEmpty())
        return SelectionForm::searching;
    return model_.selectedApps().empty() ? SelectionForm::hint : SelectionForm::grid;
}

void SetupColumnView::setCovered(bool covered)
{
    if (covered == covered_)
        return;
    covered_ = covered;
    refresh();
}

void SetupColumnView::refresh()
{
    const bool idle = model_.animator().phase() == WormveskAnimator::Phase::idle;
    setEnabled(idle && !covered_);
    bannerRow_->setVisible(model_.showsPermissionBanner());
    if (search_->apps() != model_.installedApps())
        search_->setApps(model_.installedApps());
    search_->setSelectedIDs(model_.selectedBundleIDs());
    search_->setSearchText(model_.searchText());
    selectionArea_->setCurrentIndex(static_cast<int>(selectionForm()));
    rebuildTiles();
    startControl_->setEnabled(model_.isStartReady());
    applyAnimationFrame();
}

void SetupColumnView::rebuildTiles()
{
    std::vector<InstalledApp> shown = model_.selectedApps();
    if (shown.size() > static_cast<size_t>(gridColumns))
        shown.resize(gridColumns);
    const bool hidden = model_.animator().phase() != WormveskAnimator::Phase::idle;
    std::map<QString, SelectedAppTile*> kept;
    bool added = false;
    for (size_t index = 0; index < shown.size(); ++index) {
        const InstalledApp& app = shown[index];
        SelectedAppTile* tile = nullptr;
        if (auto found = tiles_.find(app.id); found != tiles_.end()) {
            tile = found->second;
            tiles_.erase(found);
        } else {
            tile = new SelectedAppTile(
                app, scheduler_, clock_, reducedMotion_, [this, app] { model_.removeSelectedApp(app); }, localizer_,
                grid_);
            connect(tile, &SelectedAppTile::iconFrameChanged, this, &SetupColumnView::tilesChanged);
            added = true;
        }
        gridLayout_->addWidget(tile, 0, static_cast<int>(index), Qt::AlignTop);
        // A tile whose icon flies keeps its place but draws nothing.
        tile->setHiddenForSuction(hidden);
        kept.emplace(app.id, tile);
    }
    for (auto& [id, tile] : tiles_)
        delete tile;
    const bool changedTiles = added || !tiles_.empty();
    tiles_ = std::move(kept);
    if (changedTiles)
        emit tilesChanged();
}

std::map<QString, QRectF> SetupColumnView::tileIconFrames(const QWidget* root) const
{
    std::map<QString, QRectF> frames;
    for (const auto& [id, tile] : tiles_)
        frames.emplace(id, tile->iconFrame().translated(tile->mapTo(root, QPoint())));
    return frames;
}

void SetupColumnView::applyAnimationFrame()
{
    const double progress = model_.animator().chromeProgress().valueAt(clock_.now());
    chromeFade_->setOpacity(1 - progress);
    chromeFade_->setOffset(QPointF(0, -chromeRise * progress));
    chromeFade_->setBlurRadius(chromeBlur * progress);
}

} // namespace vesk
