#pragma once

#include "QtPrinters.h"
#include "core/Geometry.h"

#include <ostream>

// Readable failure messages for geometry values.

namespace vesk {

inline void PrintTo(const Rect& rect, std::ostream* out)
{
    *out << toString(rect).toStdString();
}

inline void PrintTo(Point point, std::ostream* out)
{
    *out << toString(point).toStdString();
}

} // namespace vesk
