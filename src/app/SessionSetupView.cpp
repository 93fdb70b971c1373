#include "app/SessionSetupView.h"

#include "app/ActiveSessionView.h"
#include "app/MainWindow.h"
#include "app/SheetDialog.h"
#include "core/Clock.h"
#include "feedback/BugReportView.h"
#include "screens/SessionHistoryView.h"
#include "screens/SessionReflectionHost.h"
#include "session/SessionManager.h"
#include "settings/VeskDefaultsStore.h"
#include "setup/AnalyticsNoticeCard.h"
#include "setup/SessionSetupModel.h"
#include "setup/SessionSummaryLine.h"
#include "setup/SetupColumnView.h"
#include "setup/SetupVersionButton.h"
#include "setup/StartSymbolLayer.h"
#include "setup/WormveskFlyerOverlay.h"
#include "ui/GalaxyBackdropView.h"
#include "ui/OpacityOffsetBlurEffect.h"
#include "ui/WormveskSymbol.h"
#include "update/SoftwareUpdateOverlay.h"
#include "update/SoftwareUpdateService.h"
#include "update/SoftwareUpdateViewModel.h"
#include "update/VeskUpdaterDriver.h"

#include <QDialog>
#include <QPainter>
#include <QVBoxLayout>

namespace vesk {

SessionSetupView::SessionSetupView(const SessionSetupServices& services, SessionManager& manager,
                                   SoftwareUpdateService* updates, const BugReportFormModel::Environment& bugReports,
                                   const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , services_(services)
    , manager_(manager)
    , updates_(updates)
    , bugReports_(bugReports)
    , localizer_(localizer)
    , model_(std::make_unique<SessionSetupModel>(services))
    , animationFrames_(services.scheduler, WormveskSymbol::frameInterval, [this] { applyAnimationFrame(); })
{
    setObjectName(QStringLiteral("SessionSetupRoot"));
    buildSetupRoot(localizer);
    activeSessionView_ = new ActiveSessionView(manager_, services_.clock, services_.scheduler, localizer_, this);

    connect(model_.get(), &SessionSetupModel::changed, this, &SessionSetupView::refresh);
    connect(&manager_, &SessionManager::isSessionActiveChanged, this, &SessionSetupView::refreshContent);
    connect(&manager_, &SessionManager::pendingReflectionChanged, this, &SessionSetupView::refresh);
    connect(&services_.settings, &VeskDefaultsStore::analyticsNoticeShownChanged, this,
            &SessionSetupView::refreshLayers);
    connect(&services_.settings, &VeskDefaultsStore::wormveskStyleChanged, this, &SessionSetupView::refreshLayers);
    connect(column_, &SetupColumnView::tilesChanged, this, &SessionSetupView::scheduleLayoutReport);
    refreshContent();
    refresh();
}

SessionSetupView::~SessionSetupView()
{
    // The sheets are windows of their own; they go with the screen. The
    // views go before the model they read.
    delete historySheet_;
    delete bugReportSheet_;
    reflectionCards_.reset();
    delete setupRoot_;
    delete activeSessionView_;
}

void SessionSetupView::buildSetupRoot(const Localizer& localizer)
{
    const Clock& clock = services_.clock;
    setupRoot_ = new QWidget(this);
    backdrop_ = new GalaxyBackdropView(clock, services_.scheduler, services_.reducedMotion, model_->currentStyle(),
                                       starCount, backdropTopInset, setupRoot_);
    column_ = new SetupColumnView(*model_, services_.scheduler, clock, services_.reducedMotion, localizer, setupRoot_);
    column_->setGraphicsEffect(new OpacityOffsetBlurEffect(column_));
    symbolLayer_ = new StartSymbolLayer(*model_, clock, services_.scheduler, services_.reducedMotion, setupRoot_);
    symbolLayer_->setControl(column_->startControl());
    flyers_ = new WormveskFlyerOverlay(model_->animator(), clock, setupRoot_);
    flyers_->setAttribute(Qt::WA_TransparentForMouseEvents);

    // Hosts of the views other parts of Vesk draw.
    reflectionHost_ = new QWidget(setupRoot_);
    reflectionCards_ = std::make_unique<SessionReflectionHost>(*reflectionHost_, manager_,
                                                               SessionReflectionView::Motion{clock, services_.scheduler,
                                                                                             services_.reducedMotion},
                                                               localizer);
    connect(reflectionCards_.get(), &SessionReflectionHost::cardsChanged, this, &SessionSetupView::refreshReflection);
    analyticsNotice_ = new AnalyticsNoticeCard(*model_, localizer, setupRoot_);
    buildUpdateHost();
}

void SessionSetupView::buildUpdateHost()
{
    if (!updates_)
        return;
    updateOverlay_ = new SoftwareUpdateOverlay(
        *updates_, [settings = &services_.settings] { return settings->autoCheckForUpdates(); },
        SoftwareUpdateView::Environment{services_.clock, services_.scheduler, services_.reducedMotion}, *setupRoot_);
    SoftwareUpdateViewModel& viewModel = updates_->viewModel();
    connect(&viewModel, &SoftwareUpdateViewModel::phaseChanged, this, &SessionSetupView::refreshUpdate);
    connect(&viewModel, &SoftwareUpdateViewModel::isPresentedChanged, this, &SessionSetupView::refreshUpdate);
    refreshUpdate();
}

void SessionSetupView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layOutLayers();
}

void SessionSetupView::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refreshContent();
}

