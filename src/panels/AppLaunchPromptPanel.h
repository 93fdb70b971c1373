#pragma once

#include "panels/InSessionPanel.h"

namespace vesk {

// The panel that hosts the question whether a launched application joins the session; it never takes the keyboard,
// cannot be dragged and stays open on clicks outside it.
class AppLaunchPromptPanel final : public InSessionPanel {
    Q_OBJECT
public:
    explicit AppLaunchPromptPanel(const PanelEnvironment& environment);

    // Shows `view` framed at the panel's size.
    void show(QWidget* view) { showContent(view); }

    static constexpr Size size{320, 132};
    // 3 above the shielding level, read once.
    static int windowLevel();
};

} // namespace vesk
