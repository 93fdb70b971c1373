#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <vector>

namespace vesk {

// Text forms of values as they appear in log messages.

// "0F8C3B9A-...", uppercase, without braces.
QString uuidText(const QUuid& uuid);

// ["a", "b"]: each element quoted, with quotes, backslashes and control
// characters escaped; "[]" when empty.
QString arrayText(const QStringList& items);

// The shortest text that reads back as the same double, always with a
// fractional part in plain notation ("4.0", "0.25", "1.4"); exponent notation
// below 0.0001 and above 2^53 ("1e-05", "1e+16"); "nan", "inf", "-inf".
QString doubleText(double value);

// "true" or "false".
QString boolText(bool value);

// "(1100.0, 621.0, 320.0, 234.0)": x, y, width and height as doubleText writes them.
QString rectText(const QRectF& rect);
// "[(0.0, 0.0, 10.0, 10.0), (…)]", in list order; "[]" when empty.
QString rectListText(const std::vector<QRectF>& rects);

} // namespace vesk
