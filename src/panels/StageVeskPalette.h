#pragma once

#include <QColor>

namespace vesk::stagepalette {

// The colours the stage bars paint with.
inline QColor white(double opacity)
{
    return QColor::fromRgbF(1, 1, 1, float(opacity));
}
inline QColor black(double opacity)
{
    return QColor::fromRgbF(0, 0, 0, float(opacity));
}
// The mode and goal orange, sRGB (255, 159, 10).
inline QColor orange(double opacity = 1)
{
    return QColor::fromRgbF(1.0f, 159 / 255.0f, 10 / 255.0f, float(opacity));
}
// The stale-application yellow, sRGB (255, 189, 46).
inline QColor staleYellow()
{
    return QColor(255, 189, 46);
}
// The tile background, sRGB (28, 28, 30).
inline QColor tileGrey(double opacity)
{
    return QColor::fromRgbF(28 / 255.0f, 28 / 255.0f, 30 / 255.0f, float(opacity));
}
// The leave pill's text and background.
inline QColor leaveText()
{
    return QColor::fromRgbF(1.0f, 0.7098f, 0.6941f);
}
inline QColor leaveBackground()
{
    return QColor::fromRgbF(1.0f, 0.2706f, 0.2275f, 0.18f);
}
// The system red under "Apps schliessen".
inline QColor red(double opacity)
{
    return QColor::fromRgbF(1.0f, 0.231f, 0.188f, float(opacity));
}
// The amber of warnings and of the development button.
inline QColor amber()
{
    return QColor::fromRgbF(1.0f, 0.7412f, 0.1804f);
}
// The switches' tint and the "AN" badge.
inline QColor switchTint()
{
    return QColor::fromRgbF(0.2980f, 0.6157f, 0.9608f);
}

} // namespace vesk::stagepalette
