#pragma once

#include "ui/VeskTheme.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace vesk {

class MetaPopoverView;

// The transient window that shows the meta popover under the control that
// opened it, with its arrow on the top edge pointing at the control; where
// the screen has no room below, it is lifted to end above the screen's bottom
// (over the control's lower part). A click outside or Escape asks the owner
// to close it (the dismiss action); the owner closes it with dismissByOwner().
class MetaPopoverWindow final : public QWidget {
    Q_OBJECT

public:
    // Lists a window in the desktop's window list while it lives, so that a
    // screen capture shows it; none where nothing is listed.
    using ListWindow = std::function<std::unique_ptr<QObject>(QWidget& window)>;

    static constexpr double arrowHeight = 9;
    static constexpr double arrowHalfWidth = 10;
    static constexpr double cornerRadius = 10;
    // Between the popover and the edge of the screen.
    static constexpr int screenMargin = 8;

    // Takes the view; `onDismiss` runs when the window closes other than
    // through dismissByOwner().
    MetaPopoverWindow(MetaPopoverView* view, std::function<void()> onDismiss, QWidget* parent = nullptr,
                      const ListWindow& listWindow = {});
    ~MetaPopoverWindow() override;

    MetaPopoverView* view() const { return view_; }

    // Shows the popover under `anchor`, its arrow at the anchor's centre,
    // kept on the anchor's screen (also as it grows).
    void present(const QWidget& anchor);
    void dismissByOwner();

    // The arrow's tip in window coordinates.
    QPointF arrowTip() const { return {arrowX_, 0}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPainterPath outline() const;
    int keptOnScreen(int top) const;

    MetaPopoverView* view_;
    std::function<void()> onDismiss_;
    VeskTheme theme_ = VeskTheme::shared();
    double arrowX_ = 0;
    // The global y of the control's bottom edge and the screen's available area.
    int anchorBottom_ = 0;
    QRect screenArea_;
    bool screenHoldsWindow_ = false;
    bool closingByOwner_ = false;
    std::unique_ptr<QObject> listing_;
};

} // namespace vesk
