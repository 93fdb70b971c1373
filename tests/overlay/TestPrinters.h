#pragma once

#include "platform/Geometry.h"

#include <QString>

#include <ostream>

// Readable failure messages for the values these tests compare.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

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
