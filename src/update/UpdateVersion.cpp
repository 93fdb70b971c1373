#include "update/UpdateVersion.h"

#include <QRegularExpression>

#include <algorithm>

namespace vesk {

namespace {

bool isDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

QString withoutLeadingZeros(const QString& digits)
{
    qsizetype first = 0;
    while (first + 1 < digits.size() && digits.at(first) == QLatin1Char('0'))
        ++first;
    return digits.mid(first);
}

// Numbers of any length: the longer is the larger, else the first differing digit decides.
std::strong_ordering compareNumbers(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return a.size() <=> b.size();
    const int order = a.compare(b);
    return order <=> 0;
}

std::strong_ordering comparePieces(const QString& a, const QString& b)
{
    const bool aIsNumber = isDigits(a);
    const bool bIsNumber = isDigits(b);
    if (aIsNumber && bIsNumber)
        return compareNumbers(a, b);
    // A number sorts before text, as in "rc.1" against "rc.beta".
    if (aIsNumber != bIsNumber)
        return aIsNumber ? std::strong_ordering::less : std::strong_ordering::greater;
    return a.compare(b) <=> 0;
}

// "rc10.beta" → "rc", "10", ".beta"
QStringList labelPieces(const QString& label)
{
    static const QRegularExpression piece(QStringLiteral("[0-9]+|[^0-9]+"));
    QStringList pieces;
    for (auto match = piece.globalMatch(label); match.hasNext();) {
        const QString text = match.next().captured();
        pieces << (isDigits(text) ? withoutLeadingZeros(text) : text);
    }
    return pieces;
}

} // namespace

std::optional<UpdateVersion> UpdateVersion::parse(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]+(?:\\.[0-9]+)*)(?:-([0-9A-Za-z.]+))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    UpdateVersion version;
    for (const QString& number : match.captured(1).split(QLatin1Char('.')))
        version.numbers_ << withoutLeadingZeros(number);
    while (version.numbers_.size() > 1 && version.numbers_.last() == QLatin1String("0"))
        version.numbers_.removeLast();
    version.preRelease_ = labelPieces(match.captured(2));
    return version;
}

std::strong_ordering UpdateVersion::operator<=>(const UpdateVersion& other) const
{
    const qsizetype count = std::max(numbers_.size(), other.numbers_.size());
    for (qsizetype i = 0; i < count; ++i) {
        const QString a = numbers_.value(i, QStringLiteral("0"));
        const QString b = other.numbers_.value(i, QStringLiteral("0"));
        if (const auto order = compareNumbers(a, b); order != 0)
            return order;
    }
    // The release itself is newer than any of its pre-releases.
    if (preRelease_.isEmpty() != other.preRelease_.isEmpty())
        return preRelease_.isEmpty() ? std::strong_ordering::greater : std::strong_ordering::less;
    const qsizetype pieces = std::min(preRelease_.size(), other.preRelease_.size());
    for (qsizetype i = 0; i < pieces; ++i) {
        if (const auto order = comparePieces(preRelease_.at(i), other.preRelease_.at(i)); order != 0)
            return order;
    }
    return preRelease_.size() <=> other.preRelease_.size();
}

} // namespace vesk
