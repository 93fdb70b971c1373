#pragma once

#include "core/Geometry.h"

#include <QString>

#include <set>
#include <vector>

namespace vesk {

// Text forms of the overlay's log lines.

// ["a", "b"], in ascending order.
QString sortedArrayText(const std::set<QString>& items);
// [{{0, 0}, {10, 10}}, {{…}}], in list order.
QString rectArrayText(const std::vector<Rect>& rects);

} // namespace vesk
