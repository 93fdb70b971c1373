#pragma once

#include <QColor>

namespace vesk {

// The platform's named colours that the in-session panels draw with, in their
// dark-appearance values (the panels are always dark).
enum class SystemColor { green, orange, yellow, cyan, red };

QColor systemColor(SystemColor color, double opacity = 1.0);

} // namespace vesk
