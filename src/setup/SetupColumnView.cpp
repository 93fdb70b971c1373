#include "setup/SetupColumnView.h"

#include "core/Clock.h"
#include "helpers/AppHelpers.h"
#include "setup/PermissionBannerCard.h"
#include "setup/SessionSetupModel.h"
#include "setup/SetupHeaderView.h"
#include "setup/SetupVersionButton.h"
#include "setup/StartControl.h"
#include "ui/OpacityOffsetBlurEffect.h"
#include "ui/TextLabel.h"
#include "ui/VeskTheme.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace vesk {

namespace {

// The chrome fade at progress c: opacity 1 − c, 90 c points up, blur 2.5 c.
constexpr double chromeRise = 90;
constexpr double chromeBlur = 2.5;
constexpr double tileIconSide = 44;

QWidget* padded(QWidget* row, int left, int top, int right, int bottom, QWidget* parent)
{
    auto* frame = new QWidget(parent);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(left, top, right, bottom);
    layout->addWidget(row);
    return frame;
}

} // namespace

SetupColumnView::SetupColumnView(SessionSetupModel& model, const Clock& clock, const Localizer& localizer,
                                 QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , clock_(clock)
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
    TextStyle bannerStyle;
    bannerStyle.font = VeskFont::interface(11, QFont::DemiBold);
    auto* banner =
        new TextLabel(localizer.translate("PermissionBanner", "Berechtigung erforderlich"), bannerStyle, theme.warn);
    bannerRow_ = padded(new PermissionBannerCard(banner, chromeRows_), 20, 10, 20, 8, chromeRows_);
    rows->addWidget(bannerRow_);

    // Row 4: the application search.
    searchField_ = new QLineEdit(chromeRows_);
    searchField_->setPlaceholderText(localizer.translate("AppSearchDropdown", "Apps hinzufuegen"));
    searchField_->setFont(VeskFont::interface(14));
    connect(searchField_, &QLineEdit::textEdited, &model_, &SessionSetupModel::setSearchText);
    rows->addWidget(padded(searchField_, 20, 14, 20, 10, chromeRows_));

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
    TextStyle summaryStyle;
    summaryStyle.font = VeskFont::interface(11);
    summaryStyle.alignment = Qt::AlignHCenter;
    summaryLine_ = new TextLabel(QString(), summaryStyle, VeskTheme::shared().textSecondary, section);
    Q_UNUSED(localizer);
    layout->addWidget(summaryLine_);
    return section;
}

SetupColumnView::SelectionForm SetupColumnView::selectionForm() const
{
    // White space in the search counts as a search.
    if (!model_.searchText().isEmpty())
        return SelectionForm::searching;
    return model_.selectedApps().empty() ? SelectionForm::hint : SelectionForm::grid;
}

void SetupColumnView::refresh()
{
    const bool idle = model_.animator().phase() == WormveskAnimator::Phase::idle;
    setEnabled(idle);
    bannerRow_->setVisible(model_.showsPermissionBanner());
    if (searchField_->text() != model_.searchText())
        searchField_->setText(model_.searchText());
    selectionArea_->setCurrentIndex(static_cast<int>(selectionForm()));
    rebuildTiles();
    startControl_->setEnabled(model_.isStartReady());
    summaryLine_->setText(QStringLiteral("%1 Apps").arg(model_.selectedBundleIDs().size()));
    applyAnimationFrame();
}

void SetupColumnView::rebuildTiles()
{
    std::vector<InstalledApp> shown = model_.selectedApps();
    if (shown.size() > static_cast<size_t>(gridColumns))
        shown.resize(gridColumns);
    const bool hidden = model_.animator().phase() != WormveskAnimator::Phase::idle;
    std::map<QString, QWidget*> kept;
    bool added = false;
    for (size_t index = 0; index < shown.size(); ++index) {
        const InstalledApp& app = shown[index];
        QWidget* tile = nullptr;
        if (auto found = tiles_.find(app.id); found != tiles_.end()) {
            tile = found->second;
            tiles_.erase(found);
        } else {
            auto* icon = new QLabel(grid_);
            icon->setPixmap(QPixmap::fromImage(app.icon).scaled(static_cast<int>(tileIconSide),
                                                                static_cast<int>(tileIconSide), Qt::KeepAspectRatio,
                                                                Qt::SmoothTransformation));
            icon->setFixedSize(56, 50);
            icon->setAlignment(Qt::AlignCenter);
            icon->setToolTip(app.name);
            tile = icon;
            added = true;
        }
        gridLayout_->addWidget(tile, 0, static_cast<int>(index), Qt::AlignHCenter | Qt::AlignTop);
        // A tile whose icon flies keeps its place but draws nothing.
        if (hidden != (tile->graphicsEffect() != nullptr)) {
            auto* invisible = hidden ? new OpacityOffsetBlurEffect(tile) : nullptr;
            if (invisible)
                invisible->setOpacity(0);
            tile->setGraphicsEffect(invisible);
        }
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
    for (const auto& [id, tile] : tiles_) {
        QRectF icon(0, 0, tileIconSide, tileIconSide);
        icon.moveCenter(QRectF(tile->rect()).center());
        frames.emplace(id, icon.translated(tile->mapTo(root, QPoint())));
    }
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
