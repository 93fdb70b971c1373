#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace vesk {

// The texts the update panel derives from the update it shows.

// The release notes as lines: list items and line breaks end lines, tags are
// dropped, blank lines left out. Missing notes, or notes that reduce to
// nothing, give the one line "Diese Version enthält Verbesserungen und
// Fehlerbehebungen.". Character entities stay as they are.
QStringList releaseNotesLines(const std::optional<QString>& html);

// `text` without what lies between "<" and ">" (both dropped too); a "<"
// without its ">" drops the rest of the text.
QString stripHTMLTags(const QString& text);

// A byte count in decimal megabytes as a file size reads: "12,3 MB" in
// German, one decimal below 100 MB, whole megabytes from there.
QString megabyteText(std::uint64_t bytes, const QLocale& locale);

// The share of a download in whole percent, halves rounded away from zero;
// no number (not finite) counts as 0.
long long roundedPercent(double progress);

} // namespace vesk
