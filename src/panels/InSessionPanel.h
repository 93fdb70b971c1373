#pragma once

#include "logging/VeskLogger.h"
#include "overlay/PanelWindow.h"
#include "panels/PanelEnvironment.h"

namespace vesk {

// One of the floating windows of a running session (HUD, quick access,
// app-launch prompt, bug report): a panel of fixed size that never activates
// Vesk, created for one showing, placed when its content is set, ordered out
// by its owner and then dropped.
class InSessionPanel : public PanelWindow {
    Q_OBJECT
public:
    enum class Placement {
        // The main screen's visible frame, top-right corner, 20-point margins.
        topRightOfMainScreen,
        // The middle of the main screen's visible frame.
        centredOnMainScreen,
        // Top-left corner at the pointer, kept inside the visible frame.
        atPointer,
    };

    struct Kind {
        // The class name its logger writes under.
        QString className;
        // The start of the "… shown — level=" line.
        QString shownName;
        Size size;
        int level = 0;
        bool canBecomeKey = false;
        bool movableByWindowBackground = false;
        Placement placement = Placement::atPointer;
        // The view keeps the height it sets itself, at the top of the panel;
        // the panel grows where the view needs more. Otherwise the view fills the panel.
        bool viewSetsItsHeight = false;
        // Room around the panel for the shadow it draws (see PanelWindow).
        QMargins shadowMargins = {};
    };

    InSessionPanel(Kind kind, const PanelEnvironment& environment);

    const VeskLogger& logger() const { return logger_; }
    const Kind& kind() const { return kind_; }

protected:
    // Hosts `view` at the panel's size, places the panel, orders it front
    // (key panels take the keyboard) and logs the level and frame, followed
    // by `logSuffix`.
    void showContent(QWidget* view, const QString& logSuffix = QString());

private:
    std::optional<Point> placedOrigin() const;

    Kind kind_;
    const PanelEnvironment& environment_;
    VeskLogger logger_;
};

} // namespace vesk
