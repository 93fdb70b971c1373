#pragma once

#include "platform/x11/GSettingsDesktopFamily.h"
#include "platform/x11/GSettingsKey.h"

#include <QString>

#include <vector>

namespace vesk::platform {

// What stands on a GSettings desktop for one key of a defaults domain that a
// session changes ("com.apple.dock" "mcx-expose-disabled"): the GSettings keys
// that do the same job there, each with the value that blocks it for the
// session ("@as []" for a keybinding, "false" for a switch).
struct GSettingsCounterpart {
    struct Target {
        GSettingsKey key;
        QString blockingValue;
    };

    QString domain;
    QString defaultsKey;
    // The boolean the session writes to the defaults key.
    bool blockingBool = true;
    std::vector<Target> targets;

    // One boolean GSettings key that reads and writes as the defaults key's
    // boolean (inverted where its sense is the opposite).
    bool isToggle() const;
    // The GSettings text of the defaults boolean, and the reverse, for a toggle.
    QString toggleValue(bool defaultsValue) const;
    bool toggleBool(const QString& gsettingsValue) const;

    // Every counterpart the family has, whether or not its schemas are installed.
    static const std::vector<GSettingsCounterpart>& forFamily(GSettingsDesktopFamily family);
    // The GSettings keys any family puts behind the defaults key: the keys a
    // backup of it may name.
    static std::vector<GSettingsKey> knownKeys(const QString& domain, const QString& defaultsKey);
};

} // namespace vesk::platform