void SessionSetupView::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    refreshContent();
}

void SessionSetupView::layOutLayers()
{
    const QRect whole = rect();
    setupRoot_->setGeometry(whole);
    activeSessionView_->setGeometry(whole);
    for (QWidget* layer : {static_cast<QWidget*>(backdrop_), static_cast<QWidget*>(symbolLayer_),
                           static_cast<QWidget*>(flyers_), reflectionHost_})
        layer->setGeometry(whole);
    // The column is centred and reaches from the top to the bottom.
    column_->setGeometry((whole.width() - SetupColumnView::width) / 2, 0, SetupColumnView::width, whole.height());
    const int noticeHeight = analyticsNotice_->heightForWidth(whole.width()) > 0
                                 ? analyticsNotice_->heightForWidth(whole.width())
                                 : analyticsNotice_->sizeHint().height();
    analyticsNotice_->setGeometry(0, whole.height() - noticeHeight, whole.width(), noticeHeight);
    scheduleLayoutReport();
}

void SessionSetupView::refresh()
{
    if (bannerShown_ != model_->showsPermissionBanner()) {
        bannerShown_ = model_->showsPermissionBanner();
        fitWindowToContent();
    }
    refreshLayers();
    refreshSheets();
    refreshReflection();
    scheduleLayoutReport();
    if (model_->animator().phase() != WormveskAnimator::Phase::idle)
        animationFrames_.start();
    else
        animationFrames_.stop();
}

// Which content shows: the active-session view while a session runs, else
// the setup root, whose model hears when it appears and disappears.
void SessionSetupView::refreshContent()
{
    const bool active = manager_.isSessionActive();
    setupRoot_->setVisible(!active);
    activeSessionView_->setVisible(active);
    if (active && !activeSessionShown_)
        model_->handleActiveSessionShown();
    activeSessionShown_ = active;

    const bool setupShown = !active && isVisible();
    if (setupShown == setupContentShown_)
        return;
    setupContentShown_ = setupShown;
    if (setupShown)
        model_->handleAppear();
    else
        model_->handleDisappear();
}

void SessionSetupView::refreshLayers()
{
    const bool reflectionPending = manager_.pendingReflection().has_value();
    auto* dim = static_cast<OpacityOffsetBlurEffect*>(column_->graphicsEffect());
    dim->setOpacity(reflectionPending ? reflectionDimOpacity : 1.0);
    dim->setBlurRadius(reflectionPending ? reflectionDimBlurRadius : 0.0);
    symbolLayer_->setContentDimmed(reflectionPending);

    const WormveskStyle style = model_->currentStyle();
    if (backdrop_->style() != style)
        backdrop_->setStyle(style);

    FlyerScene scene;
    scene.style = style;
    for (const InstalledApp& app : model_->selectedApps())
        scene.apps.push_back({app.id, QPixmap::fromImage(app.icon)});
    scene.iconFrames = model_->iconFrames();
    scene.logoCenter = model_->logoCenter();
    flyers_->setScene(scene);
    flyers_->setVisible(model_->animator().phase() != WormveskAnimator::Phase::warping);

    analyticsNotice_->setVisible(!services_.settings.analyticsNoticeShown() && !reflectionPending);
    stackTopLayers();
}

