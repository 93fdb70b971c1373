#pragma once

#include <QRectF>
#include <QString>

#include <utility>
#include <vector>

namespace vesk {

// A view that draws several items itself and takes a click on each (the rows
// of a list) names them with their places, in its own coordinates, so that a
// scripted click can find an item by the text it shows.
class TextItemsProviding {
public:
    virtual ~TextItemsProviding() = default;
    virtual std::vector<std::pair<QString, QRectF>> textItems() const = 0;
};

} // namespace vesk
