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

std::optional<QString> trimmedText(const std::optional<QString>& text, int limit)
{
    if (!text)
        return std::nullopt;
    const QString trimmed = text->trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    return prefixOfUserCharacters(trimmed, limit);
}

} // namespace vesk
