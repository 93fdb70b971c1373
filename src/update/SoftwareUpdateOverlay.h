#pragma once

#include "update/SoftwareUpdateView.h"

#include <QPointer>
#include <QWidget>

#include <functional>

namespace vesk {

// The update panel's host: a layer over the whole of the window it is given.
// While the update model is presented it dims the window (black at 0.45) and
// shows at its centre a panel built afresh, with the automatic-check setting
// of that moment; a click on the dimming dismisses the flow like the panel's
// close button. Hidden, it lets every click through to the window.
class SoftwareUpdateOverlay final : public QWidget {
    Q_OBJECT

public:
    SoftwareUpdateOverlay(SoftwareUpdateService& service, std::function<bool()> autoUpdatesEnabled,
                          SoftwareUpdateView::Environment environment, QWidget& window);
    ~SoftwareUpdateOverlay() override;

    // The panel while it is shown.
    SoftwareUpdateView* panel() const { return panel_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void presentationChanged();
    void placePanel();

    SoftwareUpdateService& service_;
    std::function<bool()> autoUpdatesEnabled_;
    SoftwareUpdateView::Environment environment_;
    QPointer<SoftwareUpdateView> panel_;
};

} // namespace vesk
