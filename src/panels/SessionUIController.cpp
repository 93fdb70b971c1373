#include "panels/SessionUIController.h"

#include "core/TextFormat.h"
#include "panels/SessionControlling.h"
#include "platform/VirtualKeyCodes.h"

#include <QApplication>
#include <QWindow>

namespace vesk {

namespace {

// A held panel that is on screen contributes its frame.
template <typename Panel>
void appendVisibleFrame(const Panel* panel, std::vector<Rect>& rects)
{
    if (panel && panel->isVisible())
        rects.push_back(panel->frame());
}

// Closing the quick-access panel by hand lets every allowed application be
// brought back; no window was lost.
void requestQuickAccessRecovery(SessionControlling& session)
{
    session.scheduleAllowedAppsRecovery(QStringLiteral("quickAccessPanelClosed"), std::nullopt, false);
}

} // namespace

SessionUIController::SessionUIController(Environment environment, std::shared_ptr<SessionPanelContentProviding> content)
    : environment_(std::move(environment))
    , content_(std::move(content))
    , self_(std::make_shared<SessionUIController*>(this))
{
}

// The panels still held go with the controller, not on a later turn of the
// event loop: they stand on its environment and the desktop behind it, which
// may be gone by then. Nothing of a panel is running here, as the panels'
// own callbacks reach the controller only weakly.
SessionUIController::~SessionUIController()
{
    stopWatchingEscapeElsewhere();
    delete hudPanel_.release();
    delete quickAccessPanel_.release();
    delete bugReportPanel_.release();
    delete appLaunchPromptPanel_.release();
}

void SessionUIController::publishVeskControlRects()
{
    std::vector<Rect> rects;
    appendVisibleFrame(hudPanel_.get(), rects);
    appendVisibleFrame(quickAccessPanel_.get(), rects);
    appendVisibleFrame(bugReportPanel_.get(), rects);
    appendVisibleFrame(appLaunchPromptPanel_.get(), rects);
    if (stageVeskPanel_) {
        const std::vector<Rect> stageRects = stageVeskPanel_->controlRects();
        rects.insert(rects.end(), stageRects.begin(), stageRects.end());
    }
    if (veskControlRectsChangedHandler_)
        veskControlRectsChangedHandler_(rects);
    std::vector<QRectF> texts;
    for (const Rect& rect : rects)
        texts.push_back(toQRectF(rect));
    logger_.log(VeskLogLevel::debug, QStringLiteral("Vesk control rects published — count=")
                                         + QString::number(rects.size()) + QStringLiteral(", rects=")
                                         + rectListText(texts));
}

void SessionUIController::setVeskControlRectsChangedHandler(ControlRectsHandler handler)
{
    veskControlRectsChangedHandler_ = std::move(handler);
    publishVeskControlRects();
}

void SessionUIController::showHUD(SessionControlling& session)
{
    if (stageVeskPanel_) {
        logger_.log(VeskLogLevel::info, QStringLiteral("HUD panel skipped because StageVesk panel is active"));
        return;
    }
    dismissHUD();
    hudPanel_.reset(new SessionHUDPanel(environment_.panels));
    hudPanel_->show(content_->makeHUDView(session));
    publishVeskControlRects();
    logger_.log(VeskLogLevel::info, QStringLiteral("HUD panel shown"));
}

void SessionUIController::dismissHUD()
{
    if (hudPanel_) {
        hudPanel_->orderOutAndUnlist();
        hudPanel_->logger().log(VeskLogLevel::info, QStringLiteral("Session HUD dismissed"));
    }
    hudPanel_.reset();
    publishVeskControlRects();
    logger_.log(VeskLogLevel::info, QStringLiteral("HUD panel dismissed"));
}

void SessionUIController::showStageVeskPanel(SessionControlling& session, StageVeskControlling& stage)
{
    dismissStageVeskPanel();
    std::unique_ptr<StageVeskPanelManaging> bars = content_->makeStageVeskPanel();
    bars->setControlRectsChangedHandler([weakSelf = std::weak_ptr<SessionUIController*>(self_)] {
        if (const auto self = weakSelf.lock())
            (*self)->publishVeskControlRects();
    });
    if (environment_.panels.screens.mainScreen()) {
        bars->dismiss();
        bars->show(session, stage);
    }
    stageVeskPanel_ = std::move(bars);
    publishVeskControlRects();
    logger_.log(VeskLogLevel::info, QStringLiteral("StageVesk panel shown"));
}

void SessionUIController::dismissStageVeskPanel()
{
    if (stageVeskPanel_)
        stageVeskPanel_->dismiss();
    stageVeskPanel_.reset();
    publishVeskControlRects();
    logger_.log(VeskLogLevel::info, QStringLiteral("StageVesk panel dismissed"));
}

void SessionUIController::showAppLaunchPrompt(SessionControlling& session)
{
    if (!session.pendingAppLaunchPrompt()) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("showAppLaunchPrompt called without a pending prompt"));
        return;
    }
    const AppLaunchPrompt prompt = *session.pendingAppLaunchPrompt();
    dismissAppLaunchPrompt();
    appLaunchPromptPanel_.reset(new AppLaunchPromptPanel(environment_.panels));
    appLaunchPromptPanel_->show(content_->makeAppLaunchPromptView(session, prompt));
    publishVeskControlRects();
    logger_.log(VeskLogLevel::info, QStringLiteral("App-launch prompt panel shown — bundleID=") + prompt.bundleID);
}

void SessionUIController::dismissAppLaunchPrompt()
{
    if (!appLaunchPromptPanel_)
        return;
    appLaunchPromptPanel_->orderOutAndUnlist();
    appLaunchPromptPanel_->logger().log(VeskLogLevel::info, QStringLiteral("App-launch prompt dismissed"));
    appLaunchPromptPanel_.reset();
    publishVeskControlRects();
    logger_.log(VeskLogLevel::info, QStringLiteral("App-launch prompt panel dismissed"));
}

