#pragma once

#include "panels/DismissibleSessionPanel.h"

namespace vesk {

// The panel that hosts the quick-access view: the session's applications and a search to add more. It opens at the
// pointer, takes the keyboard, can be dragged by its background, and closes on Escape or a click outside it.
class QuickAccessPanel final : public DismissibleSessionPanel {
    Q_OBJECT
public:
    explicit QuickAccessPanel(const PanelEnvironment& environment);

    static constexpr Size size{380, 420};
    // Three above the shielding level, read once.
    static int windowLevel();

protected:
    QString shownLogSuffix() const override;
};

} // namespace vesk
