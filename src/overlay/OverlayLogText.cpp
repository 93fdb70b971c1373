#include "overlay/OverlayLogText.h"

#include "core/TextFormat.h"

#include <QStringList>

namespace vesk {

QString sortedArrayText(const std::set<QString>& items)
{
    return arrayText(QStringList(items.begin(), items.end()));
}

QString rectArrayText(const std::vector<Rect>& rects)
{
    QStringList items;
    for (const Rect& rect : rects)
        items << toString(rect);
    return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
}

} // namespace vesk
