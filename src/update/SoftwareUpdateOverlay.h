#pragma once

#include "core/MainQueueTimer.h"
#include "ui/AnimatedValue.h"
#include "update/SoftwareUpdateView.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>

namespace vesk {

// The update panel's host: a layer over the whole of the window it is given.
// While the update model is presented it dims the window (black at 0.45) and
// shows at its centre a panel built afresh, with the automatic-check setting
// of that moment; a click on the dimming dismisses the flow like the panel's
// close button. The panel enters and leaves with a fade and a scale from
// 0.96 over 0.22 s (ease out), at once under reduced motion. A window
// narrower or lower than the panel grows to hold it, and shrinks back once the
// panel has left. Hidden, the layer lets every click through to the window.
class SoftwareUpdateOverlay final : public QWidget {
    Q_OBJECT

public:
    static constexpr double transitionSeconds = 0.22;
    static constexpr double dimmingOpacity = 0.45;

    SoftwareUpdateOverlay(SoftwareUpdateService& service, std::function<bool()> autoUpdatesEnabled,
                          SoftwareUpdateView::Environment environment, QWidget& window);
    ~SoftwareUpdateOverlay() override;

    // The panel while it is shown or leaving.
    SoftwareUpdateView* panel() const { return panel_; }
    // 0 hidden, 1 fully shown, between them entering or leaving.
    double presence() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void presentationChanged();
    void present();
    void startTransition(double to);
    void frame();
    void placePanel();
    void growWindowToHoldPanel();
    void giveBackWindowGrowth();

    SoftwareUpdateService& service_;
    std::function<bool()> autoUpdatesEnabled_;
    SoftwareUpdateView::Environment environment_;
    QPointer<SoftwareUpdateView> panel_;
    AnimatedValue presence_;
    // The panel as it looked when the transition began, drawn scaled and faded.
    QPixmap transitionImage_;
    MainQueueTimer frames_;
    // The window's size before it grew to hold the panel.
    std::optional<QSize> windowSizeBeforePanel_;
};

} // namespace vesk
