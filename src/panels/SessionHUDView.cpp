#include "panels/SessionHUDView.h"

#include "core/Clock.h"
#include "core/MainQueueTimer.h"
#include "panels/SessionControlling.h"
#include "panels/SessionHUDAppStrip.h"
#include "panels/SessionHUDExitConfirmation.h"
#include "panels/SessionHUDGoalBanner.h"
#include "panels/SystemColor.h"
#include "ui/FilledButton.h"
#include "ui/GoalTargetIcon.h"
#include "ui/Gradient.h"
#include "ui/HardcoreLockBadge.h"
#include "ui/Shapes.h"
#include "ui/TextLabel.h"
#include "ui/VeskFont.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace vesk {

namespace {

constexpr double timelineInterval = 0.5;
constexpr int heightWithoutBanner = 184;
constexpr int heightWithBanner = 216;
constexpr int heightWithExpandedBanner = 234;
// Above and below the content of a card that grew beyond its height.
constexpr int grownCardInset = 12;

TextStyle monospaced(double size, QFont::Weight weight)
{
    return {.font = VeskFont::monospaced(size, weight), .alignment = Qt::AlignHCenter};
}

// A text pill: 11 pt medium white on white, 12/4 padding, a capsule.
FilledButton::Look textPill(double textOpacity, double fillOpacity)
{
    return FilledButton::Look::filled(VeskFont::interface(11, QFont::Medium), rgb(255, 255, 255, textOpacity),
                                      rgb(255, 255, 255, fillOpacity), QMarginsF(12, 4, 12, 4));
}

FilledButton::Look goalPillLook()
{
    FilledButton::Look look =
        FilledButton::Look::filled(VeskFont::interface(11, QFont::Medium), withOpacity(GoalTargetIcon::color(), 0.9),
                                   withOpacity(GoalTargetIcon::color(), 0.12), QMarginsF(10, 4, 10, 4));
    look.leadingIconSide = 14;
    look.iconSpacing = 5;
    // The whole label is drawn in the goal colour at 0.9, the icon too.
    look.leadingIcon = [](QPainter& painter, const QRectF& box) {
        painter.save();
        painter.setOpacity(painter.opacity() * 0.9);
        GoalTargetIcon::paint(painter, box);
        painter.restore();
    };
    return look;
}

FilledButton::Look screenshotLook()
{
    FilledButton::Look look =
        FilledButton::Look::filled(VeskFont::interface(12, QFont::DemiBold), rgb(255, 255, 255, 0.85),
                                   rgb(255, 255, 255, 0.14), QMarginsF(10, 7, 10, 7));
    look.symbol = Symbol::cameraFill;
    return look;
}

} // namespace

