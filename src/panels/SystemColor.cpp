#include "panels/SystemColor.h"

#include "ui/Gradient.h"

namespace vesk {

QColor systemColor(SystemColor color, double opacity)
{
    switch (color) {
    case SystemColor::green:
        return rgb(48, 209, 88, opacity);
    case SystemColor::orange:
        return rgb(255, 159, 10, opacity);
    case SystemColor::yellow:
        return rgb(255, 214, 10, opacity);
    case SystemColor::cyan:
        return rgb(100, 210, 255, opacity);
    case SystemColor::red:
        return rgb(255, 69, 58, opacity);
    }
    return {};
}

} // namespace vesk
