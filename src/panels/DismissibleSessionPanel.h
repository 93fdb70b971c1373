#pragma once

#include "panels/InSessionPanel.h"

#include <functional>

namespace vesk {

// An in-session panel the user can close with Escape or a click outside it.
// It never closes itself: it calls the close callback its owner gave it,
// and the owner clears the callback, orders the panel out and drops it.
class DismissibleSessionPanel : public InSessionPanel {
    Q_OBJECT
public:
    DismissibleSessionPanel(Kind kind, const PanelEnvironment& environment);

    // Stores `onDismiss` (replacing an earlier one) and shows the view.
    void show(QWidget* view, std::function<void()> onDismiss);
    void clearOnDismiss() { onDismiss_ = nullptr; }
    bool hasOnDismiss() const { return bool(onDismiss_); }
    // A click (bottom-left global point) outside the visible panel calls the
    // close callback; a click on its right or top edge is outside.
    void dismissIfClickOutside(Point cocoaPoint);
    // Escape: the panel's own while it has the keyboard, else the one the
    // controller sees going to another application.
    void cancelOperation() override;

protected:
    // The text after " shown — level=…, frame=…" in the show log line.
    virtual QString shownLogSuffix() const { return QString(); }

private:
    void dismissByUser(const QString& reason);

    std::function<void()> onDismiss_;
};

} // namespace vesk
