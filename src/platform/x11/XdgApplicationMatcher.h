#pragma once

#include "platform/x11/XdgApplicationCatalog.h"
#include "platform/x11/XdgWindowOwner.h"

#include <QString>

#include <optional>

namespace vesk::platform {

// Which installed application a window belongs to, by the first rule that
// finds one:
// 1. the entry's StartupWMClass is the window's class (then its instance);
// 2. the window's class (then its instance) is the desktop file id, or the
//    id's last dotted component, ignoring case;
// 3. the process runs the entry's program (the same file, the same name of
//    its first argument, or a script of that file under an interpreter) with
//    the entry's fixed arguments first; the entry with most of those wins.
// Among equal candidates an entry shown in menus goes first, then the
// catalogue's order.
class XdgApplicationMatcher {
public:
    // The desktop file id (without ".desktop"); none when no rule finds one.
    static std::optional<QString> match(const XdgApplicationCatalog& catalog, const XdgWindowOwner& owner);
};

} // namespace vesk::platform
