#pragma once

#include "panels/QuickAccessAppDisplay.h"
#include "ui/AnimatedValue.h"
#include "ui/Localizer.h"

#include <QColor>
#include <QWidget>

#include <functional>

namespace vesk {

class Clock;
class Scheduler;

// One application in the quick-access panel's grid: its icon with a dot for
// where its windows are, and its name. A click anywhere on the cell brings
// an application back unless it is visible. While the pointer is over a tile
// that may be removed, a small remove button fades and scales in (0.12 s).
class QuickAccessAppTile final : public QWidget {
    Q_OBJECT

public:
    struct Actions {
        std::function<void()> onRestore;
        std::function<void()> onRemove;
    };

    QuickAccessAppTile(QuickAccessAppDisplay app, bool canRemove, Actions actions, Scheduler& scheduler,
                       const Clock& clock, const Localizer& localizer, QWidget* parent = nullptr);

    const QuickAccessAppDisplay& app() const { return app_; }
    bool canRemove() const { return canRemove_; }
    bool isHovered() const { return hovered_; }
    // The remove button, in the tile's coordinates; it takes clicks only while shown.
    QRectF removeButtonRect() const;
    bool isRemoveButtonShown() const { return canRemove_ && hovered_; }

    static QColor dotColor(AllowedAppVisibility visibility);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void setHovered(bool hovered);
    QRectF iconAreaRect() const;

    QuickAccessAppDisplay app_;
    bool canRemove_;
    Actions actions_;
    Scheduler& scheduler_;
    const Clock& clock_;
    QString tooltip_;
    QString removeTooltip_;
    bool hovered_ = false;
    // 0 hidden, 1 shown.
    AnimatedValue removeButton_;
};

} // namespace vesk
