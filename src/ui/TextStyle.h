#pragma once

#include "ui/VeskFont.h"

#include <QFont>

namespace vesk {

// How a text is set: font, tracking, line limit, shrinking and case.
struct TextStyle {
    QFont font = VeskFont::interface(13);
    // Points added after every character.
    double tracking = 0;
    // At most this many lines; 0 for no limit.
    int lineLimit = 1;
    // A text too long for its lines first shrinks, down to this factor of its
    // size, and only then is cut at the tail with "…".
    double minimumScaleFactor = 1.0;
    bool uppercase = false;
    // Horizontal alignment of each line.
    Qt::Alignment alignment = Qt::AlignLeft;
    // Points added between lines.
    double lineSpacing = 0;
};

} // namespace vesk
