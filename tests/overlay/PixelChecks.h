#pragma once

#include <QColor>
#include <QImage>

namespace vesk::test {

inline bool isBlack(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y) == QColor(Qt::black);
}

inline bool isTransparent(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y).alpha() == 0;
}

} // namespace vesk::test
