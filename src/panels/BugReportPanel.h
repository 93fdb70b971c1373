#pragma once

#include "panels/DismissibleSessionPanel.h"

namespace vesk {

// The panel that hosts the bug-report form during a session, its corners rounded. The form keeps the height of its
// content at the top of the panel (clear below it). It opens at the pointer, takes the keyboard, can be dragged by its
// background, and closes on Escape or a click outside it.
class BugReportPanel final : public DismissibleSessionPanel {
    Q_OBJECT
public:
    explicit BugReportPanel(const PanelEnvironment& environment);

    static constexpr Size size{460, 520};
    // Three above the shielding level, read once.
    static int windowLevel();
};

} // namespace vesk
