#include "panels/QuickAccessPanelView.h"

#include "core/MainQueueTimer.h"
#include "panels/QuickAccessAppTile.h"
#include "panels/SessionControlling.h"
#include "setup/AppSearchDropdown.h"
#include "setup/AppSearchResultsView.h"
#include "ui/FilledButton.h"
#include "ui/Gradient.h"
#include "ui/Shapes.h"
#include "ui/TextLabel.h"
#include "ui/VeskFont.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace vesk {

namespace {

constexpr double timelineInterval = 0.5;
constexpr int padding = 18;
constexpr int columns = 5;

TextStyle textStyle(double size, QFont::Weight weight = QFont::Normal, Qt::Alignment alignment = Qt::AlignLeft)
{
    return {.font = VeskFont::interface(size, weight), .alignment = alignment};
}

} // namespace

QuickAccessPanelView::QuickAccessPanelView(SessionControlling& session, std::function<void()> onClose,
                                           std::vector<InstalledApp> installedApps, Scheduler& scheduler,
                                           const Clock& clock, const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , session_(session)
    , onClose_(std::move(onClose))
    , installedApps_(std::move(installedApps))
    , scheduler_(scheduler)
    , clock_(clock)
    , localizer_(localizer)
    , timeline_(std::make_unique<MainQueueTimer>(scheduler, timelineInterval, [this] { refresh(); }))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(width, height);

    search_ = new AppSearchDropdown(
        {.showsTrailingPlus = false, .reservesDropdownSpace = true}, [this](const InstalledApp& app) { pick(app); },
        localizer_);
    search_->setApps(installedApps_);

    grid_ = new QWidget;
    gridLayout_ = new QGridLayout(grid_);
    gridLayout_->setContentsMargins(0, 2, 0, 0);
    gridLayout_->setHorizontalSpacing(4);
    gridLayout_->setVerticalSpacing(12);
    gridLayout_->setAlignment(Qt::AlignTop);
    for (int column = 0; column < columns; ++column)
        gridLayout_->setColumnStretch(column, 1);
    scrollArea_ = new QScrollArea;
    scrollArea_->setWidget(grid_);
    scrollArea_->setWidgetResizable(true);
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget { "
                                              "background: transparent; }"));

    empty_ = new TextLabel(localizer_.translate("QuickAccessPanelView", "Keine Apps im Vesk."),
                           textStyle(12, QFont::Normal, Qt::AlignHCenter), theme_.textMuted);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(14);
    column->addWidget(makeHeader());
    column->addWidget(search_);
    column->addWidget(scrollArea_, 1);
    column->addWidget(empty_, 1, Qt::AlignCenter);
    column->addWidget(makeFooter());
    // The open list lies over the application area.
    search_->raise();

    connect(&session_, &SessionControlling::changed, this, &QuickAccessPanelView::refresh);
    refresh();
    timeline_->start();
}

QuickAccessPanelView::~QuickAccessPanelView() = default;

QWidget* QuickAccessPanelView::makeHeader()
{
    auto* header = new QWidget;
    header->setFixedHeight(36);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    titles->setContentsMargins(0, 0, 0, 0);
    titles->addWidget(new TextLabel(localizer_.translate("QuickAccessPanelView", "Apps"),
                                    textStyle(16, QFont::DemiBold, Qt::AlignHCenter), theme_.textPrimary),
                      0, Qt::AlignHCenter);
    titles->addWidget(new TextLabel(localizer_.translate("QuickAccessPanelView", "im Vesk"),
                                    textStyle(10, QFont::Medium, Qt::AlignHCenter), theme_.textSecondary),
                      0, Qt::AlignHCenter);
    titles->addStretch();
    auto* titleBox = new QWidget(header);
    titleBox->setLayout(titles);

    FilledButton::Look closeLook = FilledButton::Look::filled(VeskFont::interface(15), theme_.textMuted);
    closeLook.symbol = Symbol::xmarkCircleFill;
    close_ = new FilledButton(QString(), closeLook, header);
    close_->setAccessibleName(localizer_.translate("QuickAccessPanelView", "Panel schliessen"));
    connect(close_, &QAbstractButton::clicked, this, [this] { onClose_(); });

    // Two layers: the centred titles over the full width, the close button on the
    // right.
    auto* layers = new QGridLayout(header);
    layers->setContentsMargins(0, 0, 0, 0);
    layers->addWidget(titleBox, 0, 0);
    layers->addWidget(close_, 0, 0, Qt::AlignRight | Qt::AlignTop);
    return header;
}