void SessionUIController::toggleQuickAccessPanel(SessionControlling& session)
{
    if (quickAccessPanel_) {
        dismissQuickAccessPanel();
        requestQuickAccessRecovery(session);
        return;
    }
    quickAccessPanel_.reset(new QuickAccessPanel(environment_.panels));
    // The recovery follows the close even when the controller is gone.
    QPointer<SessionControlling> weakSession(&session);
    std::function<void()> onClose = [weakSelf = std::weak_ptr<SessionUIController*>(self_), weakSession] {
        if (const auto self = weakSelf.lock())
            (*self)->dismissQuickAccessPanel();
        if (weakSession)
            requestQuickAccessRecovery(*weakSession);
    };
    quickAccessPanel_->show(content_->makeQuickAccessView(session, onClose), onClose);
    watchEscapeElsewhereWhileQuickAccessIsOpen();
    publishVeskControlRects();
    logger_.log(VeskLogLevel::info, QStringLiteral("Quick access panel shown"));
}

// Adding or restoring an application from the panel brings that application to
// the front, and the keyboard goes with it: the panel is no longer key. While
// the panel is open, an Escape that goes to another application closes it
// all the same, as the user means it for the panel in front.
void SessionUIController::watchEscapeElsewhereWhileQuickAccessIsOpen()
{
    if (!environment_.eventTaps || escapeElsewhereMonitor_)
        return;
    escapeElsewhereMonitor_ = environment_.eventTaps->addGlobalMonitor(
        platform::eventMaskBit(platform::EventType::keyDown),
        [weakSelf = std::weak_ptr<SessionUIController*>(self_)](const platform::InputEvent& event) {
            const auto self = weakSelf.lock();
            if (!self || event.keyCode() != platform::KeyCode::escape || !(*self)->quickAccessPanel_
                || !(*self)->quickAccessPanel_->isVisible())
                return;
            (*self)->quickAccessPanel_->cancelOperation();
        });
}

void SessionUIController::stopWatchingEscapeElsewhere()
{
    if (environment_.eventTaps && escapeElsewhereMonitor_)
        environment_.eventTaps->removeMonitor(*escapeElsewhereMonitor_);
    escapeElsewhereMonitor_.reset();
}

void SessionUIController::dismissQuickAccessPanel()
{
    stopWatchingEscapeElsewhere();
    if (quickAccessPanel_) {
        quickAccessPanel_->clearOnDismiss();
        quickAccessPanel_->orderOutAndUnlist();
        quickAccessPanel_->logger().log(VeskLogLevel::info, QStringLiteral("Quick access panel dismissed"));
    }
    quickAccessPanel_.reset();
    publishVeskControlRects();
    logger_.log(VeskLogLevel::info, QStringLiteral("Quick access panel dismissed"));
}

void SessionUIController::toggleBugReportPanel()
{
    if (bugReportPanel_) {
        closeBugReportPanel();
        return;
    }
    bugReportPanel_.reset(new BugReportPanel(environment_.panels));
    std::function<void()> onClose = [weakSelf = std::weak_ptr<SessionUIController*>(self_)] {
        if (const auto self = weakSelf.lock())
            (*self)->dismissBugReportPanel();
    };
    bugReportPanel_->show(content_->makeBugReportView(onClose), onClose);
    publishVeskControlRects();
    logger_.log(VeskLogLevel::info, QStringLiteral("Bug report panel shown"));
}

void SessionUIController::dismissBugReportPanel()
{
    if (bugReportPanel_)
        closeBugReportPanel();
}

void SessionUIController::closeBugReportPanel()
{
    bugReportPanel_->clearOnDismiss();
    bugReportPanel_->orderOutAndUnlist();
    bugReportPanel_->logger().log(VeskLogLevel::info, QStringLiteral("Bug report panel dismissed"));
    bugReportPanel_.reset();
    publishVeskControlRects();
    logger_.log(VeskLogLevel::info, QStringLiteral("Bug report panel dismissed"));
}

void SessionUIController::handleGlobalClick(Point cocoaPoint)
{
    if (quickAccessPanel_)
        quickAccessPanel_->dismissIfClickOutside(cocoaPoint);
    if (bugReportPanel_)
        bugReportPanel_->dismissIfClickOutside(cocoaPoint);
    if (stageVeskPanel_)
        stageVeskPanel_->dismissSettingsIfClickOutside(cocoaPoint);
}

// The registered main window; else, as the platform finds it, the first of
// our windows that is not a panel. The registration comes first because the
// settings and about windows are not panels either.
QWidget* SessionUIController::mainWindow() const
{
    if (mainWindow_)
        return mainWindow_;
    const QWidgetList widgets = QApplication::topLevelWidgets();
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        if (window->type() != Qt::Window && window->type() != Qt::Dialog)
            continue;
        for (QWidget* widget : widgets) {
            if (widget->windowHandle() == window)
                return widget;
        }
    }
    return nullptr;
}

void SessionUIController::hideMainWindow()
{
    QWidget* window = mainWindow();
    if (!window)
        return;
    window->hide();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Main window hidden"));
}

void SessionUIController::showMainWindow()
{
    QWidget* window = mainWindow();
    if (!window)
        return;
    if (environment_.activateApplication)
        environment_.activateApplication();
    // A window the user minimised before the session comes back too.
    if (window->isMinimized())
        window->showNormal();
    else
        window->show();
    window->activateWindow();
    window->raise();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Main window shown"));
}

} // namespace vesk
