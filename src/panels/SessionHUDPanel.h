#pragma once

#include "panels/InSessionPanel.h"

namespace vesk {

// The panel that hosts the HUD; it never takes the keyboard and stays open on clicks outside it.
class SessionHUDPanel final : public InSessionPanel {
    Q_OBJECT
public:
    explicit SessionHUDPanel(const PanelEnvironment& environment);

    // Shows `view` at the top of the panel, which grows where the view needs more than 234 points.
    void show(QWidget* view) { showContent(view); }

    static constexpr Size size{320, 234};
    // 2 above the shielding level, read once.
    static int windowLevel();
};

} // namespace vesk
