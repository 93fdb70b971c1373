#pragma once

#include "platform/x11/XdgProcessInfo.h"

#include <QString>

namespace vesk::platform {

// What a window tells of the application that owns it: its WM_CLASS (the
// instance and the class) and the process of its _NET_WM_PID.
struct XdgWindowOwner {
    QString wmClassInstance;
    QString wmClass;
    XdgProcessInfo process;

    bool operator==(const XdgWindowOwner&) const = default;
};

} // namespace vesk::platform