SessionHUDView::SessionHUDView(SessionControlling& session, std::vector<InstalledApp> installedApps,
                               Scheduler& scheduler, const Clock& clock, const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , session_(session)
    , installedApps_(std::move(installedApps))
    , clock_(clock)
    , localizer_(localizer)
    , shownGoal_(session.currentGoal())
    , banner_(new SessionHUDGoalBanner([this] { expandGoalBanner(); }, [this] { closeGoalBanner(); }, localizer_))
    , time_(new TextLabel(QString(), monospaced(28, QFont::Light), rgb(255, 255, 255, 0.9)))
    , status_(new TextLabel(QString(), monospaced(10, QFont::Medium), rgb(255, 255, 255, 0.4)))
    , strip_(new SessionHUDAppStrip([this](const QString& bundleID) { session_.restoreAllowedApp(bundleID); },
                                    [this] { session_.toggleQuickAccessPanel(std::nullopt); }, localizer_))
    , confirmation_(new SessionHUDExitConfirmation({[this] { confirmExitClosingApps(); },
                                                    [this] { confirmExitLeavingApps(); }, [this] { cancelExit(); }},
                                                   localizer_))
    , timeline_(std::make_unique<MainQueueTimer>(scheduler, timelineInterval, [this] { refresh(); }))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedWidth(width);
    buttonRow_ = makeButtonRow();

    content_ = new QWidget(this);
    auto* column = new QVBoxLayout(content_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    for (QWidget* item : {static_cast<QWidget*>(banner_), static_cast<QWidget*>(time_), static_cast<QWidget*>(status_),
                          static_cast<QWidget*>(strip_), buttonRow_, static_cast<QWidget*>(confirmation_)})
        column->addWidget(item, 0, Qt::AlignHCenter);

    // The content centred in the card.
    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    frame->addStretch();
    frame->addWidget(content_);
    frame->addStretch();

    connect(&session_, &SessionControlling::changed, this, &SessionHUDView::sessionChanged);
    refresh();
    timeline_->start();
}

SessionHUDView::~SessionHUDView() = default;

QWidget* SessionHUDView::makeButtonRow()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setSpacing(8);

    goalPill_ = new FilledButton(localizer_.translate("SessionHUDView", "Ziel"), goalPillLook(), row);
    connect(goalPill_, &QAbstractButton::clicked, this, &SessionHUDView::goalPillTapped);

    appsButton_ = new FilledButton(localizer_.translate("SessionHUDView", "Apps"), textPill(0.85, 0.14), row);
    connect(appsButton_, &QAbstractButton::clicked, this, [this] { session_.toggleQuickAccessPanel(std::nullopt); });

    const QString screenshotHint = localizer_.translate("SessionHUDView", "Screenshot auf Desktop speichern");
    screenshotButton_ = new FilledButton(QString(), screenshotLook(), row);
    screenshotButton_->setToolTip(screenshotHint);
    screenshotButton_->setAccessibleName(screenshotHint);
    connect(screenshotButton_, &QAbstractButton::clicked, this, [this] { session_.requestScreenshot(clock_.now()); });

    leaveButton_ = new FilledButton(localizer_.translate("SessionHUDView", "VESK verlassen"), textPill(0.7, 0.1), row);
    connect(leaveButton_, &QAbstractButton::clicked, this, &SessionHUDView::exitButtonTapped);

    hardcoreBadge_ = new HardcoreLockBadge(localizer_, row);
    hardcoreBadge_->setColor(rgb(255, 255, 255, 0.7));
    hardcoreBadge_->setBackground(rgb(255, 255, 255, 0.1));
    hardcoreBadge_->setContentsMargins(12, 4, 12, 4);

    for (QWidget* item : {static_cast<QWidget*>(goalPill_), static_cast<QWidget*>(appsButton_),
                          static_cast<QWidget*>(screenshotButton_), static_cast<QWidget*>(leaveButton_),
                          static_cast<QWidget*>(hardcoreBadge_)})
        layout->addWidget(item, 0, Qt::AlignVCenter);
    return row;
}

int SessionHUDView::panelHeight() const
{
    if (showingExitConfirmation_ || !session_.currentGoal() || goalBannerDismissed_)
        return heightWithoutBanner;
    return goalBannerExpanded_ ? heightWithExpandedBanner : heightWithBanner;
}

SessionHUDView::Status SessionHUDView::status(const SessionControlling& session)
{
    if (session.sessionStatusFeedback() == SessionStatusFeedback::appOnOtherSpace)
        return {QT_TRANSLATE_NOOP("SessionHUDView", "App ist auf anderem Schreibtisch"),
                systemColor(SystemColor::cyan, 0.85)};
    if (session.screenshotFeedback() == SessionScreenshotFeedback::saved)
        return {QT_TRANSLATE_NOOP("SessionHUDView", "Screenshot gespeichert"), systemColor(SystemColor::green, 0.85)};
    if (session.screenshotFeedback() == SessionScreenshotFeedback::failed)
        return {QT_TRANSLATE_NOOP("SessionHUDView", "Screenshot fehlgeschlagen"), systemColor(SystemColor::red, 0.85)};
    return {QT_TRANSLATE_NOOP("SessionHUDView", "VESK aktiv"), rgb(255, 255, 255, 0.4)};
}

