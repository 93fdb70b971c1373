#include "core/TextFormat.h"

#include <charconv>
#include <cmath>
#include <string>

namespace vesk {

QString uuidText(const QUuid& uuid)
{
    return uuid.toString(QUuid::WithoutBraces).toUpper();
}

namespace {

QString quoted(const QString& text)
{
    QString result = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            result += QStringLiteral("\\\"");
            break;
        case '\\':
            result += QStringLiteral("\\\\");
            break;
        case '\n':
            result += QStringLiteral("\\n");
            break;
        case '\r':
            result += QStringLiteral("\\r");
            break;
        case '\t':
            result += QStringLiteral("\\t");
            break;
        case '\0':
            result += QStringLiteral("\\0");
            break;
        default:
            result += c;
        }
    }
    return result + QLatin1Char('"');
}

// The shortest round-trip digits of a finite, non-zero magnitude, and the
// power of ten of the first digit (value = d.ddd × 10^exponent).
struct Digits {
    std::string digits;
    int exponent = 0;
};

Digits shortestDigits(double magnitude)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    const std::string text(buffer, result.ptr);
    const auto e = text.find('e');
    Digits parsed;
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] != '.')
            parsed.digits += text[i];
    }
    parsed.exponent = std::stoi(text.substr(e + 1));
    return parsed;
}

std::string exponentForm(const Digits& d)
{
    std::string text(1, d.digits[0]);
    if (d.digits.size() > 1)
        text += '.' + d.digits.substr(1);
    const int magnitude = std::abs(d.exponent);
    text += d.exponent < 0 ? "e-" : "e+";
    if (magnitude < 10)
        text += '0';
    return text + std::to_string(magnitude);
}

std::string plainForm(const Digits& d)
{
    const int digitCount = static_cast<int>(d.digits.size());
    if (d.exponent < 0)
        return "0." + std::string(static_cast<std::size_t>(-d.exponent - 1), '0') + d.digits;
    const int integerDigits = d.exponent + 1;
    if (integerDigits >= digitCount)
        return d.digits + std::string(static_cast<std::size_t>(integerDigits - digitCount), '0') + ".0";
    return d.digits.substr(0, integerDigits) + '.' + d.digits.substr(integerDigits);
}

} // namespace

QString arrayText(const QStringList& items)
{
    QStringList parts;
    parts.reserve(items.size());
    for (const QString& item : items)
        parts.append(quoted(item));
    return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString doubleText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    const QString sign = std::signbit(value) ? QStringLiteral("-") : QString();
    const double magnitude = std::fabs(value);
    if (std::isinf(magnitude))
        return sign + QStringLiteral("inf");
    if (magnitude == 0)
        return sign + QStringLiteral("0.0");
    const Digits digits = shortestDigits(magnitude);
    const bool exponent = digits.exponent < -4 || magnitude > 9007199254740992.0; // 2^53
    return sign + QString::fromStdString(exponent ? exponentForm(digits) : plainForm(digits));
}

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString rectText(const QRectF& rect)
{
    return QStringLiteral("(%1, %2, %3, %4)")
        .arg(doubleText(rect.x()), doubleText(rect.y()), doubleText(rect.width()), doubleText(rect.height()));
}

QString rectListText(const std::vector<QRectF>& rects)
{
    QStringList parts;
    for (const QRectF& rect : rects)
        parts.append(rectText(rect));
    return QLatin1Char('[') + parts.join(QStringLiteral(", ")) + QLatin1Char(']');
}

} // namespace vesk
