#pragma once

#include <QtGlobal>

namespace vesk::platform {

// A process of the desktop.
using ProcessID = qint32;
// A window's number in the window list.
using WindowNumber = quint32;
// An installed event tap, and a local or global event monitor.
using EventTapID = int;
using EventMonitorID = int;

} // namespace vesk::platform
