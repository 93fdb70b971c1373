#pragma once

#include <QColor>
#include <QString>

namespace vesk {

// A colour as Qt style sheets write it: "rgba(236, 234, 227, 255)", for the
// few real controls (text fields, push buttons) that take a style sheet.
QString styleSheetColor(const QColor& color);

} // namespace vesk
