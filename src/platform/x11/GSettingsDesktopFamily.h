#pragma once

#include <QString>

namespace vesk::platform {

// The desktops that keep their window-manager settings in GSettings, each
// with schemas of its own.
enum class GSettingsDesktopFamily { gnome, budgie, cinnamon, mate, other };

// From XDG_CURRENT_DESKTOP, a colon-separated list, most specific first
// ("ubuntu:GNOME", "Budgie:GNOME", "X-Cinnamon"): the first name that is one
// of the families decides.
GSettingsDesktopFamily gsettingsDesktopFamily(const QString& xdgCurrentDesktop);
// "GNOME", "Budgie", "Cinnamon", "MATE", "other".
QString toRaw(GSettingsDesktopFamily family);

} // namespace vesk::platform
