#pragma once

#include <QString>

#include <optional>

namespace vesk {

constexpr int goalTextCharacterLimit = 80;
constexpr int goalNoteCharacterLimit = 280;

// The first `limit` characters as a user sees them (grapheme clusters), so a
// letter with combining marks or an emoji sequence is never cut apart.
QString prefixOfUserCharacters(const QString& text, int limit);

// The number of characters as a user sees them (grapheme clusters).
int userCharacterCount(const QString& text);

// The text without UTF-16 surrogates that have no partner. They encode no
// character, and the store (UTF-8) could only keep them as another one.
QString withoutLoneSurrogates(const QString& text);

// Without lone surrogates and trimmed of whitespace and line breaks at both
// ends; none when nothing is left; otherwise at most `limit` user-perceived
// characters.
std::optional<QString> trimmedText(const std::optional<QString>& text, int limit);

// The session goal: trimmed, none when empty, at most 80 characters.
inline std::optional<QString> goalRule(const std::optional<QString>& goal)
{
    return trimmedText(goal, goalTextCharacterLimit);
}

// The reflection note: trimmed, none when empty, at most 280 characters.
inline std::optional<QString> noteRule(const std::optional<QString>& note)
{
    return trimmedText(note, goalNoteCharacterLimit);
}

} // namespace vesk
