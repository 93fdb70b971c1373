#pragma once

#include "core/Geometry.h"

#include <QString>

namespace vesk {

// Text forms of the enforcement services' log lines.

// "(100.0, 200.5)": a point as the platform prints one.
QString pointText(Point point);

} // namespace vesk
