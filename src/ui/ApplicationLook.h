#pragma once

#include "ui/VeskTheme.h"

#include <QPalette>
#include <QString>

class QApplication;

namespace vesk {

// The look of what the toolkit draws outside Vesk's own views: the right-click
// menus, the open lists of the pickers, tooltips and anything else left to
// the platform's style. Set once for the application at start-up, so that no
// window of the dark application opens light.
class ApplicationLook {
public:
    // Vesk's colours as the toolkit's palette roles, all opaque.
    static QPalette palette(const VeskTheme& theme);
    // The menus', picker lists' and tooltips' colours, borders, spacing and
    // (for menus and tooltips) the interface font.
    static QString styleSheet(const VeskTheme& theme);

    // Gives the application the palette and the style sheet.
    static void apply(QApplication& application, const VeskTheme& theme = VeskTheme::shared());
};

} // namespace vesk
