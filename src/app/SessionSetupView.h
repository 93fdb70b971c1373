#pragma once

#include "app/SheetDialog.h"
#include "core/MainQueueTimer.h"
#include "feedback/BugReportFormModel.h"
#include "setup/MetaPopoverWindow.h"
#include "setup/SessionSetupServices.h"
#include "ui/Localizer.h"

#include <QDialog>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

namespace vesk {

class ActiveSessionView;
class AnalyticsNoticeCard;
class GalaxyBackdropView;
class SessionManager;
class SessionReflectionHost;
class SessionSetupModel;
class SetupColumnView;
class SoftwareUpdateOverlay;
class SoftwareUpdateService;
class StartSymbolLayer;
class WormveskFlyerOverlay;

// The main window's content. While no session runs it is the setup screen:
// the galaxy backdrop on the window gradient, the 360-point setup column
// (taking no input while the start animation runs, dimmed and blurred while a
// reflection is pending), the start symbol's window-wide layer, the flyers of
// the start animation, the first-run analytics notice at the bottom, and the
// hosts of the reflection card, the update panel (over a black veil whose tap
// dismisses the update flow) and the history and bug-report sheets. While a
// session runs it shows the active-session view instead.
//
// It owns the setup model and tells it when the setup content appears and
// disappears, and reports the tiles' icon frames and the symbol's centre in
// its own coordinates for the flyers.
class SessionSetupView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int starCount = 140;
    static constexpr double backdropTopInset = 28;
    static constexpr double reflectionDimOpacity = 0.32;
    static constexpr double reflectionDimBlurRadius = 1.5;

    // `updates`: the update service whose phase the version row shows and
    // whose panel the root hosts; none in a build without one.
    SessionSetupView(const SessionSetupServices& services, SessionManager& manager, SoftwareUpdateService* updates,
                     const BugReportFormModel::Environment& bugReports, const Localizer& localizer,
                     QWidget* parent = nullptr);
    ~SessionSetupView() override;

    SessionSetupModel& model() const { return *model_; }
    SetupColumnView* column() const { return column_; }
    StartSymbolLayer* symbolLayer() const { return symbolLayer_; }
    ActiveSessionView* activeSessionView() const { return activeSessionView_; }
    AnalyticsNoticeCard* analyticsNotice() const { return analyticsNotice_; }
    QWidget* reflectionHost() const { return reflectionHost_; }
    // Lays the reflection card over the screen while a reflection is pending.
    SessionReflectionHost& reflectionCards() const { return *reflectionCards_; }
    // The update panel over its dimming; none in a build without updates.
    SoftwareUpdateOverlay* updateOverlay() const { return updateOverlay_; }
    QDialog* historySheet() const { return historySheet_; }
    // How the history and bug-report sheets are listed in the desktop's
    // window list; unlisted without it.
    void setSheetListing(SheetDialog::ListWindow listWindow) { listSheet_ = std::move(listWindow); }
    // How the meta popover is listed while it is open; unlisted without it.
    void setPopoverListing(MetaPopoverWindow::ListWindow listWindow);
    QDialog* bugReportSheet() const { return bugReportSheet_; }
    // Whether the setup content (not the active-session view) is on screen.
    bool isSetupContentShown() const { return setupContentShown_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildSetupRoot(const Localizer& localizer);
    void buildUpdateHost();
    void layOutLayers();
    void refresh();
    void refreshContent();
    void refreshLayers();
    void refreshSheets();
    void refreshReflection();
    void refreshCover();
    void refreshUpdate();
    void stackTopLayers();
    void scheduleLayoutReport();
    void reportLayout();
    void applyAnimationFrame();
    void fitWindowToContent();

    SessionSetupServices services_;
    SessionManager& manager_;
    SoftwareUpdateService* updates_;
    BugReportFormModel::Environment bugReports_;
    Localizer localizer_;
    std::unique_ptr<SessionSetupModel> model_;

    QWidget* setupRoot_ = nullptr;
    GalaxyBackdropView* backdrop_ = nullptr;
    SetupColumnView* column_ = nullptr;
    StartSymbolLayer* symbolLayer_ = nullptr;
    WormveskFlyerOverlay* flyers_ = nullptr;
    AnalyticsNoticeCard* analyticsNotice_ = nullptr;
    QWidget* reflectionHost_ = nullptr;
    std::unique_ptr<SessionReflectionHost> reflectionCards_;
    SoftwareUpdateOverlay* updateOverlay_ = nullptr;
    ActiveSessionView* activeSessionView_ = nullptr;
    QPointer<QDialog> historySheet_;
    SheetDialog::ListWindow listSheet_;
    QPointer<QDialog> bugReportSheet_;

    bool setupContentShown_ = false;
    bool activeSessionShown_ = false;
    bool layoutReportPending_ = false;
    std::optional<bool> bannerShown_;
    // Repaints the animated layers while the start animation runs.
    MainQueueTimer animationFrames_;
};

} // namespace vesk
