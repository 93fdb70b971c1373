#pragma once

#include <QString>

namespace vesk {

// Where an allowed application's windows are, as the session core decides on it.
enum class AllowedWindowSpaceState { notRunning, hidden, onActiveSpace, minimized, onOtherSpace, noWindows };

QString toRaw(AllowedWindowSpaceState state);

} // namespace vesk
