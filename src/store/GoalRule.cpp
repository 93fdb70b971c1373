#include "store/GoalRule.h"

#include <QTextBoundaryFinder>

namespace vesk {

QString prefixOfUserCharacters(const QString& text, int limit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int characters = 0;
    qsizetype end = 0;
    while (characters < limit) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            return text;
        end = next;
        ++characters;
    }
    return text.left(end);
}

int userCharacterCount(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() >= 0)
        ++count;
    return count;
}

QString withoutLoneSurrogates(const QString& text)
{
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text.at(i);
        if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            kept.append(unit);
            kept.append(text.at(++i));
        } else if (!unit.isSurrogate()) {
            kept.append(unit);
        }
    }
    return kept;
}

std::optional<QString> trimmedText(const std::optional<QString>& text, int limit)
{
    if (!text)
        return std::nullopt;
    const QString trimmed = withoutLoneSurrogates(*text).trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    return prefixOfUserCharacters(trimmed, limit);
}

} // namespace vesk