void SessionHUDView::sessionChanged()
{
    if (session_.currentGoal() != shownGoal_) {
        shownGoal_ = session_.currentGoal();
        goalBannerDismissed_ = false;
        goalBannerExpanded_ = false;
    }
    refresh();
}

void SessionHUDView::refresh()
{
    const std::optional<QString>& goal = session_.currentGoal();
    const bool showsBanner = goal && !goalBannerDismissed_;
    banner_->setVisible(showsBanner);
    if (showsBanner)
        banner_->setGoal(*goal, goalBannerExpanded_);

    // Open-ended sessions count from the tick's date; both are now here.
    time_->setText(session_.remainingTimeText(clock_.now()));
    const Status shown = status(session_);
    status_->setText(localizer_.translate("SessionHUDView", shown.text));
    status_->setColor(shown.color);

    strip_->setVisible(!showingExitConfirmation_);
    buttonRow_->setVisible(!showingExitConfirmation_);
    confirmation_->setVisible(showingExitConfirmation_);
    if (!showingExitConfirmation_)
        strip_->setBar(orderedHUDAppBarItems(session_.allowedAppVisibilitySnapshots(), SessionHUDAppStrip::chipLimit),
                       installedApps_);

    goalPill_->setVisible(goal && goalBannerDismissed_);
    goalPill_->setToolTip(goal.value_or(QString()));
    leaveButton_->setVisible(!session_.isHardcoreSession());
    hardcoreBadge_->setVisible(session_.isHardcoreSession());

    setFixedHeight(std::max(panelHeight(), content_->sizeHint().height() + 2 * grownCardInset));
    // Place the changed texts now, not at the next turn of the event loop.
    layout()->activate();
    content_->layout()->activate();
    update();
}

void SessionHUDView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath card = continuousRoundedRect(bounds, 12);
    painter.fillPath(card, rgb(0, 0, 0, 0.85));
    painter.strokePath(card, strokePen(rgb(255, 255, 255, 0.1), 1));
}

void SessionHUDView::expandGoalBanner()
{
    const std::optional<QString>& goal = session_.currentGoal();
    if (!goal || !SessionHUDGoalBanner::canExpand(*goal))
        return;
    goalBannerExpanded_ = true;
    logger_.log(VeskLogLevel::info, QStringLiteral("HUD goal banner expanded"));
    refresh();
}

void SessionHUDView::closeGoalBanner()
{
    if (goalBannerExpanded_) {
        logger_.log(VeskLogLevel::info, QStringLiteral("HUD goal banner collapsed"));
        goalBannerExpanded_ = false;
    } else {
        logger_.log(VeskLogLevel::info, QStringLiteral("HUD goal banner dismissed"));
        goalBannerDismissed_ = true;
    }
    refresh();
}

void SessionHUDView::goalPillTapped()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("HUD goal pill tapped — showing goal banner"));
    goalBannerDismissed_ = false;
    goalBannerExpanded_ = false;
    refresh();
}

void SessionHUDView::exitButtonTapped()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("HUD exit button tapped — showing inline confirmation"));
    session_.requestManualExitConfirmation();
    showingExitConfirmation_ = true;
    refresh();
}

void SessionHUDView::confirmExitClosingApps()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("HUD exit confirmation tapped — terminating VESK apps"));
    session_.confirmManualExit(SessionExitAppDisposition::terminateAllowedApps);
}

void SessionHUDView::confirmExitLeavingApps()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("HUD exit confirmation tapped — leaving apps open"));
    session_.confirmManualExit(SessionExitAppDisposition::leaveOpen);
}

void SessionHUDView::cancelExit()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("HUD exit confirmation canceled"));
    session_.logManualExitConfirmationCanceled();
    showingExitConfirmation_ = false;
    refresh();
}

} // namespace vesk