void SessionSetupView::setPopoverListing(MetaPopoverWindow::ListWindow listWindow)
{
    column_->summaryLine()->setPopoverListing(std::move(listWindow));
}

void SessionSetupView::refreshSheets()
{
    if (model_->isBugReportPresented() && !bugReportSheet_) {
        auto* form = new BugReportView(
            BugReportFormModel::make(bugReports_), [this] { model_->setBugReportPresented(false); }, localizer_);
        bugReportSheet_ = new SheetDialog(window(), form, listSheet_);
        connect(bugReportSheet_, &QDialog::rejected, this, [this] { model_->setBugReportPresented(false); });
        bugReportSheet_->show();
    } else if (!model_->isBugReportPresented() && bugReportSheet_) {
        bugReportSheet_->close();
    }

    if (model_->isHistoryPresented() && !historySheet_) {
        auto* history = new SessionHistoryView(
            std::make_unique<SessionHistoryModel>(services_.modelContext, services_.clock),
            AppDirectory{services_.workspace, services_.files}, [this] { model_->setHistoryPresented(false); },
            localizer_);
        historySheet_ = new SheetDialog(window(), history, listSheet_);
        connect(historySheet_, &QDialog::rejected, this, [this] { model_->setHistoryPresented(false); });
        historySheet_->show();
    } else if (!model_->isHistoryPresented() && historySheet_) {
        historySheet_->close();
    }
}

// The card itself follows the pending prompt (SessionReflectionHost); its
// layer covers the screen while a card is on it, entering, shown or leaving.
void SessionSetupView::refreshReflection()
{
    refreshCover();
    if (!reflectionCards_->isShowingCard()) {
        reflectionHost_->hide();
        return;
    }
    reflectionHost_->show();
    stackTopLayers();
}

void SessionSetupView::refreshCover()
{
    const bool updatePresented = updates_ && updates_->viewModel().isPresented();
    column_->setCovered(reflectionCards_->isShowingCard() || updatePresented);
}

void SessionSetupView::refreshUpdate()
{
    refreshCover();
    column_->versionButton()->setUpdateWaiting(updates_->isUpdateWaiting());
    stackTopLayers();
}

// Over the column, lowest first: the reflection card, the analytics notice,
// and the update panel, whose dimming lies over everything else of the root.
void SessionSetupView::stackTopLayers()
{
    reflectionHost_->raise();
    analyticsNotice_->raise();
    if (updateOverlay_)
        updateOverlay_->raise();
}

// The column fits the window's default height; the permission banner makes
// the window taller by its own height while it shows.
void SessionSetupView::fitWindowToContent()
{
    const int height = MainWindow::defaultHeight + column_->bannerRowHeight();
    setMinimumHeight(height);
    // After the window has taken the new minimum, which may be lower.
    QMetaObject::invokeMethod(
        this,
        [this, height] {
            if (QWidget* top = window(); top != this)
                top->resize(top->width(), height);
        },
        Qt::QueuedConnection);
}

// The tiles and the start symbol report where they are, once the layout has
// settled after a change.
void SessionSetupView::scheduleLayoutReport()
{
    if (layoutReportPending_)
        return;
    layoutReportPending_ = true;
    QMetaObject::invokeMethod(this, &SessionSetupView::reportLayout, Qt::QueuedConnection);
}

void SessionSetupView::reportLayout()
{
    layoutReportPending_ = false;
    const std::map<QString, QRectF> frames = column_->tileIconFrames(this);
    if (frames != model_->iconFrames())
        model_->setIconFrames(frames);
    const QPointF center = symbolLayer_->symbolCenter();
    if (center != model_->logoCenter())
        model_->reportLogoCenter(center);
}

void SessionSetupView::applyAnimationFrame()
{
    column_->applyAnimationFrame();
    symbolLayer_->update();
    flyers_->update();
}

} // namespace vesk