QWidget* QuickAccessPanelView::makeFooter()
{
    auto* footer = new QWidget;
    auto* row = new QHBoxLayout(footer);
    row->setContentsMargins(0, 0, 0, 0);
    count_ = new TextLabel(QString(), textStyle(11), theme_.textSecondary);
    done_ = new FilledButton(localizer_.translate("QuickAccessPanelView", "Fertig"),
                             FilledButton::Look::filled(VeskFont::interface(11, QFont::Medium), theme_.accent,
                                                        withOpacity(theme_.accent, 0.12), QMarginsF(10, 5, 10, 5)));
    connect(done_, &QAbstractButton::clicked, this, [this] { onClose_(); });
    row->addWidget(count_);
    row->addStretch();
    row->addWidget(done_);
    return footer;
}

bool QuickAccessPanelView::canRemove(const QString& bundleID) const
{
    // Applications chosen before the session never go; the session is asked only
    // about added ones.
    return session_.dynamicAllowlist().dynamicBundleIDs().contains(bundleID)
           && session_.canRemoveAppAtRuntime(bundleID);
}

void QuickAccessPanelView::pick(const InstalledApp& app)
{
    session_.addApp(app.id, app.url, session_.quickAccessTargetScreenID());
}

std::vector<QuickAccessAppTile*> QuickAccessPanelView::tiles() const
{
    // In the order they were made, which is the grid's.
    const QList<QuickAccessAppTile*> found = grid_->findChildren<QuickAccessAppTile*>(Qt::FindDirectChildrenOnly);
    return {found.begin(), found.end()};
}

void QuickAccessPanelView::refresh()
{
    const DynamicAllowlistState& allowlist = session_.dynamicAllowlist();
    std::vector<QuickAccessAppDisplay> displays =
        QuickAccessAppDisplay::list(allowlist, session_.allowedAppVisibilitySnapshots(), installedApps_);
    std::vector<bool> removable;
    for (const QuickAccessAppDisplay& display : displays)
        removable.push_back(canRemove(display.id));

    const auto sameTiles = [&] {
        if (displays.size() != displays_.size() || removable != removable_)
            return false;
        for (size_t i = 0; i < displays.size(); ++i) {
            if (displays[i].id != displays_[i].id || displays[i].name != displays_[i].name
                || displays[i].visibility != displays_[i].visibility)
                return false;
        }
        return true;
    };
    const bool tilesChanged = !sameTiles() || tiles().empty() != displays.empty();
    displays_ = std::move(displays);
    removable_ = std::move(removable);
    if (tilesChanged)
        rebuildTiles();

    search_->setSelectedIDs(allowlist.allowedBundleIDs());
    scrollArea_->setVisible(!displays_.empty());
    empty_->setVisible(displays_.empty());
    count_->setText(localizer_.translate("QuickAccessPanelView", "%n Apps im Vesk", nullptr, int(displays_.size())));
}

void QuickAccessPanelView::rebuildTiles()
{
    // A tile may be what was just clicked: let the old ones go once the event is
    // over.
    for (QuickAccessAppTile* tile : tiles()) {
        tile->hide();
        tile->setParent(nullptr);
        tile->deleteLater();
    }
    for (size_t i = 0; i < displays_.size(); ++i) {
        const QString id = displays_[i].id;
        auto* tile = new QuickAccessAppTile(displays_[i], removable_[i],
                                            {[this, id] { session_.restoreAllowedApp(id); },
                                             [this, id] { session_.removeApp(id); }},
                                            scheduler_, clock_, localizer_, grid_);
        gridLayout_->addWidget(tile, static_cast<int>(i) / columns, static_cast<int>(i) % columns, Qt::AlignTop);
    }
}

void QuickAccessPanelView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath surface = continuousRoundedRect(bounds, cornerRadius);
    painter.fillPath(surface, theme_.windowGradient.in(bounds));
    painter.strokePath(surface, strokePen(theme_.hairline, 1));
}

} // namespace vesk
