#pragma once

#include <QColor>
#include <QString>

namespace vesk {

// A colour as a style sheet writes it: "rgba(r, g, b, alpha 0–255)".
inline QString cssColor(const QColor& color)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(color.red())
        .arg(color.green())
        .arg(color.blue())
        .arg(color.alpha());
}

} // namespace vesk
