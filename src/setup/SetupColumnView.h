#pragma once

#include "ui/Localizer.h"

#include <QRectF>
#include <QString>
#include <QWidget>

#include <map>

class QGridLayout;
class QStackedWidget;

namespace vesk {

class AppSearchDropdown;
class Clock;
class OpacityOffsetBlurEffect;
class ReducedMotion;
class Scheduler;
class SelectedAppTile;
class SessionSetupModel;
class SessionSummaryLine;
class SetupHeaderView;
class SetupVersionButton;
class StartControl;
class TextLabel;

// The setup content: one 360-point column of the header, the version row and
// the setup card (the permission banner while a permission is missing, the
// application search, the selected applications or the hint, and the start
// section with "ENTER VESK" and the summary line). While the start animation
// runs the column takes no input, and the banner, search and selection rows
// fade out, rise by 90 points and blur as the animator's chrome progress
// grows.
class SetupColumnView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int width = 360;
    static constexpr int gridColumns = 5;

    SetupColumnView(SessionSetupModel& model, Scheduler& scheduler, const Clock& clock,
                    const ReducedMotion& reducedMotion, const Localizer& localizer, QWidget* parent = nullptr);

    SetupHeaderView* header() const { return header_; }
    SetupVersionButton* versionButton() const { return versionButton_; }
    StartControl* startControl() const { return startControl_; }
    AppSearchDropdown* search() const { return search_; }
    SessionSummaryLine* summaryLine() const { return summaryLine_; }
    // The fade of the banner, search and selection rows.
    const OpacityOffsetBlurEffect& chromeFade() const { return *chromeFade_; }
    // The icon frames of the selected tiles shown, in `root`'s coordinates.
    std::map<QString, QRectF> tileIconFrames(const QWidget* root) const;
    // The height the permission banner's row takes; 0 while it is hidden.
    int bannerRowHeight() const;
    // What the selection area shows now.
    enum class SelectionForm { grid, hint, searching };
    SelectionForm selectionForm() const;

    // Follows the model and the animator at the clock's now.
    void refresh();
    // While a card or panel of the window lies over the column (the
    // reflection card, the update panel) the column takes no input, so its
    // search list and its keyboard focus stay under that card.
    void setCovered(bool covered);
    // Follows the animator's chrome progress at the clock's now.
    void applyAnimationFrame();

signals:
    // The tiles were laid out anew, or one of them moved.
    void tilesChanged();

private:
    QWidget* makeChromeRows(const Localizer& localizer);
    QWidget* makeStartSection(const Localizer& localizer);
    void rebuildTiles();

    SessionSetupModel& model_;
    Scheduler& scheduler_;
    const Clock& clock_;
    const ReducedMotion& reducedMotion_;
    Localizer localizer_;
    SetupHeaderView* header_ = nullptr;
    bool covered_ = false;
    SetupVersionButton* versionButton_ = nullptr;
    QWidget* chromeRows_ = nullptr;
    OpacityOffsetBlurEffect* chromeFade_ = nullptr;
    QWidget* bannerRow_ = nullptr;
    AppSearchDropdown* search_ = nullptr;
    QStackedWidget* selectionArea_ = nullptr;
    QWidget* grid_ = nullptr;
    QGridLayout* gridLayout_ = nullptr;
    std::map<QString, SelectedAppTile*> tiles_;
    TextLabel* hint_ = nullptr;
    StartControl* startControl_ = nullptr;
    SessionSummaryLine* summaryLine_ = nullptr;
};

} // namespace vesk
