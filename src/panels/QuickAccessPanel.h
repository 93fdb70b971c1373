#pragma once

#include "panels/DismissibleSessionPanel.h"
#include "ui/ImageEffects.h"

#include <QImage>

namespace vesk {

// The panel that hosts the quick-access view: the session's applications and a search to add more. It opens at the
// pointer, takes the keyboard, can be dragged by its background, and closes on Escape or a click outside it.
// It casts a soft shadow, drawn in room around its frame.
class QuickAccessPanel final : public DismissibleSessionPanel {
    Q_OBJECT
public:
    explicit QuickAccessPanel(const PanelEnvironment& environment);

    static constexpr Size size{380, 420};
    // Three above the shielding level, read once.
    static int windowLevel();
    // Under the panel's rounded surface.
    static Shadow surfaceShadow();

protected:
    QString shownLogSuffix() const override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The shadow is drawn once per window size and device pixel ratio, not at every repaint of a tile.
    QImage shadow_;
};

} // namespace vesk
