#pragma once

#include "core/MainQueueTimer.h"
#include "enforcement/InstalledApp.h"
#include "ui/AnimatedValue.h"
#include "ui/Localizer.h"
#include "ui/VeskTheme.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace vesk {

class Clock;
class ReducedMotion;
class Scheduler;

// One selected application in the setup card's grid: its icon over its name.
// While the pointer rests on the tile the icon swings between -1.2 and +1.2
// degrees (0.12 s each way, ease in and out) and a remove button shows at
// its top-right corner; leaving returns the icon upright in 0.12 s (ease
// out). The tile reports where its 44 × 44 icon lies in the setup root's
// coordinates for the start animation; the swing does not move that frame.
class SelectedAppTile final : public QWidget {
    Q_OBJECT

public:
    static constexpr double iconSide = 44;
    static constexpr double iconCornerRadius = 10;
    static constexpr double areaWidth = 56;
    static constexpr double areaHeight = 50;
    static constexpr double jiggleDegrees = 1.2;
    static constexpr double halfSwingSeconds = 0.12;
    static constexpr double hoverSeconds = 0.12;
    static constexpr double removeButtonSide = 14;
    // The remove button stands 6 points right of and above the icon's
    // top-right corner; the tile keeps room for the part above its icon area.
    static constexpr double removeButtonOffset = 6;
    static constexpr double topOverhang = 3;

    SelectedAppTile(InstalledApp app, Scheduler& scheduler, const Clock& clock, const ReducedMotion& reducedMotion,
                    std::function<void()> onRemove, const Localizer& localizer = Localizer(),
                    QWidget* parent = nullptr);

    const InstalledApp& app() const { return app_; }

    // Drawn fully transparent while the start animation draws the icons
    // itself; the tile keeps its place and its reported frame.
    void setHiddenForSuction(bool hidden);
    bool isHiddenForSuction() const { return isHiddenForSuction_; }

    // The widget whose coordinates the icon frame is reported in (the setup
    // root); the tile's own while none is set.
    void setCoordinateRoot(const QWidget* root);
    // The 44 × 44 icon, unrotated, in the root's coordinates.
    QRectF iconFrame() const;

    // The remove button calls the remove handler just after the click, on the
    // main queue, so that the host may destroy the tile in it.

    // The pointer entered (true) or left (false) the tile.
    void handleHover(bool inside);
    bool isHovered() const { return isHovered_; }

    // The icon's rotation in degrees at `now`.
    double iconAngleAt(const QDateTime& now) const;
    // The swing `seconds` after the pointer entered: from -1.2 to +1.2 degrees
    // and back, 0.12 s each way, forever.
    static double swingAngle(double seconds);
    // The remove button in tile coordinates, at full size.
    QRectF removeButtonRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The icon frame moved in the root's coordinates (the tile moved, was
    // resized or shown).
    void iconFrameChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRectF iconRect() const;
    double nameHeight() const;
    void paintIcon(QPainter& painter, const QDateTime& now) const;
    void paintRemoveButton(QPainter& painter, double progress) const;
    void frameTick();

    InstalledApp app_;
    Scheduler& scheduler_;
    const Clock& clock_;
    const ReducedMotion& reducedMotion_;
    std::function<void()> onRemove_;
    QString removeTooltip_;
    VeskTheme theme_ = VeskTheme::shared();
    QPointer<const QWidget> root_;
    bool isHiddenForSuction_ = false;
    bool isHovered_ = false;
    QDateTime hoverStartedAt_;
    // The angle the icon returns to 0 from after the pointer left.
    AnimatedValue settlingAngle_;
    // The remove button's presence: 0 absent, 1 shown (scale 0.6 → 1, faded in).
    AnimatedValue buttonPresence_;
    MainQueueTimer frames_;
};

} // namespace vesk
